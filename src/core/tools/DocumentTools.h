#pragma once

#include "tools/CameraList.h"
#include "tools/EntityMarker.h"
#include "tools/ToolBox.h"

// The tool objects of one map document, shared by all its 2D views, and the state of the
// drag in progress.
class DocumentTools {
public:
    enum DragState { DragNone = 0, DragNew = 1, DragExisting = 2 };

    ToolBox selectionBox{ToolBox::SelectionKind};
    ToolBox blockBox{ToolBox::BlockKind};
    EntityMarker marker;
    CameraList cameras;

    int dragState = DragNone;
    // The view (an opaque key) that started the drag in progress.
    const void* dragOwner = nullptr;
    // The selection box is a pending rubber band.
    bool rubberBand = false;

    // The tool object of a tool number; none for Magnify and unknown numbers.
    ToolObject* ForTool(int tool);
};
