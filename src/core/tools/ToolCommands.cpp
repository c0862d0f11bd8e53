#include "tools/ToolCommands.h"

#include "common/ToolId.h"
#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "gamedata/EntityClassDef.h"
#include "gamedata/GameDataSet.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/VisibilityTest.h"
#include "tools/DocumentTools.h"
#include "tools/MapTool.h"
#include "tools/NewObjectBarModel.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kNewEntityColor = (100u << 16) | (0u << 8) | 60u;

bool SolidHit(const CMapSolid& solid, const ViewAxes& axes, const PixelRect& rect) {
    for (const CMapFace& face : solid.Faces()) {
        const Vector* points = face.Points();
        const int count = face.PointCount();
        // Consecutive vertex pairs; the closing edge back to the first is not tested.
        for (int i = 0; i + 1 < count; ++i) {
            if (SegmentHitsRect(TruncClamped(points[i][axes.horizontal]),
                                TruncClamped(points[i][axes.vertical]),
                                TruncClamped(points[i + 1][axes.horizontal]),
                                TruncClamped(points[i + 1][axes.vertical]), rect)) {
                return true;
            }
        }
    }
    return false;
}

std::string EntityClassForNewItem() {
    const std::string& chosen = NewObjectBar().EntityClassName();
    if (!chosen.empty()) {
        return chosen;
    }
    for (const auto& def : DocumentServices::Installed().GameData().Classes()) {
        if (def->IsPointClass()) {
            return def->name;
        }
    }
    return {};
}

} // namespace

void SyncSelectionBox(CMapDoc& doc) {
    ToolBox& box = doc.Tools().selectionBox;
    if (doc.Tools().rubberBand || box.IsDragging()) {
        return;
    }
    box.SetBounds(doc.Selection().Bounds());
    const auto& objects = doc.SelectedObjects();
    box.SetHandlesEnabled(!(objects.size() == 1 && !objects.front()->IsScalable()));
}

bool SegmentHitsRect(int x1, int y1, int x2, int y2, const PixelRect& r) {
    if ((x1 < r.left && x2 < r.left) || (x1 > r.right && x2 > r.right) ||
        (y1 < r.top && y2 < r.top) || (y1 > r.bottom && y2 > r.bottom)) {
        return false;
    }
    auto inside = [&r](int x, int y) {
        return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
    };
    if (inside(x1, y1) || inside(x2, y2)) {
        return true;
    }
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    // Crossing a horizontal line y = c at an x within the rectangle.
    for (int c : {r.top, r.bottom}) {
        if (dy != 0 && (static_cast<long long>(c) - y1) * (static_cast<long long>(c) - y2) <= 0) {
            const long long x = x1 + dx * (static_cast<long long>(c) - y1) / dy;
            if (x >= r.left && x <= r.right) {
                return true;
            }
        }
    }
    for (int c : {r.left, r.right}) {
        if (dx != 0 && (static_cast<long long>(c) - x1) * (static_cast<long long>(c) - x2) <= 0) {
            const long long y = y1 + dy * (static_cast<long long>(c) - x1) / dx;
            if (y >= r.top && y <= r.bottom) {
                return true;
            }
        }
    }
    return false;
}

bool PickAt(CMapDoc& doc, const ViewAxes& axes, float zoom, int x, int y, bool clear) {
    CMapWorld* world = doc.World();
    doc.ClearPickList();
    if (!world) {
        return false;
    }
    const int tolerance = std::max(1, zoom > 0.0f ? TruncClamped(1.0f / zoom) : 1);
    const PixelRect rect{x - tolerance, y - tolerance, x + tolerance, y + tolerance};
    // Point entities are hit on the box they are drawn as (never less than a few pixels), and
    // come first: a light standing on a floor is what a click on its box means.
    View2DTransform pixels;
    pixels.axes = axes;
    pixels.zoom = zoom > 0.0f ? zoom : 1.0f;
    const PixelPoint pointer{pixels.LogicalH(static_cast<float>(x)),
                             pixels.LogicalV(static_cast<float>(y))};
    std::vector<CMapClass*> solids;
    for (CMapClass* object : world->VisibleObjects()) {
        if (object->IsType(kTypeMapSolid)) {
            if (SolidHit(static_cast<const CMapSolid&>(*object), axes, rect)) {
                solids.push_back(object->TopLevelAncestor());
            }
        } else if (object->IsType(kTypeMapEntity) &&
                   static_cast<const CMapEntity*>(object)->IsPointEntity()) {
            const BoundBox& b = object->Bounds();
            const PixelRect drawn = pixels.PointEntityToClient(b);
            if (!b.IsEmpty() && pointer.x >= drawn.left && pointer.x <= drawn.right &&
                pointer.y >= drawn.top && pointer.y <= drawn.bottom) {
                doc.AddToPickList(object->TopLevelAncestor());
            }
        }
    }
    for (CMapClass* object : solids) {
        doc.AddToPickList(object);
    }
    if (doc.PickList().empty()) {
        if (clear) {
            doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
        }
        return false;
    }
    if (clear) {
        doc.SelectObject(nullptr, SELECT_CLEAR);
    }
    doc.SelectObject(doc.PickList().front(), SELECT_ADD | SELECT_UPDATE);
    doc.SetPickIndex(0);
    return true;
}

void ApplySelectionTransform(CMapDoc& doc) {
    const ToolBox& box = doc.Tools().selectionBox;
    if (doc.SelectedObjects().empty()) {
        return;
    }
    Vector probe{1.0f, 2.0f, 3.0f};
    Vector probe2{-7.0f, 11.0f, 5.0f};
    const Vector before1 = probe;
    const Vector before2 = probe2;
    box.TransformPoint(probe);
    box.TransformPoint(probe2);
    if (probe == before1 && probe2 == before2) {
        return; // a drag that ended where it started
    }
    BeginUndoStep(doc, "Translation");
    CUpdateHint hint = SelectionHint(doc);
    hint.box = doc.Selection().Bounds();
    for (CMapClass* object : doc.SelectedObjects()) {
        object->TransformByTool(box);
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
    hint.box.UpdateBounds(doc.Selection().Bounds());
    doc.UpdateAllViews(UPDATE_OBJECTS, &hint);
    doc.SetModified();
}

void SelectInBand(CMapDoc& doc, const BoundBox& band, bool enclosedOnly) {
    CMapWorld* world = doc.World();
    if (!world || band.IsEmpty()) {
        return;
    }
    const std::uint32_t flags = world->DisplayFilterFlags();
    for (CMapClass* child : world->Children()) {
        if (!PassesVisibilityTest(*child, *world, flags)) {
            continue;
        }
        const BoundBox& b = child->Bounds();
        if (b.IsEmpty()) {
            continue;
        }
        bool take = true;
        for (int axis = 0; axis < 3 && take; ++axis) {
            take = enclosedOnly
                       ? (b.mins[axis] >= band.mins[axis] && b.maxs[axis] <= band.maxs[axis])
                       : (b.maxs[axis] > band.mins[axis] && b.mins[axis] < band.maxs[axis]);
        }
        if (take) {
            doc.SelectObject(child, SELECT_ADD);
        }
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
}

CMapClass* CreateObjectWithTool(CMapDoc& doc, int tool) {
    DocumentTools& tools = doc.Tools();
    CMapWorld* world = doc.World();
    if (tools.dragState != DocumentTools::DragNone || !world) {
        return nullptr;
    }
    doc.ToolHandlesNotify(nullptr, 3);
    CMapClass* created = nullptr;
    if (tool == TOOL_BLOCK) {
        if (tools.blockBox.IsEmpty()) {
            return nullptr;
        }
        const BoundBox box = tools.blockBox.Bounds();
        const Vector size = box.Size();
        if (size.x == 0.0f || size.y == 0.0f || size.z == 0.0f) {
            doc.Services().GetPrompts().Message("The box is empty.", Prompts::Icon::Warning);
            tools.blockBox.Reset();
            SyncToolStatus(doc);
            doc.ToolHandlesNotify(nullptr, 2);
            return nullptr;
        }
        BeginUndoStep(doc, "New Object");
        created = NewObjectBar().CreateObject(box);
        if (!created) {
            tools.blockBox.Reset();
            SyncToolStatus(doc);
            doc.ToolHandlesNotify(nullptr, 2);
            return nullptr;
        }
    } else if (tool == TOOL_ENTITY) {
        if (tools.marker.IsEmpty()) {
            return nullptr;
        }
        BeginUndoStep(doc, "New Item");
        auto* entity = new CMapEntity;
        doc.Services().ActiveHistory().KeepNew(entity);
        entity->SetClass(EntityClassForNewItem());
        entity->SetPointEntity(true);
        entity->SetOrigin(tools.marker.Point());
        entity->SetRenderState(RENDER_SET_COLOR, kNewEntityColor);
        created = entity;
    } else {
        return nullptr;
    }
    world->AddChild(created);
    created->CalcBounds(true);
    world->CalcBounds(false);
    world->UpdateVisibleObjects();
    CUpdateHint hint;
    hint.objects.push_back(created);
    hint.box = created->Bounds();
    doc.UpdateAllViews(UPDATE_OBJECTS, &hint);
    tools.blockBox.Reset();
    tools.marker.Reset();
    SyncToolStatus(doc);
    doc.SetModified();
    doc.ToolHandlesNotify(nullptr, 2);
    return created;
}

void SyncToolStatus(CMapDoc& doc) {
    const DocumentTools& tools = doc.Tools();
    if (tools.blockBox.IsEmpty()) {
        doc.blockBox.ResetBounds();
    } else {
        doc.blockBox =
            tools.blockBox.IsDragging() ? tools.blockBox.WorkingBounds() : tools.blockBox.Bounds();
    }
    if (tools.marker.IsEmpty()) {
        doc.entityPoint.reset();
    } else {
        doc.entityPoint = tools.marker.Point();
    }
}

void CancelToolDrag(CMapDoc& doc, int tool) {
    DocumentTools& tools = doc.Tools();
    if (MapTool* object = tools.Find(tool)) {
        object->Cancel(doc);
    }
    if (tools.dragState == DocumentTools::DragNone) {
        return;
    }
    tools.dragState = DocumentTools::DragNone;
    tools.dragOwner = nullptr;
    if (tools.rubberBand && tools.selectionBox.IsEmpty()) {
        tools.rubberBand = false;
        tools.selectionBox.SetRubberBand(false);
    }
}

void ShowToolHint(CMapDoc& doc, bool force) {
    DocumentTools& tools = doc.Tools();
    MapTool* tool = tools.Find(doc.ActiveTool());
    const std::string hint = tool ? tool->Hint(doc) : std::string();
    // A change to the map takes the note away: the hint is shown again after one.
    if (!force && hint == tools.shownHint && doc.ChangeCount() == tools.hintChangeCount) {
        return;
    }
    tools.hintChangeCount = doc.ChangeCount();
    if (!hint.empty()) {
        doc.ShowNote(hint);
    } else if (!tools.shownHint.empty()) {
        doc.ClearNote();
    }
    tools.shownHint = hint;
}
