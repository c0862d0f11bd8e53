#pragma once

#include "tools/ObjectTool.h"
#include "tools/ToolIcon.h"

// The Camera tool: a drag in a 2D view places a camera and the direction it looks in; the
// handles move either end, and the 3D views take the camera.
class CameraTool : public ObjectTool {
public:
    ToolObject* Object(CMapDoc& doc) override;
    static void DrawIcon(ToolIconCanvas& canvas);

protected:
    void DragEnded(ToolContext& context, PixelPoint world) override;
};

// Magnify: a left click zooms in, a right click zooms out.
class MagnifyTool : public MapTool {
public:
    void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) override;
    void Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) override;
    void LeftUp(ToolContext& context, int x, int y, ToolKeys keys) override;
    void RightDown(ToolContext& context) override;
    ToolDrawing Draw(ToolContext& context) override;
    void Cancel(CMapDoc& doc) override;
    static void DrawIcon(ToolIconCanvas& canvas);
};
