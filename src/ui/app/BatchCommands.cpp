#include "app/BatchCommands.h"

#include "document/MapCheckCommand.h"

#include <cstdio>
#include <cstring>
#include <iostream>

std::optional<int> RunBatchCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            return RunMapCheck(i + 1 < argc ? argv[i + 1] : nullptr, std::cout, std::cerr);
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--info") == 0 || std::strcmp(argv[i], "--convert") == 0 ||
            std::strcmp(argv[i], "--check") == 0) {
            std::fprintf(stderr, "Tarno: %s is not available in this build yet.\n", argv[i]);
            return 2;
        }
    }
    return std::nullopt;
}
