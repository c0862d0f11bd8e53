#pragma once

#include "mapobjects/MapDialect.h"

#include <span>
#include <string_view>

class FaceLineReader;
class FaceLineWriter;

// A MAP dialect as the MAP text reader and writer know it.
struct MapDialectFormat {
    MapDialect dialect;
    // The world's "mapversion" value that marks a file of this dialect (also looked for in a
    // "// Format:" comment); empty when the dialect has none.
    std::string_view mapVersion;
    // The export dialog's filter for writing a MAP file in this dialect.
    std::string_view exportFilter;
    const FaceLineReader& reader;
    const FaceLineWriter& writer;
};

// Every dialect, in the order the reader asks them to recognize a face line: the standard
// dialect, which takes any line, comes last. A new dialect is a MapDialect value, a face-line
// reader and writer, and an entry here (which also offers it in the export dialog).
std::span<const MapDialectFormat> MapDialectFormats();
// The entry of dialect; the standard one for a value without an entry.
const MapDialectFormat& MapDialectFormatOf(MapDialect dialect);
// True when dialect has an entry (a stored dialect byte names a known dialect).
bool IsKnownMapDialect(int value);
