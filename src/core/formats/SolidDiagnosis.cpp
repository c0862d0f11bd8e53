#include "formats/SolidDiagnosis.h"

#include "geometry/Winding.h"
#include "mapobjects/MapSolid.h"

#include <cmath>

namespace {
constexpr int kMinimumFaces = 4;

bool OutOfRange(const Vector& v) {
    return std::fabs(v.x) > BOGUS_RANGE || std::fabs(v.y) > BOGUS_RANGE ||
           std::fabs(v.z) > BOGUS_RANGE;
}
} // namespace

std::string DescribeUnbuildableSolid(const FacePlanePoints& planes, const CMapSolid& solid) {
    const int count = static_cast<int>(planes.size());
    if (count < kMinimumFaces) {
        return "it has " + std::to_string(count) + (count == 1 ? " face" : " faces") +
               "; a solid needs at least 4";
    }
    // A face whose points lie on one line takes no part, which can leave the rest unclosed.
    int lineFace = 0;
    for (int i = 0; i < count; ++i) {
        const auto& p = planes[static_cast<std::size_t>(i)];
        const Vector3d normal = Cross(p[0] - p[1], p[2] - p[1]);
        if (!IsFinite(p[0]) || !IsFinite(p[1]) || !IsFinite(p[2]) || !IsFinite(normal)) {
            return "its face " + std::to_string(i + 1) + " has a point too large to compute with";
        }
        if (lineFace == 0 && normal.x == 0.0 && normal.y == 0.0 && normal.z == 0.0) {
            lineFace = i + 1;
        }
    }
    const std::string onALine = lineFace == 0
                                    ? std::string()
                                    : "its face " + std::to_string(lineFace) +
                                          " has three points on one line, so it has no plane, and ";
    bool anyPolygon = false;
    bool open = false;
    for (const CMapFace& face : solid.Faces()) {
        anyPolygon = anyPolygon || face.PointCount() > 0;
        for (int k = 0; k < face.PointCount(); ++k) {
            open = open || OutOfRange(face.Points()[k]);
        }
    }
    if (!anyPolygon) {
        return onALine + (lineFace == 0 ? "its faces" : "the other faces") +
               " enclose no space (a face may point the wrong way)";
    }
    if (open) {
        return onALine + (lineFace == 0 ? "its faces" : "the other faces") +
               " leave it open on some side";
    }
    return onALine + "some of its faces are so close or so nearly parallel that a face has no "
                     "proper shape";
}
