#pragma once

// The numbers of the editor's built-in tools (the main window's current tool). A tool added
// later names its own number next to its class and registers it in ToolRegistry.cpp.
enum ToolId {
    TOOL_SELECTION = 0,
    TOOL_BLOCK = 1,
    TOOL_ENTITY = 2,
    TOOL_CAMERA = 3,
    TOOL_MAGNIFY = 5,
};
