#include "formats/AxisFaceLineWriter.h"

#include "formats/MapNumbers.h"
#include "mapobjects/MapFace.h"

namespace {
char* WriteAxis(char* out, const Vector3d& axis, double shift) {
    *out++ = '[';
    for (int i = 0; i < 3; ++i) {
        *out++ = ' ';
        out = WriteMapDouble(out, axis[i]);
    }
    *out++ = ' ';
    out = WriteMapDouble(out, shift);
    for (const char c : {' ', ']', ' '}) {
        *out++ = c;
    }
    return out;
}
} // namespace

void AxisFaceLineWriter::Write(std::string& out, const CMapFace& face, const FacePosition&,
                               FileResult&) const {
    const TextureAxes axes = face.CompilerAxes();
    char text[11 * kMapDoubleRoom + 24];
    char* end = WriteAxis(text, axes.u, face.ShiftX());
    end = WriteAxis(end, axes.v, face.ShiftY());
    end = WriteMapDouble(end, face.Rotation());
    *end++ = ' ';
    end = WriteMapDouble(end, face.ScaleX(), 1.0);
    *end++ = ' ';
    end = WriteMapDouble(end, face.ScaleY(), 1.0);
    out.append(text, end);
}
