#include "formats/AxisFaceLineReader.h"

#include "formats/FaceLineText.h"
#include "formats/FileResult.h"
#include "formats/MapObjectAccess.h"
#include "formats/MapTextParts.h"
#include "mapobjects/MapFace.h"

#include <cmath>

namespace {
// Texture axes that lay no texture: either is zero (or no number) or both are parallel.
bool AxesSpanPlane(const TextureAxes& axes) {
    const double across = Length(Cross(axes.u, axes.v));
    return across > 1e-9 * Length(axes.u) * Length(axes.v) && std::isfinite(across);
}

// Reads the numbers in order up to the first that is missing; the rest keep their values.
bool ReadFields(FaceLineText& text, double (&n)[11]) {
    int next = 0;
    for (int bracket = 0; bracket < 2; ++bracket) {
        if (!text.TakeLiteral('[')) {
            return false;
        }
        for (int i = 0; i < 4; ++i) {
            if (!text.TakeNumber(n[next])) {
                return false;
            }
            ++next;
        }
        if (!text.TakeLiteral(']')) {
            return false;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (!text.TakeNumber(n[next])) {
            return false;
        }
        ++next;
    }
    return true;
}
} // namespace

bool AxisFaceLineReader::Recognizes(std::string_view afterName) const {
    SkipMapSpace(afterName);
    return !afterName.empty() && afterName.front() == '[';
}

bool AxisFaceLineReader::Read(FaceLineText& text, CMapFace& face, int line,
                              FileResult& result) const {
    // u (3), u shift, v (3), v shift, rotation, x scale, y scale.
    double n[11] = {0.0,          0.0, 0.0,           face.ShiftX(),   0.0,
                    0.0,          0.0, face.ShiftY(), face.Rotation(), face.ScaleX(),
                    face.ScaleY()};
    const bool complete = ReadFields(text, n);
    const TextureAxes axes{{n[0], n[1], n[2]}, {n[4], n[5], n[6]}};
    face.SetAxes(axes);
    face.SetShift(n[3], n[7]);
    MapObjectAccess::StoreRotation(face, n[8]);
    face.SetScale(n[9], n[10]);
    if (complete && (!AxesSpanPlane(axes) || face.ScaleX() == 0.0 || face.ScaleY() == 0.0)) {
        // Kept as the file has them and written back so; shown as the classic projection
        // lays the texture (a zero scale counts as 1).
        result.Add(AxesSpanPlane(axes) ? FileDiagnosticKind::ZeroTextureScale
                                       : FileDiagnosticKind::DegenerateTextureAxes,
                   line);
    }
    return complete;
}
