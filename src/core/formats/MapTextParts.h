#pragma once

#include "geometry/Vector3d.h"

#include <string>
#include <string_view>

// Pieces of MAP text shared by the readers and writers of every dialect.

// Written in place of an empty texture name, which a face line cannot hold: the texture
// field would stay empty and the reader would take the next number for the name.
inline constexpr char kMapEmptyTextureName[] = "NOTEXTURE";

// A blank, a tab, a line feed, a vertical tab, a form feed or a carriage return (9 to 13).
inline bool IsMapSpace(char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') < 5;
}
inline void SkipMapSpace(std::string_view& text) {
    std::size_t skip = 0;
    while (skip < text.size() && IsMapSpace(text[skip])) {
        ++skip;
    }
    text.remove_prefix(skip);
}

// A key, value or texture name made safe for a MAP line.
void AppendMapText(std::string& out, std::string_view text, bool quoted);
// "( x y z ) ".
void AppendMapPoint(std::string& out, const Vector3d& p);
