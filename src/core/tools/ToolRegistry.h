#pragma once

#include <memory>
#include <vector>

class MapTool;
class ToolIconCanvas;

// Everything the editor needs to offer a tool: its number, its command (menu item, tool bar
// button and accelerator), its picture and how to make the tool for a document.
struct ToolRegistration {
    int id = 0;
    int commandId = 0;
    // The Tools menu text; the accelerator follows a tab.
    const char* menuText = "";
    void (*drawIcon)(ToolIconCanvas& canvas) = nullptr;
    std::unique_ptr<MapTool> (*make)() = nullptr;
};

// The registered tools in the order of the Tools menu and the tool bar.
const std::vector<ToolRegistration>& RegisteredTools();
// Null for a number or command that is no registered tool.
const ToolRegistration* FindRegisteredTool(int id);
const ToolRegistration* FindToolCommand(int commandId);
