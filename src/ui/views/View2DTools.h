#pragma once

#include "tools/View2DToolMachine.h"
#include "views/View2DToolHandler.h"

#include <QRegion>

class CMapView2D;
class QCursor;

// The tools of one 2D view: turns the view's mouse and key events into calls of the core's
// mouse state machine and draws the active tool object's feedback over the view's picture.
// Only the pixels of the last and the new feedback are repainted when it changes.
class View2DTools : public View2DToolHandler, public ToolViewHost {
public:
    explicit View2DTools(CMapView2D& view);

    // View2DToolHandler
    bool MousePress(CMapView2D& view, QMouseEvent& event) override;
    bool MouseMove(CMapView2D& view, QMouseEvent& event) override;
    bool MouseRelease(CMapView2D& view, QMouseEvent& event) override;
    bool Key(CMapView2D& view, QKeyEvent& event) override;
    void Draw(CMapView2D& view, QPainter& painter, int mode) override;
    bool Dragging(const CMapView2D& view) const override;

    // ToolViewHost
    View2DTransform ToolTransform() const override;
    Vector ClickTo3D(int x, int y) const override;
    void ZoomBy(float factor) override;
    void ShowToolCursor(ToolCursor cursor) override;
    void ToolFeedbackChanged() override;
    void CameraPlaced(const Vector& position, const Vector& lookAt) override;
    void ShowToolStatus(const std::string& text) override;
    MapDocView* DocumentView() override;

    View2DToolMachine& Machine() { return m_machine; }
    // The feedback as last drawn, in client pixels.
    const ToolDrawing& LastDrawing() const { return m_drawn; }

    // The pixels a drawing covers: thin strips along outlines and lines, squares for handles.
    static QRegion RegionOf(const ToolDrawing& drawing);
    // Paints a drawing over the view's picture in the colours it shows on white.
    static void Paint(QPainter& painter, const ToolDrawing& drawing);
    static const QCursor& CursorFor(ToolCursor cursor);

private:
    ToolDrawing CurrentDrawing();

    CMapView2D& m_view;
    View2DToolMachine m_machine;
    ToolDrawing m_drawn;
};
