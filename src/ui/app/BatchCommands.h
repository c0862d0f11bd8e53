#pragma once

#include <optional>

// Runs a batch option (--info, --convert, --check) if the command line names one and returns
// the exit code; otherwise returns nothing and the editor starts normally.
std::optional<int> RunBatchCommand(int argc, char** argv);
