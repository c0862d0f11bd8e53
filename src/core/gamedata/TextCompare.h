#pragma once

#include <string>
#include <string_view>

// ASCII comparisons for keywords, keys and texture names, which match without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string LowerCaseAscii(std::string_view text);
