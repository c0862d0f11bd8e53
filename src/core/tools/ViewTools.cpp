#include "tools/ViewTools.h"

#include "document/MapDoc.h"
#include "tools/DocumentTools.h"

namespace {

constexpr float kMagnifyIn = 1.2f;
constexpr float kMagnifyOut = 0.8333333f;

} // namespace

ToolObject* CameraTool::Object(CMapDoc& doc) {
    return &doc.Tools().cameras;
}

void CameraTool::DragEnded(ToolContext& context, PixelPoint) {
    const CameraList::Camera& camera = context.doc.Tools().cameras.Current();
    context.host.CameraPlaced(camera.position, camera.lookAt);
}

void CameraTool::DrawIcon(ToolIconCanvas& canvas) {
    canvas.SetFill({90, 90, 100});
    canvas.Rect(3, 8, 14, 10, 2);
    canvas.Polygon({{17, 11}, {22, 8}, {22, 18}, {17, 15}});
    canvas.SetFill(kIconWhite);
    canvas.Ellipse(5, 4, 5, 5);
}

void MagnifyTool::LeftDown(ToolContext& context, int, int, ToolKeys) {
    context.host.ZoomBy(kMagnifyIn);
}

void MagnifyTool::Move(ToolContext& context, int, int, ToolKeys, bool) {
    context.host.ShowToolCursor(ToolCursor::Magnify);
}

void MagnifyTool::LeftUp(ToolContext& context, int, int, ToolKeys) {
    context.RedrawEverywhere();
}

void MagnifyTool::RightDown(ToolContext& context) {
    context.host.ZoomBy(kMagnifyOut);
}

ToolDrawing MagnifyTool::Draw(ToolContext&) {
    return {};
}

void MagnifyTool::Cancel(CMapDoc&) {}

void MagnifyTool::DrawIcon(ToolIconCanvas& canvas) {
    canvas.SetFill({200, 225, 250});
    canvas.Ellipse(3, 3, 12, 12);
    canvas.SetPen(kIconInk, 3, false, true);
    canvas.Line({14, 14}, {20, 20});
}
