#pragma once

#include <string>

// "1 face", "6 faces": a count with its noun in the right number.
inline std::string CountText(long long count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}
