#include "formats/MapNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

namespace {
// Reads one number of type Number; small whole numbers of up to maxDigits digits (which the
// type holds exactly) are read directly, the rest by from_chars.
template <typename Number, typename Whole, int maxDigits>
bool TakeMapNumber(std::string_view& text, Number& value) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    // from_chars takes a leading minus but no plus.
    if (i < text.size() && text[i] == '+') {
        ++i;
        if (i < text.size() && text[i] == '-') {
            return false;
        }
    }
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    {
        const char* p = first;
        const bool negative = p < last && *p == '-';
        p += negative ? 1 : 0;
        Whole whole = 0;
        const char* digits = p;
        while (p < last && *p >= '0' && *p <= '9' && p - digits < maxDigits) {
            whole = whole * 10 + (*p - '0');
            ++p;
        }
        const bool ends = p == last || !((*p >= '0' && *p <= '9') || *p == '.' || *p == 'e' ||
                                         *p == 'E' || *p == 'x' || *p == 'X' || *p == 'n' ||
                                         *p == 'N' || *p == 'i' || *p == 'I');
        if (p > digits && ends) {
            value = negative ? -static_cast<Number>(whole) : static_cast<Number>(whole);
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
    // An integer below 2^24 converts to float exactly.
    return TakeMapNumber<float, std::int32_t, 7>(text, value);
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

bool TakeMapDouble(std::string_view& text, double& value) {
    return TakeMapNumber<double, std::int64_t, 15>(text, value);
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

void AppendMapDouble(std::string& out, double value, double fallback) {
    if (!std::isfinite(value)) {
        value = fallback;
    }
    // The shortest round-trip form is at most 24 characters.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendMapFixed6Double(std::string& out, double value) {
    if (!std::isfinite(value)) {
        value = 1.0;
    }
    char buffer[400];
    if (std::fabs(value) < 1e300) {
        auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
        double back = 0.0;
        std::from_chars(buffer, result.ptr, back);
        if (back == value) {
            out.append(buffer, result.ptr);
            return;
        }
    }
    AppendMapDouble(out, value);
}
