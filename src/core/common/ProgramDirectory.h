#pragma once

#include <string>

// Data files named by a relative path (game data, palette, WAD files) live beside the program:
// a relative path is taken relative to the installed services' programDirectory (when it is set);
// absolute paths stay as they are.
std::string ResolveProgramPath(const std::string& path);

// The file whose presence marks a folder as holding the shipped data.
inline constexpr const char* kShippedDataMarker = "quake.ymx";

// The program directory for a Tarno found in executableDirectory. In the build tree and in an
// installer's destination the data lies beside the program, and that folder is the answer.
// A system install puts the program in <prefix>/bin and its data in <prefix>/share/brickhaven:
// when the folder beside the program has no shipped data but installedDataDirectory (taken
// relative to executableDirectory unless absolute) has, that folder is the answer, without
// "..". With neither, the executable's folder stays the answer, so messages name it.
std::string ChooseProgramDirectory(const std::string& executableDirectory,
                                   const std::string& installedDataDirectory);

// The folder of the running executable (from /proc/self/exe); empty when it can't be read.
std::string RunningExecutableDirectory();
