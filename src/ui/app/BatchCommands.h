#pragma once

#include <cstdio>
#include <optional>

// Runs a batch option if the command line names one and returns the exit code; otherwise
// returns nothing and the editor starts normally. Batch options need no window or display:
//   --info FILE        the Map Information counts and the solids dropped while loading
//   --convert IN OUT   MAP and RMF by the files' extensions
//   --recover-list     the autosaves waiting for recovery: map path, autosave file, time
// Results go to out, messages and failures to err (exit code 0 on success, 1 when a file
// could not be read or written, 2 for a wrong command line).
std::optional<int> RunBatchCommand(int argc, char** argv, std::FILE* out = stdout,
                                   std::FILE* err = stderr);
