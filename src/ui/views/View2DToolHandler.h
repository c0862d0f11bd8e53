#pragma once

class CMapView2D;
class QKeyEvent;
class QMouseEvent;
class QPainter;

// What the 2D views hand to the current tool: mouse presses, moves and releases that are not
// panning, Enter and Escape, and the drawing of the tool's feedback at the end of each paint.
// Each handler returns true when it used the event. A view without a handler only pans,
// scrolls, zooms and shows positions.
class View2DToolHandler {
public:
    virtual ~View2DToolHandler() = default;
    virtual bool MousePress(CMapView2D& view, QMouseEvent& event) = 0;
    virtual bool MouseMove(CMapView2D& view, QMouseEvent& event) = 0;
    virtual bool MouseRelease(CMapView2D& view, QMouseEvent& event) = 0;
    virtual bool Key(CMapView2D& view, QKeyEvent& event) = 0;
    // Draws the feedback in the view's client coordinates. mode follows the tool objects'
    // drawing modes (1 draw, 2 redraw, 3 erase, -1 draw without remembering).
    virtual void Draw(CMapView2D& view, QPainter& painter, int mode) = 0;
    // Whether a tool drag is in progress in this view (no context menu then).
    virtual bool Dragging(const CMapView2D& view) const = 0;
};
