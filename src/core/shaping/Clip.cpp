#include "shaping/Clip.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "geometry/Winding.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

// Where a solid lies against the plane: the clipping tolerance keeps slivers from being cut.
bool PlaneCuts(const CMapSolid& solid, const ThreePointPlane& plane) {
    bool front = false;
    bool back = false;
    for (const CMapFace& face : solid.Faces()) {
        for (int i = 0; i < face.PointCount(); ++i) {
            const double d = plane.Distance(Vector3d(face.Point(i)));
            front = front || d > ON_EPSILON;
            back = back || d < -ON_EPSILON;
        }
        if (front && back) {
            return true;
        }
    }
    return false;
}

// The part of the solid's polygons in front of keep, with the cap on the cutting plane.
PiecePolygons PieceOf(const CMapSolid& solid, const Plane& keep) {
    PiecePolygons piece;
    std::vector<Vector> out;
    std::vector<Plane> capPlanes{Plane{-keep.normal, -keep.dist}};
    for (const CMapFace& face : solid.Faces()) {
        if (face.PointCount() == 0) {
            continue;
        }
        capPlanes.push_back(face.GetPlane());
        out.resize(static_cast<std::size_t>(face.PointCount()) + 4);
        int count = 0;
        switch (ClipPolygon(face.Points(), face.PointCount(), keep, out.data(), count)) {
        case ClipOutcome::Kept:
            piece.emplace_back(face.Points(), face.Points() + face.PointCount());
            break;
        case ClipOutcome::Gone:
            break;
        case ClipOutcome::Cut:
            piece.emplace_back(out.begin(), out.begin() + count);
            break;
        }
    }
    std::vector<Vector> cap = PolygonOnPlane(capPlanes, 0);
    if (cap.size() >= 3) {
        piece.push_back(std::move(cap));
    }
    return piece;
}

// A copy of the solid cut by the plane: the part in front of it or the part behind it. The
// new face has the current texture with the default alignment. Null when the piece cannot be
// built as a closed solid with volume (nothing is left of it then).
CMapSolid* MakePiece(const CMapSolid& solid, const ThreePointPlane& plane, bool front) {
    HistoryRecorder& history = DocumentServices::Installed().ActiveHistory();
    auto* piece = static_cast<CMapSolid*>(solid.Clone());
    // The copy is new in this step: undo destroys it, so its changes need no record.
    RecordingPause pause;
    CMapFace cut;
    const auto& p = plane.points;
    // A face's solid lies behind its plane: the front piece gets the plane turned round.
    if (front) {
        cut.SetPlanePoints(p[2], p[1], p[0]);
    } else {
        cut.SetPlanePoints(p[0], p[1], p[2]);
    }
    bool built = piece->AddFace(cut) != nullptr;
    if (built) {
        std::vector<std::string> messages;
        GeometryMessageCapture capture(messages);
        built = piece->BuildFromPlanes();
    }
    if (built) {
        for (int i = piece->FaceCount() - 1; i >= 0; --i) {
            if (piece->Face(i).PointCount() == 0) {
                piece->DeleteFace(i);
            }
        }
        piece->CalcBounds();
        built = piece->FaceCount() >= 4 && piece->IsClosed();
    }
    if (!built) {
        history.KeepForDestruction(piece);
        return nullptr;
    }
    return piece;
}

} // namespace

std::optional<ThreePointPlane> ClipPlaneThrough(const Vector3d& p0, const Vector3d& p1,
                                                const Vector3d& p2) {
    ThreePointPlane plane;
    if (!PlaneThrough(p0, p1, p2, plane)) {
        return std::nullopt;
    }
    return plane;
}

std::optional<ThreePointPlane> ClipPlaneForViewLine(const Vector3d& a, const Vector3d& b,
                                                    int depthAxis) {
    if (depthAxis < 0 || depthAxis > 2) {
        return std::nullopt;
    }
    // A whole number of units along the depth axis keeps the points on the grid.
    Vector3d depth;
    depth[depthAxis] = 64.0;
    return ClipPlaneThrough(a, b, b + depth);
}

ClipKeep NextClipKeep(ClipKeep keep) {
    switch (keep) {
    case ClipKeep::Front:
        return ClipKeep::Back;
    case ClipKeep::Back:
        return ClipKeep::Both;
    case ClipKeep::Both:
        break;
    }
    return ClipKeep::Front;
}

std::vector<SolidClipPreview> PreviewClip(const std::vector<const CMapSolid*>& solids,
                                          const ThreePointPlane& plane) {
    std::vector<SolidClipPreview> previews;
    previews.reserve(solids.size());
    const Plane front = plane.ToFloat();
    const Plane back{-front.normal, -front.dist};
    for (const CMapSolid* solid : solids) {
        SolidClipPreview preview;
        preview.solid = solid;
        if (solid && PlaneCuts(*solid, plane)) {
            preview.cut = true;
            preview.front = PieceOf(*solid, front);
            preview.back = PieceOf(*solid, back);
        }
        previews.push_back(std::move(preview));
    }
    return previews;
}

std::vector<CMapSolid*> SolidsToClip(const CMapDoc& doc) {
    std::vector<CMapSolid*> solids;
    std::unordered_set<const CMapClass*> seen;
    const CMapWorld& world = *doc.World();
    const std::uint32_t flags = world.DisplayFilterFlags();
    // Solids hidden inside a selected group or entity are left alone, as carving does.
    const auto take = [&](CMapClass* object) {
        if (PassesVisibilityTest(*object, world, flags) && seen.insert(object).second) {
            solids.push_back(static_cast<CMapSolid*>(object));
        }
        return true;
    };
    for (CMapClass* object : doc.SelectedObjects()) {
        if (object->IsType(kTypeMapSolid)) {
            take(object);
        } else {
            EnumChildren(*object, take, kTypeMapSolid);
        }
    }
    return solids;
}

ClipResult OnClip(CMapDoc& doc, const ThreePointPlane& plane, ClipKeep keep) {
    ClipResult result;
    const std::vector<CMapSolid*> solids = SolidsToClip(doc);
    std::vector<CMapSolid*> cut;
    for (CMapSolid* solid : solids) {
        if (solid->Parent() && PlaneCuts(*solid, plane)) {
            cut.push_back(solid);
        } else {
            ++result.missed;
        }
    }
    if (cut.empty()) {
        return result;
    }

    const UndoStep step(doc, "Clip");
    HistoryRecorder& history = doc.Services().ActiveHistory();
    CMapWorld& world = *doc.World();
    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    // Emptied first: the cut solids leave the map, and their pieces take their place in it.
    doc.SelectObject(nullptr, SELECT_CLEAR);
    std::unordered_map<const CMapClass*, std::vector<CMapSolid*>> piecesOf;
    std::unordered_set<CMapClass*> changedParents;
    for (CMapSolid* solid : cut) {
        std::vector<CMapSolid*> pieces;
        bool failed = false;
        for (const bool front : {true, false}) {
            if ((front && keep == ClipKeep::Back) || (!front && keep == ClipKeep::Front)) {
                continue;
            }
            if (CMapSolid* piece = MakePiece(*solid, plane, front)) {
                pieces.push_back(piece);
            } else {
                failed = true;
            }
        }
        if (failed) {
            // The solid stays whole rather than lose a part of it.
            for (CMapSolid* piece : pieces) {
                history.KeepForDestruction(piece);
            }
            ++result.failed;
            continue;
        }
        CMapClass* parent = solid->Parent();
        for (CMapSolid* piece : pieces) {
            parent->AddChildBefore(piece, solid);
        }
        parent->RemoveChild(solid, true);
        history.KeepForDestruction(solid);
        changedParents.insert(parent);
        piecesOf[solid] = std::move(pieces);
        ++result.clipped;
        result.pieces += static_cast<int>(piecesOf[solid].size());
    }
    for (CMapClass* parent : changedParents) {
        for (CMapClass* p = parent; p && !p->IsWorld(); p = p->Parent()) {
            p->CalcBounds();
        }
    }
    for (CMapClass* object : selection) {
        const auto found = piecesOf.find(object);
        if (found != piecesOf.end()) {
            for (CMapSolid* piece : found->second) {
                doc.SelectObject(piece, SELECT_ADD);
            }
        } else if (IsInTree(object, &world)) {
            doc.SelectObject(object, SELECT_ADD);
        }
    }
    world.CalcBounds();
    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_OBJECTS);
    if (step.Changed() && result.clipped > 0) {
        doc.SetModified();
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
    return result;
}
