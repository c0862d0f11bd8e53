#pragma once

#include <cstdio>
#include <optional>
#include <string>

// Tarno's program directory (where its shipped data is read from) for an executable in
// executableDirectory: that folder itself, or the system install's data folder relative to it.
std::string TarnoProgramDirectory(const std::string& executableDirectory);

// Runs a batch option if the command line names one and returns the exit code; otherwise
// returns nothing and the editor starts normally. Batch options need no window or display:
//   --info FILE        the Map Information counts and the solids dropped while loading
//   --convert IN OUT   MAP and RMF by the files' extensions
//   --recover-list     the autosaves waiting for recovery: map path, autosave file, time
//   --help, --version  the command line's help text, the version line (both exit 0)
// Results go to out, messages and failures to err (exit code 0 on success, 1 when a file
// could not be read or written, 2 for a wrong command line).
std::optional<int> RunBatchCommand(int argc, char** argv, std::FILE* out = stdout,
                                   std::FILE* err = stderr);
