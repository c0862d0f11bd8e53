#pragma once

#include <string>

// Data files named by a relative path (game data, palette, WAD files) live beside the program:
// a relative path is taken relative to Editor().programDirectory (when it is set); absolute
// paths stay as they are.
std::string ResolveProgramPath(const std::string& path);
