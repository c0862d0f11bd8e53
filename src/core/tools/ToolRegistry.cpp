#include "tools/ToolRegistry.h"

#include "common/ToolId.h"
#include "tools/ClipTool.h"
#include "tools/CreationTools.h"
#include "tools/SelectionTool.h"
#include "tools/VertexTool.h"
#include "tools/ViewTools.h"

namespace {

template <class T> std::unique_ptr<MapTool> Make() {
    return std::make_unique<T>();
}

} // namespace

// The one list of the editor's tools. A new tool adds its line here.
const std::vector<ToolRegistration>& RegisteredTools() {
    static const std::vector<ToolRegistration> tools = {
        {TOOL_SELECTION, 32813, "Selection Tool\tShift+S", &SelectionTool::DrawIcon,
         &Make<SelectionTool>},
        {TOOL_BLOCK, 32812, "Block Creation Tool\tShift+B", &BlockTool::DrawIcon, &Make<BlockTool>},
        {TOOL_ENTITY, 32816, "Entity Creation Tool\tShift+E", &EntityTool::DrawIcon,
         &Make<EntityTool>},
        {TOOL_CAMERA, 32833, "Camera\tShift+C", &CameraTool::DrawIcon, &Make<CameraTool>},
        {TOOL_MAGNIFY, 32829, "Magnify\tShift+G", &MagnifyTool::DrawIcon, &Make<MagnifyTool>},
        {TOOL_CLIP, 32961, "Clip Tool\tShift+X", &ClipTool::DrawIcon, &Make<ClipTool>},
        {TOOL_VERTEX, 32962, "Vertex Tool\tShift+V", &VertexTool::DrawIcon, &Make<VertexTool>},
    };
    return tools;
}

const ToolRegistration* FindRegisteredTool(int id) {
    for (const ToolRegistration& tool : RegisteredTools()) {
        if (tool.id == id) {
            return &tool;
        }
    }
    return nullptr;
}

const ToolRegistration* FindToolCommand(int commandId) {
    for (const ToolRegistration& tool : RegisteredTools()) {
        if (tool.commandId == commandId) {
            return &tool;
        }
    }
    return nullptr;
}
