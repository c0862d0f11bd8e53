#include "tools/View2DContextMenu.h"

#include "common/ToolId.h"

#include <cstdlib>

View2DMenu ChooseView2DMenu(const View2DMenuState& s) {
    if (s.panning || s.dragging || !s.insideClient || s.tool == TOOL_MAGNIFY) {
        return View2DMenu::None;
    }
    if (s.tool == TOOL_SELECTION && !s.selectionEmpty && !s.rubberBandPending) {
        return s.hitsSelection ? View2DMenu::Selection : View2DMenu::None;
    }
    if (s.tool == TOOL_BLOCK && s.blockBoxDrawn) {
        return s.hitsBlockBox ? View2DMenu::Creation : View2DMenu::None;
    }
    if (s.tool == TOOL_ENTITY && s.entityMarkerPlaced) {
        return s.hitsEntityMarker ? View2DMenu::Creation : View2DMenu::None;
    }
    return View2DMenu::View;
}

bool PixelHitsBox(const View2DTransform& transform, const BoundBox& box, int x, int y, int grow) {
    if (box.IsEmpty()) {
        return false;
    }
    const PixelRect rect = transform.BoxToClient(box).Grown(grow);
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

bool HitsEntityMarker(const View2DTransform& transform, const Vector& marker, int h, int v) {
    const int tolerance = TruncClamped(6.0f / transform.zoom);
    const int dh = h - TruncClamped(marker[transform.axes.horizontal]);
    const int dv = v - TruncClamped(marker[transform.axes.vertical]);
    return std::abs(dh) <= tolerance && std::abs(dv) <= tolerance;
}
