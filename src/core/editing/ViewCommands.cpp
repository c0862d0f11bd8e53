#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "document/MapDocView.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapClass.h"

#include <vector>

namespace {
constexpr float kNoCoordinate = 99999.0f;
} // namespace

void OnAlign(CMapDoc& doc, const MapDocView& view, AlignSide side) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    const UndoStep step(doc, "Align");
    // The screen's top is the vertical axis's minimum unless the view draws it inverted (and
    // likewise left and the horizontal axis).
    if (view.InvertVertical()) {
        side = side == AlignSide::Top ? AlignSide::Bottom
                                      : (side == AlignSide::Bottom ? AlignSide::Top : side);
    }
    if (view.InvertHorizontal()) {
        side = side == AlignSide::Left ? AlignSide::Right
                                       : (side == AlignSide::Right ? AlignSide::Left : side);
    }
    const bool vertical = side == AlignSide::Top || side == AlignSide::Bottom;
    const bool toMinimum = side == AlignSide::Top || side == AlignSide::Left;
    const int axis = vertical ? view.VerticalAxis() : view.HorizontalAxis();
    if (axis < 0 || axis > 2) {
        return;
    }
    const BoundBox before = doc.Selection().Bounds();
    for (CMapClass* object : doc.SelectedObjects()) {
        const BoundBox& bounds = object->Bounds();
        if (bounds.IsEmpty()) {
            continue;
        }
        Vector delta;
        delta[axis] = toMinimum ? before.mins[axis] - bounds.mins[axis]
                                : before.maxs[axis] - bounds.maxs[axis];
        if (delta[axis] != 0.0f) {
            object->TransMove(delta);
        }
    }
    doc.ToolHandlesNotify(nullptr, 3);
    doc.RecalcSelectionBounds();
    CUpdateHint hint = SelectionHint(doc);
    hint.box = before;
    doc.UpdateAllViews(UPDATE_OBJECTS, &hint);
    doc.UpdateStatusText();
    if (step.Changed()) {
        doc.SetModified();
    }
}

void OnFlip(CMapDoc& doc, const MapDocView& view, bool horizontally) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    // Recorded as a step of its own, so that undo takes back the flip and nothing else.
    const UndoStep step(doc, "Flip");
    const BoundBox box = doc.Selection().Bounds();
    Vector point = box.Center();
    const int h = view.HorizontalAxis();
    const int v = view.VerticalAxis();
    for (int axis = 0; axis < 3; ++axis) {
        const bool flipped = horizontally ? axis == h : axis == v;
        if (!flipped) {
            point[axis] = kNoCoordinate;
        }
    }
    for (CMapClass* object : doc.SelectedObjects()) {
        object->TransFlip(point);
    }
    doc.RecalcSelectionBounds();
    CUpdateHint hint = SelectionHint(doc);
    hint.box = box;
    doc.UpdateAllViews(UPDATE_OBJECTS, &hint);
    doc.UpdateStatusText();
    if (step.Changed()) {
        doc.SetModified();
    }
}
