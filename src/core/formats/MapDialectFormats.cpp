#include "formats/MapDialectFormats.h"

#include "formats/AxisFaceLineReader.h"
#include "formats/AxisFaceLineWriter.h"
#include "formats/StandardFaceLineReader.h"
#include "formats/StandardFaceLineWriter.h"

#include <array>

namespace {
const AxisFaceLineReader kAxisReader;
const AxisFaceLineWriter kAxisWriter;
const StandardFaceLineReader kStandardReader;
const StandardFaceLineWriter kStandardWriter;

const std::array<MapDialectFormat, 2> kFormats = {{
    {MapDialect::TextureAxes, "220", "Quake Maps, 220 dialect with texture axes (*.map)",
     kAxisReader, kAxisWriter},
    {MapDialect::Standard, "", "Quake Maps (*.map)", kStandardReader, kStandardWriter},
}};
} // namespace

std::span<const MapDialectFormat> MapDialectFormats() {
    return kFormats;
}

const MapDialectFormat& MapDialectFormatOf(MapDialect dialect) {
    for (const MapDialectFormat& format : kFormats) {
        if (format.dialect == dialect) {
            return format;
        }
    }
    return kFormats.back();
}

bool IsKnownMapDialect(int value) {
    for (const MapDialectFormat& format : kFormats) {
        if (static_cast<int>(format.dialect) == value) {
            return true;
        }
    }
    return false;
}
