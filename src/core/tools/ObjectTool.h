#pragma once

#include "tools/MapTool.h"

// A tool that works with one of the document's shared tool objects (a box, the entity marker,
// the cameras): a press on an empty object starts a new one, a press on a part of it drags
// that part, and the object draws the feedback.
class ObjectTool : public MapTool {
public:
    void Prepare(ToolContext& context) override;
    void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) override;
    void Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) override;
    void LeftUp(ToolContext& context, int x, int y, ToolKeys keys) override;
    ToolDrawing Draw(ToolContext& context) override;
    void Cancel(CMapDoc& doc) override;

protected:
    // The document's drag state a press on the existing object starts.
    virtual int ExistingDragState() const;
    // Whether Shift turns the constraint of a drag around.
    virtual bool ShiftTogglesConstraint(CMapDoc& doc) const {
        (void)doc;
        return false;
    }
    // A move that is no drag of the object may start something else (the rubber band).
    virtual bool MoveStartsOther(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) {
        (void)context;
        (void)x;
        (void)y;
        (void)keys;
        (void)leftDown;
        return false;
    }
    virtual ToolCursor IdleCursor() const { return ToolCursor::Arrow; }
    // After a drag of the object ended and was kept; world is the release point.
    virtual void DragEnded(ToolContext& context, PixelPoint world) {
        (void)context;
        (void)world;
    }
    // A release that ended no drag.
    virtual void ReleasedWithoutDrag(ToolContext& context, PixelPoint world) {
        (void)context;
        (void)world;
    }
    // Marks the document's drag as started by the context's view.
    static void BeginDrag(ToolContext& context, int state);
};
