#include "formats/AxisFaceLineWriter.h"

#include "formats/MapNumbers.h"
#include "mapobjects/MapFace.h"

namespace {
void AppendAxis(std::string& out, const Vector3d& axis, double shift) {
    out += "[ ";
    AppendMapDouble(out, axis.x);
    out += ' ';
    AppendMapDouble(out, axis.y);
    out += ' ';
    AppendMapDouble(out, axis.z);
    out += ' ';
    AppendMapDouble(out, shift);
    out += " ] ";
}
} // namespace

void AxisFaceLineWriter::Write(std::string& out, const CMapFace& face, const FacePosition&,
                               FileResult&) const {
    const TextureAxes axes = face.CompilerAxes();
    AppendAxis(out, axes.u, face.ShiftX());
    AppendAxis(out, axes.v, face.ShiftY());
    AppendMapDouble(out, face.Rotation());
    out += ' ';
    AppendMapDouble(out, face.ScaleX(), 1.0);
    out += ' ';
    AppendMapDouble(out, face.ScaleY(), 1.0);
}
