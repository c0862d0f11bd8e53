#include "editing/Carve.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "editing/VisGroups.h"
#include "geometry/Winding.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

bool PlaneOfFace(const CMapFace& face, Plane& plane) {
    const auto& p = face.PlanePoints();
    Vector3d normal = Cross(p[0] - p[1], p[2] - p[1]);
    if (normal.x == 0.0 && normal.y == 0.0 && normal.z == 0.0) {
        return false;
    }
    normal = normal * (1.0 / Length(normal));
    plane.normal = normal.ToFloat();
    plane.dist = static_cast<float>(Dot(normal, p[1]));
    return true;
}

// Touching boxes do not overlap.
bool BoxesOverlap(const BoundBox& a, const BoundBox& b) {
    for (int axis = 0; axis < 3; ++axis) {
        if (!(a.mins[axis] < b.maxs[axis] && a.maxs[axis] > b.mins[axis])) {
            return false;
        }
    }
    return true;
}

// One carve: the carving solids, the pieces made so far, and the parents that lost a solid.
class CarveRun {
public:
    // fallbackHome takes the pieces of a target root that has no parent.
    CarveRun(CMapClass& targetRoot, CMapClass& fallbackHome)
        : m_targetRoot(targetRoot), m_fallbackHome(fallbackHome),
          m_history(DocumentServices::Installed().ActiveHistory()) {}

    // Splits the target by every face of the carving solid. False when the carving solid does
    // not cut into the target after all: nothing was changed then. Otherwise the target's
    // pieces outside the carving solid are appended to out, and the target is retired.
    bool Split(CMapSolid& target, const CMapSolid& carving, std::vector<CMapSolid*>& out);

    bool IsPiece(CMapSolid* solid) const { return m_pieces.count(solid) != 0; }
    // Where the pieces of a solid belong: the parent that held the original solid they were
    // cut from (an entity keeps its brushes, a group its members).
    CMapClass* HomeOf(CMapSolid& solid) const;
    // A container that gained pieces: its bounds are brought up to date with the others'.
    void NoteChangedContainer(CMapClass* container) { m_formerParents.push_back(container); }
    // Brings the bounds of every container that lost or gained a solid up to date.
    void RecalcFormerParents();

private:
    enum class PieceResult { Made, Empty, Failed };
    // A copy of source cut by the carving face: the part behind it (inside the carver) or,
    // reversed, the part in front of it. Empty when three faces or fewer are left.
    PieceResult MakePiece(const CMapSolid& source, const CMapFace& face, bool reversed,
                          CMapSolid*& piece);
    // An intermediate copy or a cut piece that the map will never hold.
    void Discard(CMapSolid* solid);
    // The target was replaced by its pieces: a piece of this run is discarded; an original
    // solid leaves its parent for good (the undo history keeps it), except the target root,
    // which the caller deals with.
    void Retire(CMapSolid& target);

    CMapClass& m_targetRoot;
    CMapClass& m_fallbackHome;
    HistoryRecorder& m_history;
    std::unordered_set<CMapSolid*> m_pieces;
    std::unordered_map<const CMapSolid*, CMapClass*> m_homes;
    std::vector<CMapClass*> m_formerParents;
};

CarveRun::PieceResult CarveRun::MakePiece(const CMapSolid& source, const CMapFace& face,
                                          bool reversed, CMapSolid*& piece) {
    piece = static_cast<CMapSolid*>(source.Clone());
    CMapFace cut = face;
    cut.ClearPoints();
    cut.SetSelected(false);
    if (reversed) {
        const auto& p = face.PlanePoints();
        cut.SetPlanePoints(p[2], p[1], p[0]);
    }
    bool added;
    {
        // The copy is new in this step: undo destroys it, so its changes need no record.
        RecordingPause pause;
        added = piece->AddFace(cut) != nullptr;
        if (added) {
            piece->CreateFromPlanes();
            for (int i = piece->FaceCount() - 1; i >= 0; --i) {
                if (piece->Face(i).PointCount() == 0) {
                    piece->DeleteFace(i);
                }
            }
            piece->CalcBounds();
        }
    }
    if (!added) {
        Discard(piece);
        piece = nullptr;
        return PieceResult::Failed;
    }
    if (piece->FaceCount() <= 3) {
        Discard(piece);
        piece = nullptr;
        return PieceResult::Empty;
    }
    return PieceResult::Made;
}

void CarveRun::Discard(CMapSolid* solid) {
    m_pieces.erase(solid);
    m_homes.erase(solid);
    m_history.KeepForDestruction(solid);
}

CMapClass* CarveRun::HomeOf(CMapSolid& solid) const {
    auto found = m_homes.find(&solid);
    if (found != m_homes.end()) {
        return found->second;
    }
    return solid.Parent() ? solid.Parent() : &m_fallbackHome;
}

void CarveRun::Retire(CMapSolid& target) {
    if (IsPiece(&target)) {
        Discard(&target);
        return;
    }
    if (&target == &m_targetRoot) {
        return;
    }
    if (CMapClass* parent = target.Parent()) {
        m_formerParents.push_back(parent);
        parent->RemoveChild(&target, true);
    }
    m_history.KeepForDestruction(&target);
}

bool CarveRun::Split(CMapSolid& target, const CMapSolid& carving, std::vector<CMapSolid*>& out) {
    CMapClass* const home = HomeOf(target);
    CMapSolid* remainder = &target;
    std::vector<CMapSolid*> pieces;
    bool failed = false;
    for (const CMapFace& face : carving.Faces()) {
        const PlaneSide side = SideOfFace(*remainder, face);
        if (side == PlaneSide::Behind) {
            continue;
        }
        if (side == PlaneSide::InFront) {
            // The rest lies outside the carving solid. When nothing was cut off yet, the
            // carving solid only touches the target.
            if (remainder == &target) {
                return false;
            }
            pieces.push_back(remainder);
            remainder = nullptr;
            break;
        }
        CMapSolid* outside = nullptr;
        CMapSolid* inside = nullptr;
        if (MakePiece(*remainder, face, true, outside) == PieceResult::Failed ||
            MakePiece(*remainder, face, false, inside) == PieceResult::Failed) {
            if (outside) {
                Discard(outside);
            }
            failed = true;
            break;
        }
        if (outside) {
            pieces.push_back(outside);
        }
        if (remainder != &target) {
            Discard(remainder);
        }
        remainder = inside;
        if (!remainder) {
            break;
        }
    }
    if (failed) {
        // A piece would exceed the faces a solid may have: the target stays whole.
        for (CMapSolid* piece : pieces) {
            Discard(piece);
        }
        if (remainder != &target) {
            Discard(remainder);
        }
        return false;
    }
    // What is left lies inside the carving solid.
    if (remainder && remainder != &target) {
        Discard(remainder);
    }
    for (CMapSolid* piece : pieces) {
        m_pieces.insert(piece);
        m_homes[piece] = home;
        out.push_back(piece);
    }
    Retire(target);
    return true;
}

void CarveRun::RecalcFormerParents() {
    for (CMapClass* parent : m_formerParents) {
        for (CMapClass* p = parent; p && !p->IsWorld(); p = p->Parent()) {
            p->CalcBounds();
        }
    }
}

} // namespace

PlaneSide SideOfFace(const CMapSolid& solid, const CMapFace& carvingFace) {
    Plane plane;
    if (!PlaneOfFace(carvingFace, plane)) {
        return PlaneSide::Behind;
    }
    bool front = false;
    bool back = false;
    for (const CMapFace& face : solid.Faces()) {
        for (int i = 0; i < face.PointCount(); ++i) {
            const float d = DotProduct(face.Point(i), plane.normal) - plane.dist;
            front = front || d > ON_EPSILON;
            back = back || d < -ON_EPSILON;
        }
    }
    if (!front) {
        return PlaneSide::Behind;
    }
    return back ? PlaneSide::Across : PlaneSide::InFront;
}

CMapClass* CMapWorld::Carve(CMapClass* carver, CMapClass* target) {
    if (!carver || !target) {
        return nullptr;
    }
    const std::uint32_t flags = m_filterFlags;

    std::vector<CMapSolid*> carving;
    if (carver->IsType(kTypeMapSolid)) {
        carving.push_back(static_cast<CMapSolid*>(carver));
    }
    EnumChildren(
        *carver,
        [&](CMapClass* solid) {
            if (PassesVisibilityTest(*solid, *this, flags)) {
                carving.push_back(static_cast<CMapSolid*>(solid));
            }
            return true;
        },
        kTypeMapSolid);
    if (carving.empty()) {
        return nullptr;
    }
    const std::unordered_set<const CMapClass*> carvingSet(carving.begin(), carving.end());

    // A carving solid never carves itself or the other carving solids.
    std::vector<CMapSolid*> current;
    if (target->IsType(kTypeMapSolid) && !carvingSet.count(target)) {
        current.push_back(static_cast<CMapSolid*>(target));
    }
    EnumChildren(
        *target,
        [&](CMapClass* solid) {
            if (!carvingSet.count(solid) && PassesVisibilityTest(*solid, *this, flags)) {
                current.push_back(static_cast<CMapSolid*>(solid));
            }
            return true;
        },
        kTypeMapSolid);
    if (current.empty()) {
        return nullptr;
    }

    CarveRun run(*target, *this);
    for (const CMapSolid* solid : carving) {
        const BoundBox box = solid->Bounds();
        std::vector<CMapSolid*> next;
        next.reserve(current.size());
        for (CMapSolid* candidate : current) {
            if (!BoxesOverlap(box, candidate->Bounds()) || !run.Split(*candidate, *solid, next)) {
                next.push_back(candidate);
            }
        }
        current.swap(next);
    }

    // The pieces take the place of the solids they were cut from. An entity keeps them as
    // brushes of its own; the world or a group gets them in one new group when there are
    // several.
    std::vector<std::pair<CMapClass*, std::vector<CMapSolid*>>> piecesByHome;
    for (CMapSolid* solid : current) {
        if (!run.IsPiece(solid)) {
            continue;
        }
        CMapClass* home = run.HomeOf(*solid);
        auto found = std::find_if(piecesByHome.begin(), piecesByHome.end(),
                                  [home](const auto& entry) { return entry.first == home; });
        if (found == piecesByHome.end()) {
            piecesByHome.push_back({home, {solid}});
        } else {
            found->second.push_back(solid);
        }
    }
    CMapClass* firstAttached = nullptr;
    for (auto& [home, pieces] : piecesByHome) {
        std::vector<CMapClass*> attached(pieces.begin(), pieces.end());
        if (pieces.size() >= 2 && !home->IsType(kTypeMapEntity)) {
            auto* group = new CMapGroup;
            DocumentServices::Installed().ActiveHistory().KeepNew(group);
            for (CMapSolid* piece : pieces) {
                group->AddChild(piece);
            }
            group->CalcBounds();
            attached = {group};
        }
        for (CMapClass* object : attached) {
            home->AddChild(object);
            ApplyDefaultVisGroups(*object, *this);
            firstAttached = firstAttached ? firstAttached : object;
        }
        run.NoteChangedContainer(home);
    }
    run.RecalcFormerParents();
    CalcBounds();
    return firstAttached;
}

void OnCarve(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    const UndoStep step(doc, "Carve");
    CMapClass* carver = doc.SelectedObjects().front();
    CMapWorld& world = *doc.World();
    if (world.Children().empty()) {
        return;
    }
    world.Carve(carver, &world);
    // Selected solids that were carved are gone from the map; they leave the selection.
    bool dropped = false;
    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    for (CMapClass* object : selection) {
        if (!IsInTree(object, &world)) {
            doc.SelectObject(object, SELECT_REMOVE);
            dropped = true;
        }
    }
    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_OBJECTS);
    if (step.Changed()) {
        doc.SetModified();
    }
    if (dropped) {
        doc.SelectObject(nullptr, SELECT_UPDATE);
    }
}
