#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Numbers in MAP text.

// Reads a decimal float the way "%f" does (leading white space, optional sign, fraction,
// exponent) from the front of text and removes it. Fails, leaving text as it was, when no
// number is there or it is not a finite float.
bool TakeMapFloat(std::string_view& text, float& value);

// The integer value of a decimal keyvalue such as "angle" or "spawnflags": leading white
// space, optional sign and digits; anything else ends the number. No digits give 0; values
// beyond the 32-bit range are clamped.
std::int32_t ParseMapInteger(std::string_view text);

// Writes a coordinate, shift or angle: a whole number as "%.0f" does, any other value with
// the fewest digits that read back as the same float.
void AppendMapNumber(std::string& out, float value);
// Writes a texture scale with six decimals, as "%.6f" does, unless six decimals would read
// back as another float: then with the fewest digits that read back the same.
void AppendMapFixed6(std::string& out, float value);

// Reads a decimal number as TakeMapFloat does, in double precision (TakeMapDouble, below).
// This is the whole reading, for any number the quick one leaves.
bool TakeMapDoubleInFull(std::string_view& text, double& value);
// Reads a decimal integer (optional sign, digits) that fits 64 bits, ended by white space or
// the end of text.
bool TakeMapInteger(std::string_view& text, long long& value);

// Writes the shortest text that reads back as the same double: 256 as "256",
// -205.25483399593907 as itself. A value that is no number is written as fallback.
void AppendMapDouble(std::string& out, double value, double fallback = 0.0);
// Writes a texture scale with six decimals, as "%.6f" does, unless six decimals would read
// back as another double: then as AppendMapDouble does.
void AppendMapFixed6Double(std::string& out, double value);

// The same into a character buffer with room for at least kMapDoubleRoom, or for
// kMapFixed6Room characters; each returns the end of what it wrote.
inline constexpr std::size_t kMapDoubleRoom = 32;
inline constexpr std::size_t kMapFixed6Room = 400;
char* WriteMapDouble(char* out, double value, double fallback = 0.0);
char* WriteMapFixed6Double(char* out, double value);

namespace map_numbers_detail {
// Powers of ten that are exact in double precision.
inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
} // namespace map_numbers_detail

// Reads a decimal number as TakeMapFloat does, in double precision.
//
// The numbers of face lines are nearly all plain decimals ("-205", "1.000000"): those with at
// most 15 digits are read here. Their digits make a whole number below 2^53, exact in double
// precision, as is the power of ten they are divided by, so the quotient is rounded once:
// the nearest double, as the full reading gives it. Anything else goes to the full reading.
[[gnu::always_inline]] inline bool TakeMapDouble(std::string_view& text, double& value) {
    const char* p = text.data();
    const char* const last = p + text.size();
    while (p < last && (*p == ' ' || *p == '\t')) {
        ++p;
    }
    const bool negative = p < last && *p == '-';
    p += negative ? 1 : 0;
    const char* const whole = p;
    const char* limit = p + (last - p < 15 ? last - p : 15);
    std::uint64_t mantissa = 0;
    for (unsigned digit; p < limit && (digit = static_cast<unsigned char>(*p) - 48u) < 10; ++p) {
        mantissa = mantissa * 10 + digit;
    }
    int digits = static_cast<int>(p - whole);
    int fraction = 0;
    if (p < last && *p == '.') {
        const char* const fractionStart = ++p;
        limit = p + (last - p < 15 - digits ? last - p : 15 - digits);
        for (unsigned digit; p < limit && (digit = static_cast<unsigned char>(*p) - 48u) < 10;
             ++p) {
            mantissa = mantissa * 10 + digit;
        }
        fraction = static_cast<int>(p - fractionStart);
        digits += fraction;
    }
    // A number ends at white space, a bracket or the end of the line; anything else (more
    // digits, an exponent, another point) is for the full reading.
    if (digits == 0 || (p < last && *p != ' ' && *p != ')' && *p != ']' && *p != '\t')) {
        return TakeMapDoubleInFull(text, value);
    }
    double number = static_cast<double>(mantissa);
    if (fraction > 0) {
        number /= map_numbers_detail::kPowersOfTen[fraction];
    }
    value = negative ? -number : number;
    text.remove_prefix(static_cast<std::size_t>(p - text.data()));
    return true;
}
