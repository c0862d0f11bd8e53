#pragma once

#include "document/DocumentPart.h"
#include "tools/CameraList.h"
#include "tools/EntityMarker.h"
#include "tools/ToolBox.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MapTool;

// The tools of one map document, shared by all its 2D views: one object of every registered
// tool, the shapes they work with, and the state of the drag in progress.
class DocumentTools : public DocumentPart {
public:
    enum DragState { DragNone = 0, DragNew = 1, DragExisting = 2 };

    DocumentTools();
    ~DocumentTools();
    DocumentTools(const DocumentTools&) = delete;
    DocumentTools& operator=(const DocumentTools&) = delete;

    ToolBox selectionBox{ToolBox::SelectionKind};
    ToolBox blockBox{ToolBox::BlockKind};
    EntityMarker marker;
    CameraList cameras;

    int dragState = DragNone;
    // The view (an opaque key) that started the drag in progress.
    const void* dragOwner = nullptr;
    // The selection box is a pending rubber band.
    bool rubberBand = false;
    // The current tool's hint last shown in the message pane.
    std::string shownHint;
    std::uint64_t hintChangeCount = 0;

    // The document's object of a registered tool; null for unknown numbers.
    MapTool* Find(int tool);

private:
    std::vector<std::pair<int, std::unique_ptr<MapTool>>> m_tools;
};
