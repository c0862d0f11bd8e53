#pragma once

#include "formats/MapNumbers.h"
#include "formats/MapTextParts.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The text of one face line being read, field by field from the front.
//
// A map holds hundreds of thousands of face lines, so their fields are read with as few tests
// per character as can be: the line is copied with a NUL after it, which ends every run of
// digits, blanks or name characters, so the loops need not also watch for the end of the
// line. The fields read are those TakeMapDoubleInFull, a bracket after white space, and a run
// of characters up to white space (IsMapSpace) would read from the same text.
class FaceLineText {
public:
    explicit FaceLineText(std::string_view line) {
        char* copy = m_short;
        if (line.size() >= sizeof m_short) {
            m_long.assign(line);
            copy = m_long.data();
        } else {
            std::memcpy(m_short, line.data(), line.size());
            m_short[line.size()] = '\0';
        }
        m_next = copy;
        m_end = copy + line.size();
    }
    FaceLineText(const FaceLineText&) = delete;
    FaceLineText& operator=(const FaceLineText&) = delete;

    // What is left of the line.
    std::string_view Rest() const { return {m_next, static_cast<std::size_t>(m_end - m_next)}; }

    // A number, as TakeMapDoubleInFull reads it.
    //
    // The numbers of face lines are nearly all plain decimals ("-205", "1.000000"): those with
    // at most 15 digits are read here. Their digits make a whole number below 2^53, exact in
    // double precision, as is the power of ten they are divided by, so the quotient is rounded
    // once: the nearest double, as the full reading gives it. Anything else goes to the full
    // reading.
    [[gnu::always_inline]] bool TakeNumber(double& value) {
        const char* p = m_next;
        // Fields are mostly one blank apart.
        p += *p == ' ' ? 1 : 0;
        while (*p == ' ' || *p == '\t') {
            ++p;
        }
        const bool negative = *p == '-';
        p += negative ? 1 : 0;
        const char* const whole = p;
        std::uint64_t mantissa = 0;
        for (unsigned digit; (digit = static_cast<unsigned char>(*p) - 48u) < 10; ++p) {
            mantissa = mantissa * 10 + digit;
        }
        std::ptrdiff_t digits = p - whole;
        // The fraction's zeros at its end are left out ("1.000000" is 1): the quotient is the
        // same number, and a whole one needs no division.
        std::ptrdiff_t fraction = 0;
        if (*p == '.' && m_end - p > 6 && std::memcmp(p + 1, "000000", 6) == 0 &&
            static_cast<unsigned char>(p[7]) - 48u >= 10) {
            // Six zeros, as "%.6f" writes scales and shifts ("1.000000"), in one step.
            p += 7;
            digits += 6;
        } else if (*p == '.') {
            const char* const fractionStart = ++p;
            std::uint64_t kept = mantissa;
            for (unsigned digit; (digit = static_cast<unsigned char>(*p) - 48u) < 10; ++p) {
                mantissa = mantissa * 10 + digit;
                if (digit != 0) {
                    kept = mantissa;
                    fraction = p + 1 - fractionStart;
                }
            }
            digits += p - fractionStart;
            mantissa = kept;
        }
        // Up to 15 digits the mantissa is exact; a number ends at white space, a bracket or
        // the end of the line. Anything else is for the full reading.
        if (digits == 0 || digits > 15 || !EndsNumber(p)) {
            std::string_view rest = Rest();
            if (!TakeMapDoubleInFull(rest, value)) {
                return false;
            }
            m_next = rest.data();
            return true;
        }
        // Below 2^50, so as a signed number it converts in one step.
        double number = static_cast<double>(static_cast<std::int64_t>(mantissa));
        if (fraction > 0) {
            number /= kPowersOfTen[fraction];
        }
        value = negative ? -number : number;
        m_next = p;
        return true;
    }

    // Takes c after any white space; false (the white space taken) otherwise.
    bool TakeLiteral(char c) {
        SkipSpace();
        if (m_next == m_end || *m_next != c) {
            return false;
        }
        ++m_next;
        return true;
    }

    // The run of characters up to the next white space, after any white space; empty at the
    // end of the line.
    std::string_view TakeWord() {
        SkipSpace();
        const char* p = m_next;
        // A NUL in the line is part of the word; only the one after the line ends it.
        while (!IsMapSpace(*p) && (*p != '\0' || p != m_end)) {
            ++p;
        }
        const std::string_view word(m_next, static_cast<std::size_t>(p - m_next));
        m_next = p;
        return word;
    }

private:
    // Powers of ten that are exact in double precision.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

    // A blank, tab, closing bracket or the end of the line.
    bool EndsNumber(const char* p) const {
        const unsigned char c = static_cast<unsigned char>(*p);
        return (c <= ' ' && (c == ' ' || c == '\t' || p == m_end)) || c == ')' || c == ']';
    }
    void SkipSpace() {
        while (IsMapSpace(*m_next)) {
            ++m_next;
        }
    }

    // Lines shorter than this are copied here; longer ones to m_long.
    char m_short[240];
    std::string m_long;
    const char* m_next;
    const char* m_end;
};
