#include "formats/MapTextParts.h"

#include "formats/MapNumbers.h"

#include <cctype>

void AppendMapText(std::string& out, std::string_view text, bool quoted) {
    // A quote or a line break inside a quoted text, or white space inside a texture name,
    // would change how the line reads back.
    const char* breaking = quoted ? "\"\n\r" : " \t\n\r\v\f";
    if (quoted) {
        out += '"';
    }
    if (text.find_first_of(breaking) == std::string_view::npos) {
        out += text;
    } else {
        for (char c : text) {
            if (quoted) {
                out += c == '"' ? '\'' : (c == '\n' || c == '\r' ? ' ' : c);
            } else {
                out += std::isspace(static_cast<unsigned char>(c)) ? '_' : c;
            }
        }
    }
    if (quoted) {
        out += '"';
    }
}

void AppendMapPoint(std::string& out, const Vector3d& p) {
    char text[3 * kMapDoubleRoom + 8];
    char* end = text;
    *end++ = '(';
    for (int axis = 0; axis < 3; ++axis) {
        *end++ = ' ';
        end = WriteMapDouble(end, p[axis]);
    }
    for (const char c : {' ', ')', ' '}) {
        *end++ = c;
    }
    out.append(text, end);
}
