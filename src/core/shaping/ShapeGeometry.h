#pragma once

#include "geometry/Plane.h"
#include "geometry/Vector.h"
#include "geometry/Vector3d.h"

#include <array>
#include <vector>

class CMapSolid;

// Geometry shared by clipping and vertex editing, in double precision where points come from
// the grid.

// Distance below which a point counts as lying on a plane, and two corners as one.
constexpr double kShapeTolerance = 0.01;

// A plane given the way faces give theirs: three points, the front being the side that
// (p0 - p1) x (p2 - p1) points to; normal and dist follow from the points.
struct ThreePointPlane {
    std::array<Vector3d, 3> points{};
    Vector3d normal;
    double dist = 0.0;

    double Distance(const Vector3d& p) const { return Dot(normal, p) - dist; }
    Plane ToFloat() const { return Plane{normal.ToFloat(), static_cast<float>(dist)}; }
};

// The plane through p0, p1 and p2; false when they do not span one (on one line, or not
// finite numbers).
bool PlaneThrough(const Vector3d& p0, const Vector3d& p1, const Vector3d& p2,
                  ThreePointPlane& plane);

// One face of a convex hull: the corners that lie on it (indices of the hull's points, in no
// particular order) and its outward plane through three of them, spread as widely as the
// hull's triangles allow.
struct HullFace {
    std::vector<int> corners;
    ThreePointPlane plane;
};

// The convex hull of points as planar faces: coplanar triangles (within the tolerance) are
// joined into one face. False when the points enclose no volume (all on one plane or line).
bool ConvexHullFaces(const std::vector<Vector3d>& points, std::vector<HullFace>& faces);

// The polygon on planes[index] inside every other plane (behind each), found the way solids
// build theirs: a large square on the plane cut by the others, points within 0.01 of a whole
// unit moved onto it. Empty when nothing is left. For drawing previews.
std::vector<Vector> PolygonOnPlane(const std::vector<Plane>& planes, std::size_t index);

// The same in double precision with a tight tolerance, wound as solids wind theirs: planes
// that meet at a shallow angle still give the corners where they meet, where the solids'
// single-precision polygons can be off by a unit or more. Empty when nothing is left.
std::vector<Vector3d> ExactPolygon(const std::vector<ThreePointPlane>& planes, std::size_t index);

// The planes of a solid's faces from their plane points; valid[i] is false for a face whose
// points span no plane (its plane is then left zero).
std::vector<ThreePointPlane> FacePlanes(const CMapSolid& solid, std::vector<char>& valid);
