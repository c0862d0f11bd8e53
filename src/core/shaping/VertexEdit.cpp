#include "shaping/VertexEdit.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "geometry/Winding.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "shaping/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace {

// The corners of a solid, the faces each lies on (indices into the solid's faces) and the
// edges between them.
struct SolidTopology {
    std::vector<Vector3d> corners;
    std::vector<std::vector<int>> cornerFaces;
    std::vector<std::pair<int, int>> edges;
};

int FindCorner(const std::vector<Vector3d>& corners, const Vector3d& p) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (Length(corners[i] - p) <= kShapeTolerance) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Found from the faces' planes in double precision, so corners are where the planes meet.
SolidTopology TopologyOf(const CMapSolid& solid) {
    SolidTopology topology;
    std::vector<char> valid;
    const std::vector<ThreePointPlane> all = FacePlanes(solid, valid);
    // A repeated plane takes no part, as in the solid's own build.
    std::vector<ThreePointPlane> planes;
    std::vector<int> faceOf;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool repeated =
            std::any_of(planes.begin(), planes.end(), [&all, i](const ThreePointPlane& p) {
                return p.normal == all[i].normal && p.dist == all[i].dist;
            });
        if (valid[i] && !repeated) {
            planes.push_back(all[i]);
            faceOf.push_back(static_cast<int>(i));
        }
    }
    std::set<std::pair<int, int>> edges;
    for (std::size_t k = 0; k < planes.size(); ++k) {
        const int f = faceOf[k];
        std::vector<int> loop;
        for (const Vector3d& p : ExactPolygon(planes, k)) {
            int corner = FindCorner(topology.corners, p);
            if (corner < 0) {
                corner = static_cast<int>(topology.corners.size());
                topology.corners.push_back(p);
                topology.cornerFaces.emplace_back();
            }
            std::vector<int>& faces = topology.cornerFaces[static_cast<std::size_t>(corner)];
            if (faces.empty() || faces.back() != f) {
                faces.push_back(f);
            }
            if (loop.empty() || loop.back() != corner) {
                loop.push_back(corner);
            }
        }
        while (loop.size() > 1 && loop.front() == loop.back()) {
            loop.pop_back();
        }
        for (std::size_t i = 0; loop.size() >= 2 && i < loop.size(); ++i) {
            const int a = loop[i];
            const int b = loop[(i + 1) % loop.size()];
            if (edges.insert({std::min(a, b), std::max(a, b)}).second) {
                topology.edges.emplace_back(std::min(a, b), std::max(a, b));
            }
        }
    }
    return topology;
}

// A point of the moved solid: where it is, the old faces it lies on, and whether an old
// corner stays there (then it must stay a corner).
struct MovedPoint {
    Vector3d position;
    std::vector<int> faces;
    bool fixed = false;
};

// The plane of a face's plane points as the solid builds it.
bool FacePlane(const CMapFace& face, ThreePointPlane& plane) {
    const auto& p = face.PlanePoints();
    return PlaneThrough(p[0], p[1], p[2], plane);
}

Plane BuildPlane(const ThreePointPlane& plane) {
    return plane.ToFloat();
}

// Polygon corners farther than this from every point they were built from mean that planes
// meeting at a shallow angle moved a corner away from where it was put.
constexpr double kCornerDrift = 0.05;

// How far the corners of the solid as built in single precision may lie from those found in
// double precision.
constexpr double kBuildDrift = 1.0;

// The index of the point nearest to p, or -1 when none lies within tolerance.
int NearestPoint(const std::vector<MovedPoint>& points, const Vector3d& p, double tolerance) {
    int best = -1;
    double bestDistance = tolerance;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = Length(points[i].position - p);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// True when p lies inside the convex polygon (on its plane, whose normal is given), farther
// than the tolerance from each of its edges.
bool StrictlyInside(const std::vector<Vector3d>& polygon, const Vector3d& normal,
                    const Vector3d& p) {
    int sign = 0;
    for (std::size_t k = 0; k < polygon.size(); ++k) {
        const Vector3d& a = polygon[k];
        const Vector3d edge = polygon[(k + 1) % polygon.size()] - a;
        const double length = Length(edge);
        if (!(length > 0.0)) {
            continue;
        }
        const double d = Dot(Cross(edge, p - a), normal) / length;
        if (std::fabs(d) <= kShapeTolerance) {
            return false;
        }
        const int side = d > 0.0 ? 1 : -1;
        if (sign != 0 && side != sign) {
            return false;
        }
        sign = side;
    }
    return sign != 0;
}

VertexMovePreview Refusal(VertexMoveResult result) {
    VertexMovePreview preview;
    preview.result = result;
    preview.message = VertexMoveMessage(result);
    return preview;
}

} // namespace

std::vector<VertexHandle> VertexHandles(const CMapSolid& solid) {
    const SolidTopology topology = TopologyOf(solid);
    std::vector<VertexHandle> handles;
    handles.reserve(topology.corners.size() + topology.edges.size());
    for (std::size_t i = 0; i < topology.corners.size(); ++i) {
        handles.push_back({HandleKind::Corner, topology.corners[i], static_cast<int>(i), -1});
    }
    for (const auto& [a, b] : topology.edges) {
        const Vector3d mid = (topology.corners[static_cast<std::size_t>(a)] +
                              topology.corners[static_cast<std::size_t>(b)]) *
                             0.5;
        handles.push_back({HandleKind::EdgeMidpoint, mid, a, b});
    }
    return handles;
}

std::string VertexMoveMessage(VertexMoveResult result) {
    switch (result) {
    case VertexMoveResult::Moved:
    case VertexMoveResult::Unchanged:
        return {};
    case VertexMoveResult::NotConvex:
        return "The solid would no longer be convex there; the vertices go back.";
    case VertexMoveResult::NotPlanar:
        return "A face would bend too slightly to be split into flat faces that hold; the "
               "vertices go back.";
    case VertexMoveResult::NoVolume:
        return "The solid would be left without volume; the vertices go back.";
    case VertexMoveResult::TooManyFaces:
        return "The solid would get more than 126 faces; the vertices go back.";
    case VertexMoveResult::OutOfRange:
        return "A vertex would leave the map's range; the vertices go back.";
    }
    return {};
}

VertexMovePreview PreviewVertexMove(const CMapSolid& solid, const std::vector<int>& handles,
                                    const Vector3d& delta) {
    const SolidTopology topology = TopologyOf(solid);
    const int cornerCount = static_cast<int>(topology.corners.size());
    const int handleCount = cornerCount + static_cast<int>(topology.edges.size());
    std::vector<char> movedCorner(topology.corners.size(), 0);
    std::vector<int> movedEdges;
    for (int handle : handles) {
        if (handle < 0 || handle >= handleCount) {
            continue;
        }
        if (handle < cornerCount) {
            movedCorner[static_cast<std::size_t>(handle)] = 1;
        } else if (std::find(movedEdges.begin(), movedEdges.end(), handle - cornerCount) ==
                   movedEdges.end()) {
            movedEdges.push_back(handle - cornerCount);
        }
    }
    const bool anyHandle = !movedEdges.empty() || std::find(movedCorner.begin(), movedCorner.end(),
                                                            1) != movedCorner.end();
    if (!anyHandle || (delta.x == 0.0 && delta.y == 0.0 && delta.z == 0.0) || !IsFinite(delta) ||
        cornerCount < 4) {
        return VertexMovePreview{};
    }

    // The corners after the move, and a new corner for each moved edge midpoint; points that
    // come together become one, on the faces of both.
    std::vector<MovedPoint> raw;
    for (int i = 0; i < cornerCount; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        raw.push_back({movedCorner[k] ? topology.corners[k] + delta : topology.corners[k],
                       topology.cornerFaces[k], movedCorner[k] == 0});
    }
    for (int e : movedEdges) {
        const auto [a, b] = topology.edges[static_cast<std::size_t>(e)];
        const std::vector<int>& facesA = topology.cornerFaces[static_cast<std::size_t>(a)];
        const std::vector<int>& facesB = topology.cornerFaces[static_cast<std::size_t>(b)];
        MovedPoint point;
        point.position = (topology.corners[static_cast<std::size_t>(a)] +
                          topology.corners[static_cast<std::size_t>(b)]) *
                             0.5 +
                         delta;
        for (int f : facesA) {
            if (std::find(facesB.begin(), facesB.end(), f) != facesB.end()) {
                point.faces.push_back(f);
            }
        }
        raw.push_back(std::move(point));
    }
    std::vector<MovedPoint> points;
    for (MovedPoint& point : raw) {
        for (int axis = 0; axis < 3; ++axis) {
            if (!(std::fabs(point.position[axis]) <= BASE_POLY_HALF_SIZE)) {
                return Refusal(VertexMoveResult::OutOfRange);
            }
        }
        auto same = std::find_if(points.begin(), points.end(), [&point](const MovedPoint& p) {
            return Length(p.position - point.position) <= kShapeTolerance;
        });
        if (same == points.end()) {
            points.push_back(std::move(point));
            continue;
        }
        for (int f : point.faces) {
            if (std::find(same->faces.begin(), same->faces.end(), f) == same->faces.end()) {
                same->faces.push_back(f);
            }
        }
        same->fixed = same->fixed || point.fixed;
    }

    std::vector<Vector3d> positions;
    positions.reserve(points.size());
    for (const MovedPoint& point : points) {
        positions.push_back(point.position);
    }
    std::vector<HullFace> hull;
    if (!ConvexHullFaces(positions, hull)) {
        return Refusal(VertexMoveResult::NoVolume);
    }
    if (static_cast<int>(hull.size()) > CMapSolid::kMaxFaces) {
        return Refusal(VertexMoveResult::TooManyFaces);
    }
    // Every point must stay on the surface: one inside the hull makes a dent there.
    std::vector<char> onSurface(points.size(), 0);
    for (const HullFace& face : hull) {
        for (int corner : face.corners) {
            onSurface[static_cast<std::size_t>(corner)] = 1;
        }
    }
    if (std::find(onSurface.begin(), onSurface.end(), 0) != onSurface.end()) {
        return Refusal(VertexMoveResult::NotConvex);
    }

    // The faces: an old face whose plane is unchanged is kept as it is; a new one takes the
    // texture of the old face its corners share (or, for faces that merged, of the first).
    std::vector<ThreePointPlane> oldPlanes(static_cast<std::size_t>(solid.FaceCount()));
    std::vector<char> oldPlaneValid(oldPlanes.size(), 0);
    for (int f = 0; f < solid.FaceCount(); ++f) {
        oldPlaneValid[static_cast<std::size_t>(f)] =
            FacePlane(solid.Face(f), oldPlanes[static_cast<std::size_t>(f)]) ? 1 : 0;
    }
    struct Made {
        int source = 0;
        bool kept = false;
        CMapFace face;
    };
    std::vector<Made> made;
    std::vector<char> oldUsed(oldPlanes.size(), 0);
    bool changed = false;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const ThreePointPlane& plane = hull[i].plane;
        int same = -1;
        for (std::size_t f = 0; f < oldPlanes.size() && same < 0; ++f) {
            if (oldPlaneValid[f] && !oldUsed[f] &&
                Dot(oldPlanes[f].normal, plane.normal) > 1.0 - 1e-9 &&
                std::fabs(oldPlanes[f].dist - plane.dist) <= kShapeTolerance) {
                same = static_cast<int>(f);
            }
        }
        if (same >= 0) {
            oldUsed[static_cast<std::size_t>(same)] = 1;
            made.push_back({same, true, solid.Face(same)});
            continue;
        }
        changed = true;
        // The old face shared by the most corners of the new one.
        const std::vector<int>& corners = hull[i].corners;
        int source = -1;
        std::size_t bestCount = 0;
        for (int f = 0; f < solid.FaceCount(); ++f) {
            const std::size_t count = static_cast<std::size_t>(
                std::count_if(corners.begin(), corners.end(), [&points, f](int c) {
                    const std::vector<int>& faces = points[static_cast<std::size_t>(c)].faces;
                    return std::find(faces.begin(), faces.end(), f) != faces.end();
                }));
            if (count > bestCount) {
                bestCount = count;
                source = f;
            }
        }
        CMapFace face = source >= 0 ? solid.Face(source) : CMapFace();
        face.ClearPoints();
        face.SetSelected(false);
        face.SetPlanePoints(plane.points[0], plane.points[1], plane.points[2]);
        face.CalcPlane();
        face.KeepAxesUsable();
        made.push_back({std::max(source, 0), false, std::move(face)});
    }
    if (!changed && std::find(oldUsed.begin(), oldUsed.end(), 0) == oldUsed.end()) {
        return VertexMovePreview{};
    }
    // Faces in the order of the old faces they come from, a kept one before its splits.
    std::stable_sort(made.begin(), made.end(), [](const Made& a, const Made& b) {
        return a.source != b.source ? a.source < b.source : a.kept && !b.kept;
    });

    // The polygons in double precision; faces left without one are left out.
    std::vector<ThreePointPlane> finalPlanes;
    finalPlanes.reserve(made.size());
    for (const Made& m : made) {
        ThreePointPlane plane;
        FacePlane(m.face, plane);
        finalPlanes.push_back(plane);
    }
    std::vector<Plane> buildPlanes;
    std::vector<std::vector<Vector3d>> polygons;
    std::vector<std::size_t> keptFaces;
    for (std::size_t i = 0; i < made.size(); ++i) {
        std::vector<Vector3d> exact = ExactPolygon(finalPlanes, i);
        if (exact.size() >= 3) {
            buildPlanes.push_back(BuildPlane(finalPlanes[i]));
            polygons.push_back(std::move(exact));
            keptFaces.push_back(i);
        }
    }
    if (keptFaces.size() < 4) {
        return Refusal(VertexMoveResult::NoVolume);
    }
    // A corner that did not move must stay a corner: where it would not, the faces around it
    // would have to fold inwards. Every corner must be one of the points.
    std::vector<char> isCorner(points.size(), 0);
    for (const std::vector<Vector3d>& polygon : polygons) {
        for (const Vector3d& p : polygon) {
            const int nearest = NearestPoint(points, p, kCornerDrift);
            if (nearest < 0) {
                return Refusal(VertexMoveResult::NotPlanar);
            }
            isCorner[static_cast<std::size_t>(nearest)] = 1;
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].fixed && !isCorner[i]) {
            return Refusal(VertexMoveResult::NotConvex);
        }
    }
    // A moved corner that is no corner of the result may lie flat: on an edge, or in a face
    // its own faces merged into (a corner pushed onto the plane of its neighbours). But one
    // that lies inside a face on the plane of one of its own old faces was pushed into that
    // face, which would have to bend inwards around it.
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (isCorner[i]) {
            continue;
        }
        const MovedPoint& point = points[i];
        for (std::size_t k = 0; k < polygons.size(); ++k) {
            const ThreePointPlane& plane = finalPlanes[keptFaces[k]];
            const bool ownPlane = std::any_of(point.faces.begin(), point.faces.end(), [&](int f) {
                const std::size_t old = static_cast<std::size_t>(f);
                return oldPlaneValid[old] &&
                       Dot(oldPlanes[old].normal, plane.normal) > 1.0 - 1e-9 &&
                       std::fabs(oldPlanes[old].dist - plane.dist) <= kShapeTolerance;
            });
            if (ownPlane && StrictlyInside(polygons[k], plane.normal, point.position)) {
                return Refusal(VertexMoveResult::NotConvex);
            }
        }
    }

    VertexMovePreview preview;
    preview.result = VertexMoveResult::Moved;
    preview.faces.reserve(keptFaces.size());
    for (std::size_t k = 0; k < keptFaces.size(); ++k) {
        std::vector<Vector> polygon;
        polygon.reserve(polygons[k].size());
        for (const Vector3d& p : polygons[k]) {
            polygon.push_back(p.ToFloat());
        }
        // The solid is built in single precision, which cuts polygons with a tolerance of a
        // tenth of a unit: where faces meet at so shallow an angle that its polygons would
        // not be the solid's, or fail its check, the move is refused.
        std::vector<std::string> messages;
        std::vector<Vector> built;
        bool sound;
        {
            GeometryMessageCapture capture(messages);
            built = PolygonOnPlane(buildPlanes, k);
            sound = CheckFace(polygon.data(), static_cast<int>(polygon.size()), buildPlanes[k]) &&
                    CheckFace(built.data(), static_cast<int>(built.size()), buildPlanes[k]);
        }
        // Each corner of one polygon must lie near a corner of the other.
        const auto near = [](const Vector3d& p, const std::vector<Vector3d>& corners) {
            return std::any_of(corners.begin(), corners.end(),
                               [&p](const Vector3d& c) { return Length(c - p) <= kBuildDrift; });
        };
        std::vector<Vector3d> builtCorners(built.begin(), built.end());
        for (const Vector3d& p : builtCorners) {
            sound = sound && near(p, polygons[k]);
        }
        for (const Vector3d& p : polygons[k]) {
            sound = sound && near(p, builtCorners);
        }
        if (!sound) {
            return Refusal(VertexMoveResult::NotPlanar);
        }
        CMapFace face = std::move(made[keptFaces[k]].face);
        face.StorePolygon(polygon.data(), static_cast<int>(polygon.size()));
        preview.faces.push_back(std::move(face));
    }
    return preview;
}

VertexMoveOutcome OnVertexMove(CMapDoc& doc, const std::vector<SolidVertexMove>& moves,
                               const Vector3d& delta) {
    VertexMoveOutcome outcome;
    std::vector<std::pair<CMapSolid*, std::vector<CMapFace>>> rebuilt;
    for (const SolidVertexMove& move : moves) {
        if (!move.solid) {
            continue;
        }
        VertexMovePreview preview = PreviewVertexMove(*move.solid, move.handles, delta);
        if (preview.result == VertexMoveResult::Unchanged) {
            continue;
        }
        if (preview.result != VertexMoveResult::Moved) {
            outcome.result = preview.result;
            outcome.message = preview.message;
            outcome.refused = move.solid;
            return outcome;
        }
        rebuilt.emplace_back(move.solid, std::move(preview.faces));
    }
    if (rebuilt.empty()) {
        return outcome;
    }

    const UndoStep step(doc, "Vertex Move");
    HistoryRecorder& history = doc.Services().ActiveHistory();
    for (auto& [solid, faces] : rebuilt) {
        history.Keep(solid);
        const FaceList old = solid->Faces();
        solid->SetFaceCount(0);
        for (const CMapFace& face : faces) {
            solid->AddFace(face);
        }
        if (solid->CreateFromPlanes()) {
            // The faces get the polygons found in double precision, which put the corners
            // exactly where the handles went.
            if (solid->FaceCount() == static_cast<int>(faces.size())) {
                for (int i = 0; i < solid->FaceCount(); ++i) {
                    const CMapFace& exact = faces[static_cast<std::size_t>(i)];
                    solid->Face(i).StorePolygon(exact.Points(), exact.PointCount());
                }
            }
        } else {
            // The preview checks what the build checks, so this is not expected; should it
            // happen all the same, the solid gets its faces back rather than stay broken.
            solid->SetFaceCount(0);
            for (const CMapFace& face : old) {
                solid->AddFace(face);
            }
            solid->CreateFromPlanes();
            outcome.result = VertexMoveResult::NotPlanar;
            outcome.message = VertexMoveMessage(outcome.result);
            outcome.refused = solid;
        }
        for (int i = solid->FaceCount() - 1; i >= 0; --i) {
            if (solid->Face(i).PointCount() == 0) {
                solid->DeleteFace(i);
            }
        }
        solid->CalcBounds();
        solid->SetNeedsRebuild(true);
        for (CMapClass* p = solid->Parent(); p && !p->IsWorld(); p = p->Parent()) {
            p->CalcBounds();
        }
    }
    doc.World()->CalcBounds();
    doc.UpdateAllViews(UPDATE_OBJECTS);
    if (step.Changed()) {
        doc.SetModified();
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
    if (!outcome.refused) {
        outcome.result = VertexMoveResult::Moved;
    }
    return outcome;
}
