#include "formats/MapNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
bool IsSpace(char c) {
    // Every white space character is at most a space.
    return c <= ' ' && (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f');
}
} // namespace

namespace {
// Powers of ten up to 10^22, all exact in double precision (and up to 10^10 in single).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a decimal digit; 10 or more for any other character.
unsigned DigitValue(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'};
}

// True when c cannot continue a number that from_chars reads: the plain decimal read before
// it is the whole number.
bool EndsPlainNumber(char c) {
    if (c == ' ') {
        return true;
    }
    switch (c) {
    case '.':
    case 'e':
    case 'E':
    case 'x':
    case 'X':
    case 'p':
    case 'P':
    case 'n':
    case 'N':
    case 'i':
    case 'I':
        return false;
    default:
        return !IsDigit(c);
    }
}

// Reads one number of type Number. Plain decimals ("-205", "1.000000") whose digits, read as
// a whole number, are exact in Number, with at most maxFraction decimals (10^maxFraction is
// exact too), are read directly: the quotient of two exact numbers is rounded once, so it is
// the nearest Number, as from_chars gives it. Anything else goes to from_chars.
template <typename Number, std::uint64_t maxMantissa, int maxFraction>
bool TakeMapNumber(std::string_view& text, Number& value) {
    const char* p = text.data();
    const char* const last = p + text.size();
    while (p < last && IsSpace(*p)) {
        ++p;
    }
    // from_chars takes a leading minus but no plus.
    if (p < last && *p == '+') {
        ++p;
        if (p < last && *p == '-') {
            return false;
        }
    }
    const char* const first = p;
    {
        const bool negative = p < last && *p == '-';
        p += negative ? 1 : 0;
        // 19 digits always fit 64 bits.
        const char* const digitsEnd = p + std::min<std::ptrdiff_t>(last - p, 19);
        std::uint64_t mantissa = 0;
        const char* const whole = p;
        for (unsigned digit; p < digitsEnd && (digit = DigitValue(*p)) < 10; ++p) {
            mantissa = mantissa * 10 + digit;
        }
        int digits = static_cast<int>(p - whole);
        int fraction = 0;
        if (p < last && *p == '.') {
            ++p;
            const char* const fractionStart = p;
            const char* const fractionEnd = p + std::min<std::ptrdiff_t>(last - p, 19 - digits);
            for (unsigned digit; p < fractionEnd && (digit = DigitValue(*p)) < 10; ++p) {
                mantissa = mantissa * 10 + digit;
            }
            fraction = static_cast<int>(p - fractionStart);
            digits += fraction;
        }
        if (digits > 0 && (p == last || EndsPlainNumber(*p)) && mantissa <= maxMantissa &&
            fraction <= maxFraction) {
            Number number = static_cast<Number>(mantissa);
            if (fraction > 0) {
                number /= static_cast<Number>(kExactPowersOfTen[fraction]);
            }
            value = negative ? -number : number;
            text.remove_prefix(static_cast<std::size_t>(p - text.data()));
            return true;
        }
    }
    Number parsed = 0;
    auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}
} // namespace

bool TakeMapFloat(std::string_view& text, float& value) {
    // Whole numbers up to 2^24 and powers of ten up to 10^10 are exact floats.
    return TakeMapNumber<float, std::uint64_t{1} << 24, 10>(text, value);
}

std::int32_t ParseMapInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
    }
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(result);
}

void AppendMapNumber(std::string& out, float value) {
    char buffer[64];
    if (std::isfinite(value) && value == std::trunc(value)) {
        if (std::fabs(value) < 1e18f) {
            const auto whole = static_cast<long long>(value);
            if (whole == 0 && std::signbit(value)) {
                out += "-0";
                return;
            }
            auto result = std::to_chars(buffer, buffer + sizeof buffer, whole);
            out.append(buffer, result.ptr);
            return;
        }
        const int length = std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
        out.append(buffer, static_cast<std::size_t>(length));
        return;
    }
    // Not whole: below 2^23 in size, or a tiny fraction (at most 48 characters).
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, result.ptr);
}

void AppendMapFixed6(std::string& out, float value) {
    // The largest float has 39 digits before the point: 47 characters at most.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                std::chars_format::fixed, 6);
    float back = 0.0f;
    std::from_chars(buffer, result.ptr, back);
    if (back != value && std::isfinite(value)) {
        // Six decimals would change the value: the fewest digits that keep it.
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    }
    out.append(buffer, result.ptr);
}

bool TakeMapDoubleInFull(std::string_view& text, double& value) {
    // Whole numbers up to 2^53 and powers of ten up to 10^22 are exact doubles.
    return TakeMapNumber<double, std::uint64_t{1} << 53, 22>(text, value);
}

bool TakeMapInteger(std::string_view& text, long long& value) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first < last && *first == '+') {
        ++first;
    }
    long long parsed = 0;
    auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || (end < last && !IsSpace(*end))) {
        return false;
    }
    value = parsed;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

namespace {
// Writes the digits of magnitude (below 2^63) to the end of buffer; returns where they begin.
char* WriteDigits(char* end, std::uint64_t magnitude) {
    do {
        *--end = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return end;
}
} // namespace

char* WriteMapDouble(char* out, double value, double fallback) {
    if (!std::isfinite(value)) {
        value = fallback;
    }
    // Whole numbers of up to five digits, which the shortest form writes plainly (with six
    // digits or more a power of ten can be shorter), are written directly.
    if (value > -100000.0 && value < 100000.0) {
        const auto whole = static_cast<std::int32_t>(value);
        if (static_cast<double>(whole) == value) {
            if (std::signbit(value)) {
                *out++ = '-';
            }
            auto magnitude = static_cast<std::uint32_t>(whole < 0 ? -whole : whole);
            const int length = magnitude >= 10000  ? 5
                               : magnitude >= 1000 ? 4
                               : magnitude >= 100  ? 3
                               : magnitude >= 10   ? 2
                                                   : 1;
            char* const end = out + length;
            char* digit = end;
            // Two digits at a time.
            static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                             "25262728293031323334353637383940414243444546474849"
                                             "50515253545556575859606162636465666768697071727374"
                                             "75767778798081828384858687888990919293949596979899";
            while (magnitude >= 10) {
                const std::uint32_t pair = magnitude % 100 * 2;
                magnitude /= 100;
                *--digit = kPairs[pair + 1];
                *--digit = kPairs[pair];
            }
            if (digit > out) {
                *--digit = static_cast<char>('0' + magnitude);
            }
            return end;
        }
    }
    // The shortest round-trip form is at most 24 characters.
    return std::to_chars(out, out + kMapDoubleRoom, value).ptr;
}

void AppendMapDouble(std::string& out, double value, double fallback) {
    char buffer[kMapDoubleRoom];
    out.append(buffer, WriteMapDouble(buffer, value, fallback));
}

char* WriteMapFixed6Double(char* out, double value) {
    if (!std::isfinite(value)) {
        value = 1.0;
    }
    // A value that is a whole number of millionths (within far less than half of one) is
    // written from that number; it reads back as itself when that number over 10^6 is it.
    const double millionths = value * 1e6;
    if (std::fabs(millionths) < 4503599627370496.0 && millionths == std::trunc(millionths) &&
        millionths / 1e6 == value) {
        char text[32];
        char* const end = text + sizeof text;
        char* first = WriteDigits(end, static_cast<std::uint64_t>(std::fabs(millionths)));
        // At least one digit before the point.
        while (end - first < 7) {
            *--first = '0';
        }
        if (std::signbit(value)) {
            *out++ = '-';
        }
        char* const point = end - 6;
        for (; first < point; ++first) {
            *out++ = *first;
        }
        *out++ = '.';
        for (; first < end; ++first) {
            *out++ = *first;
        }
        return out;
    }
    if (std::fabs(value) < 1e300) {
        const auto result =
            std::to_chars(out, out + kMapFixed6Room, value, std::chars_format::fixed, 6);
        double back = 0.0;
        std::from_chars(out, result.ptr, back);
        if (back == value) {
            return result.ptr;
        }
    }
    return WriteMapDouble(out, value);
}

void AppendMapFixed6Double(std::string& out, double value) {
    char buffer[kMapFixed6Room];
    out.append(buffer, WriteMapFixed6Double(buffer, value));
}
