#pragma once

#include "geometry/Vector3d.h"
#include "mapobjects/MapFace.h"

#include <string>
#include <vector>

class CMapDoc;
class CMapSolid;

// Editing a solid by moving its corners.
//
// The handles of a solid are its corners and the midpoints of its edges. Moving a set of them
// by a delta gives a new set of corners (a moved edge midpoint becomes a corner of its own,
// which splits the edge); the solid rebuilt from them is their convex hull. A face whose
// corners no longer lie on one plane is split into planar faces along the hull's edges, which
// run between its corners along whichever diagonals keep the solid convex; faces that come to
// lie on one plane become one.
//
// The move is refused (and the solid stays as it was) when
// - a corner would end up inside the rebuilt solid: moved corners pushed in past the faces
//   around them, or corners left behind by moved ones that bulge out past them; either way the
//   solid would no longer be convex. So would a moved corner that ends up inside a face lying
//   on the plane of one of its own faces (dragged along that plane into the face). A moved
//   corner that ends up flat (on an edge, or inside a face its own faces merge into) simply
//   stops being a corner;
// - the corners enclose no volume (all on one plane or line);
// - a face would bend too slightly to be split into planar faces that hold: corners off its
//   plane by more than 0.01 units (closer ones count as on it) but so little that the faces
//   meet at a very shallow angle, where the solid, built in single precision as all solids
//   are, would get corners a unit or more away from those found in double precision, or fail
//   its face check;
// - the result would have more faces than a solid may have, or a corner out of range.
//
// The rule for a cube's corner pulled outward along the cube's diagonal: accepted. The three
// faces that meet at the corner each fold along their diagonal through the moved corner into
// two triangles, so the cube becomes a solid of nine faces (the three far faces unchanged, six
// triangles). Pulled inward along the diagonal it stays accepted (the faces fold the other
// way, along the diagonals between the corner's neighbours: the corner becomes a shallow
// pyramid) until it reaches the plane through its three neighbours, where the corner is cut
// off by one triangle; past that plane it lies inside the solid and the move is refused.
//
// Faces whose plane does not change are kept as they are (plane points, texture and its
// alignment). A new or changed face takes the texture settings of the old face it comes from;
// a face with its own texture axes keeps them when they can still be laid on it.

enum class HandleKind { Corner, EdgeMidpoint };

// One handle: a corner (corner is its index in the solid's corner list) or an edge's midpoint
// (corner and other are the edge's two corners).
struct VertexHandle {
    HandleKind kind = HandleKind::Corner;
    Vector3d position;
    int corner = 0;
    int other = -1;
};

// The handles of a solid: its corners first, in the order they appear in its face polygons,
// then the midpoints of its edges. Handle indices into this list name handles in the calls
// below; they stay the same while the solid does not change.
std::vector<VertexHandle> VertexHandles(const CMapSolid& solid);

enum class VertexMoveResult {
    Moved,        // the solid was (or would be) rebuilt
    Unchanged,    // nothing moves: no handles, a zero delta, or moves along the faces only
    NotConvex,    // a corner would end up inside the solid
    NotPlanar,    // a face would bend too slightly for a split into planar faces to hold
    NoVolume,     // the corners would lie on one plane or line
    TooManyFaces, // more faces than a solid may have
    OutOfRange,   // a corner would leave the map's range
};

// The status text for a result (empty for Moved and Unchanged).
std::string VertexMoveMessage(VertexMoveResult result);

// What a move of handles gives: the result, its message, and for Moved the rebuilt faces in
// the order the solid gets them, each with its polygon (for drawing a drag).
struct VertexMovePreview {
    VertexMoveResult result = VertexMoveResult::Unchanged;
    std::string message;
    std::vector<CMapFace> faces;
};

// The solid as it would be with the handles (indices into VertexHandles(solid); invalid ones
// are ignored) moved by delta; the solid does not change. The caller snaps delta.
VertexMovePreview PreviewVertexMove(const CMapSolid& solid, const std::vector<int>& handles,
                                    const Vector3d& delta);

// One solid's share of a vertex move.
struct SolidVertexMove {
    CMapSolid* solid = nullptr;
    std::vector<int> handles;
};

// What a vertex move command did: Moved when every solid was rebuilt; otherwise the first
// refusal (with its message and the solid refused), and nothing in the map changed.
struct VertexMoveOutcome {
    VertexMoveResult result = VertexMoveResult::Unchanged;
    std::string message;
    const CMapSolid* refused = nullptr;
};

// "Vertex Move": moves the handles of each solid by delta and rebuilds the solids, as one
// undo step. When any solid refuses the move, no solid changes and no undo step is made; a
// move that changes nothing makes none either. Afterwards the handles of a rebuilt solid are
// those of VertexHandles again: the moved corners are found at their old positions + delta.
VertexMoveOutcome OnVertexMove(CMapDoc& doc, const std::vector<SolidVertexMove>& moves,
                               const Vector3d& delta);
