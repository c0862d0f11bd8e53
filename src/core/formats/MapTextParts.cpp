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
    out += "( ";
    AppendMapDouble(out, p.x);
    out += ' ';
    AppendMapDouble(out, p.y);
    out += ' ';
    AppendMapDouble(out, p.z);
    out += " ) ";
}
