#include "tools/DocumentTools.h"

#include "tools/MapTool.h"
#include "tools/ToolRegistry.h"

DocumentTools::DocumentTools() {
    for (const ToolRegistration& tool : RegisteredTools()) {
        m_tools.emplace_back(tool.id, tool.make());
    }
}

DocumentTools::~DocumentTools() = default;

MapTool* DocumentTools::Find(int tool) {
    for (auto& [id, object] : m_tools) {
        if (id == tool) {
            return object.get();
        }
    }
    return nullptr;
}
