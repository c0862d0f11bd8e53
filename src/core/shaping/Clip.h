#pragma once

#include "geometry/Vector.h"
#include "geometry/Vector3d.h"
#include "shaping/ShapeGeometry.h"

#include <optional>
#include <vector>

class CMapDoc;
class CMapSolid;

// Cutting solids by a plane. The plane's front is the side its normal points to; a solid
// whose corners all lie on one side (within the clipping tolerance of 0.1) is missed and left
// as it is, so neither piece is ever without volume.

// The plane through three points; none when they lie on one line.
std::optional<ThreePointPlane> ClipPlaneThrough(const Vector3d& p0, const Vector3d& p1,
                                                const Vector3d& p2);
// The plane through the line from a to b of a 2D view, running along the view's depth axis
// (0 x, 1 y, 2 z), so it stands perpendicular to the view. Its normal is (a - b) x d, d the
// depth axis: seen from the positive end of that axis, the front lies to the left of the line
// from a to b. None when a and b coincide seen in the view.
std::optional<ThreePointPlane> ClipPlaneForViewLine(const Vector3d& a, const Vector3d& b,
                                                    int depthAxis);

// Which pieces a clip keeps.
enum class ClipKeep { Front, Back, Both };
// Front, then back, then both, then front again.
ClipKeep NextClipKeep(ClipKeep keep);

// One convex piece as polygons, wound as the polygons of solids are.
using PiecePolygons = std::vector<std::vector<Vector>>;

// How a plane cuts one solid: missed (then the pieces are empty) or cut into a front and a
// back piece.
struct SolidClipPreview {
    const CMapSolid* solid = nullptr;
    bool cut = false;
    PiecePolygons front;
    PiecePolygons back;
};

// The pieces of each solid cut by the plane, for drawing; nothing in the map changes.
std::vector<SolidClipPreview> PreviewClip(const std::vector<const CMapSolid*>& solids,
                                          const ThreePointPlane& plane);

// The solids a clip of the document works on: the selected solids and the visible solids
// inside the selected groups and entities, each once, in selection order.
std::vector<CMapSolid*> SolidsToClip(const CMapDoc& doc);

// What a clip did.
struct ClipResult {
    int clipped = 0; // solids cut and replaced by their pieces
    int missed = 0;  // solids the plane does not cut, left as they were
    int pieces = 0;  // pieces made
    // Solids the plane cuts but whose kept piece could not be built; left as they were.
    int failed = 0;
};

// "Clip": cuts SolidsToClip(doc) by the plane as one undo step. Each cut solid is replaced by
// the kept pieces, in its place among its parent's children (its entity, group or the
// world), with its colour and visgroups; the new face of a piece has the current texture with
// the default alignment, the other faces keep theirs. Pieces of selected solids are selected
// in their place. A plane that cuts nothing leaves the map and its history as they were.
ClipResult OnClip(CMapDoc& doc, const ThreePointPlane& plane, ClipKeep keep);
