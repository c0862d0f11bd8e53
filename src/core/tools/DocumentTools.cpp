#include "tools/DocumentTools.h"

#include "document/UpdateHint.h"

ToolObject* DocumentTools::ForTool(int tool) {
    switch (tool) {
    case TOOL_SELECTION:
        return &selectionBox;
    case TOOL_BLOCK:
        return &blockBox;
    case TOOL_ENTITY:
        return &marker;
    case TOOL_CAMERA:
        return &cameras;
    default:
        return nullptr;
    }
}
