#include "tools/SelectionTool.h"

#include "document/MapDoc.h"
#include "tools/DocumentTools.h"
#include "tools/ToolCommands.h"

#include <cstdlib>

namespace {

constexpr int kRubberBandThreshold = 4;
// The rubber band reaches through the whole map along the axis the view looks along.
constexpr float kBandDepth = 1.0e6f;

} // namespace

ToolObject* SelectionTool::Object(CMapDoc& doc) {
    return &doc.Tools().selectionBox;
}

void SelectionTool::Prepare(ToolContext& context) {
    ObjectTool::Prepare(context);
    SyncSelectionBox(context.doc);
}

int SelectionTool::ExistingDragState() const {
    return DocumentTools::DragExisting;
}

bool SelectionTool::ShiftTogglesConstraint(CMapDoc& doc) const {
    return doc.Tools().selectionBox.HandleMode() == ToolBox::HandlesRotate;
}

void SelectionTool::DropRubberBand(ToolContext& context) {
    DocumentTools& tools = context.doc.Tools();
    tools.rubberBand = false;
    tools.selectionBox.SetRubberBand(false);
    tools.selectionBox.Reset();
    SyncSelectionBox(context.doc);
    context.RedrawEverywhere();
}

void SelectionTool::LeftDown(ToolContext& context, int x, int y, ToolKeys keys) {
    CMapDoc& doc = context.doc;
    DocumentTools& tools = doc.Tools();
    ToolBox& box = tools.selectionBox;
    const View2DTransform transform = context.Transform();
    const PixelPoint world = transform.ClientToWorld(x, y);
    if (tools.rubberBand) {
        if (box.StartDrag(world.x, world.y)) {
            BeginDrag(context, DocumentTools::DragExisting);
            return;
        }
        DropRubberBand(context);
    }
    bool& picked = context.press.picked;
    if (keys.ctrl) {
        picked = PickAt(doc, transform.axes, transform.zoom, world.x, world.y, false);
    } else if (doc.Selection().IsEmpty()) {
        picked = PickAt(doc, transform.axes, transform.zoom, world.x, world.y, true);
    } else if (box.StartDrag(world.x, world.y)) {
        BeginDrag(context, DocumentTools::DragExisting);
    } else if (box.HitTest(world.x, world.y, false) == -1) {
        picked = PickAt(doc, transform.axes, transform.zoom, world.x, world.y, true);
    }
}

bool SelectionTool::MoveStartsOther(ToolContext& context, int x, int y, ToolKeys keys,
                                    bool leftDown) {
    DocumentTools& tools = context.doc.Tools();
    const ToolPress& press = context.press;
    if (tools.dragState != DocumentTools::DragNone || press.picked || !press.leftDown ||
        !leftDown ||
        (std::abs(x - press.x) <= kRubberBandThreshold &&
         std::abs(y - press.y) <= kRubberBandThreshold)) {
        return false;
    }
    const View2DTransform transform = context.Transform();
    const PixelPoint world = transform.ClientToWorld(x, y);
    context.host.ShowToolCursor(ToolCursor::Cross);
    tools.dragState = DocumentTools::DragNew;
    tools.dragOwner = context.view;
    context.host.ToolFeedbackChanged();
    tools.rubberBand = true;
    tools.selectionBox.SetRubberBand(true);
    tools.selectionBox.StartNewAt(context.host.ClickTo3D(press.x, press.y));
    BoundBox band = tools.selectionBox.Bounds();
    band.mins[transform.axes.third] = -kBandDepth;
    band.maxs[transform.axes.third] = kBandDepth;
    tools.selectionBox.SetDepth(band.mins[transform.axes.third], band.maxs[transform.axes.third]);
    tools.selectionBox.UpdateDrag(world.x, world.y, keys.alt ? TOOLDRAG_NO_SNAP : 0);
    context.RedrawEverywhere();
    return true;
}

void SelectionTool::ClickOnSelectionBox(ToolContext& context, PixelPoint world) {
    ToolBox& box = context.doc.Tools().selectionBox;
    if (!box.IsEmpty() && box.HitTest(world.x, world.y, false) != -1) {
        box.CycleHandleMode();
        context.RedrawEverywhere();
    }
}

void SelectionTool::DragEnded(ToolContext& context, PixelPoint world) {
    if (context.doc.Tools().rubberBand) {
        return;
    }
    const ToolPress& press = context.press;
    if (!press.moved && !press.picked) {
        ClickOnSelectionBox(context, world);
    } else if (press.moved && !press.picked) {
        ApplySelectionTransform(context.doc);
    }
    SyncSelectionBox(context.doc);
}

void SelectionTool::ReleasedWithoutDrag(ToolContext& context, PixelPoint world) {
    const ToolPress& press = context.press;
    if (press.leftDown && !press.picked && !press.moved) {
        ClickOnSelectionBox(context, world);
    }
}

bool SelectionTool::Key(ToolContext& context, ToolKey key, ToolKeys keys) {
    CMapDoc& doc = context.doc;
    DocumentTools& tools = doc.Tools();
    if (key != ToolKey::Enter || !tools.rubberBand || tools.dragState != DocumentTools::DragNone) {
        return false;
    }
    const BoundBox band = tools.selectionBox.Bounds();
    tools.rubberBand = false;
    tools.selectionBox.SetRubberBand(false);
    SelectInBand(doc, band, keys.shift);
    tools.dragState = DocumentTools::DragNone;
    SyncSelectionBox(doc);
    context.RedrawEverywhere();
    return true;
}

void SelectionTool::DrawIcon(ToolIconCanvas& canvas) {
    // An arrow pointer.
    canvas.SetFill(kIconWhite);
    canvas.Polygon({{6, 3}, {6, 19}, {10, 15}, {13, 21}, {15.5f, 20}, {12.5f, 14}, {18, 14}});
}
