#pragma once

#include <iosfwd>

// Exit codes of the batch map check.
enum MapCheckExit { MAP_CHECK_CLEAN = 0, MAP_CHECK_PROBLEMS = 1, MAP_CHECK_UNREADABLE = 2 };

// The batch map check (Tarno --check FILE): reads the map (RMF or MAP by its name), runs the
// problem checks and writes one line per problem to out: the short text, and after ": " the
// object's class (entities) or description (solids). A missing path or a file that cannot be
// read gives a message on err.
int RunMapCheck(const char* path, std::ostream& out, std::ostream& err);
