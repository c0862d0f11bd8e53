#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Errors collected while building solids (object id, message, value), shown after a MAP load.
struct ErrorRecord {
    std::uint32_t objectId = 0;
    std::string message;
    int value = 0;
};

using ErrorList = std::vector<ErrorRecord>;
