#pragma once

#include "tools/ObjectTool.h"
#include "tools/ToolIcon.h"

// The Selection tool: a click picks, Ctrl+click adds, a drag from empty space draws the rubber
// band (Enter selects what it touches, Shift+Enter what it holds), a drag of the selection box
// moves, scales, rotates or shears the selection and a click on the box changes its handles.
class SelectionTool : public ObjectTool {
public:
    void Prepare(ToolContext& context) override;
    void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) override;
    bool Key(ToolContext& context, ToolKey key, ToolKeys keys) override;
    ToolObject* Object(CMapDoc& doc) override;

    // Ends a pending rubber band: the selection box shows the selection again.
    static void DropRubberBand(ToolContext& context);
    static void DrawIcon(ToolIconCanvas& canvas);

protected:
    int ExistingDragState() const override;
    bool ShiftTogglesConstraint(CMapDoc& doc) const override;
    bool MoveStartsOther(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) override;
    void DragEnded(ToolContext& context, PixelPoint world) override;
    void ReleasedWithoutDrag(ToolContext& context, PixelPoint world) override;

private:
    static void ClickOnSelectionBox(ToolContext& context, PixelPoint world);
};
