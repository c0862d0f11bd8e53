#pragma once

#include "document/MapDocView.h"
#include "render/View2DTransform.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <QPoint>

#include <memory>
#include <optional>

class CMapDoc;
class QMenu;
class View2DGeometry;
class View2DToolHandler;
class View2DTools;

// The wireframe view of a map document on one of three axis-aligned planes: the grid, the
// outlines of every solid's faces, point entities as boxes and, when asked, the lines from
// targets to their targeted entities. Zooms and scrolls with the keyboard, pans with Space and
// the left button, scrolls by itself while a drag leaves the view, and hands the mouse to the
// current tool.
class CMapView2D : public QAbstractScrollArea, public MapDocView {
    Q_OBJECT
public:
    static constexpr float kInitialZoom = 0.25f;
    static constexpr int kAutoScrollInterval = 80;
    static constexpr int kPanInterval = 120;

    explicit CMapView2D(CMapDoc& document, QWidget* parent = nullptr);
    ~CMapView2D() override;

    CMapDoc& Document() const { return m_document; }

    int ViewType() const { return m_viewType; }
    // Sets the type and its axes; an unchanged type is ignored unless forced.
    void SetViewType(int type, bool force = false);
    float Zoom() const { return m_zoom; }
    // The projection as it is now (zoom, scroll position, client size).
    View2DTransform Transform() const;
    PixelPoint WorldToClient(const Vector& point) const { return Transform().WorldToClient(point); }
    PixelPoint ClientToWorld(int x, int y) const { return Transform().ClientToWorld(x, y); }
    // A click made into a 3D point: the click's two coordinates, the rest from the centres of
    // the document's other views in their registration order, else 0.
    Vector ClickToPoint3D(int x, int y) const;
    // Centres the view on the given world coordinates of its axes; a missing one is taken
    // from the centre of the world's bounding box.
    void CenterOnPoint(std::optional<float> horizontal, std::optional<float> vertical);
    QPoint ScrollPosition() const;
    void ScrollTo(int h, int v);

    bool IsActiveView() const { return m_active; }
    void SetActiveView(bool active);

    // The packed drawing data of the document's world, shared by the 2D views of a frame.
    void ShareGeometry(std::shared_ptr<View2DGeometry> geometry);

    // The current tool's handler (none until the tools exist); not owned.
    void SetToolHandler(View2DToolHandler* handler);
    // The view's own tools (the mouse state machine of the document's tool objects).
    View2DTools& Tools() const { return *m_ownTools; }
    // Asks the tool to draw its feedback in this view (mode as the tool objects take it).
    void DrawTool(int mode);

    // Paint figures, for the screenshot run and the timing tests.
    int PaintCount() const { return m_paintCount; }
    double LastPaintMilliseconds() const { return m_lastPaintMs; }
    bool IsPanning() const { return m_panning; }
    // Which pop-up a right click at this client point opens (a View2DMenu value).
    int ContextMenuKindAt(const QPoint& position) const;
    QMenu* BuildContextMenu(int kind);
    ScrollStep AutoScrollStep() const { return m_autoScroll; }

    // MapDocView
    void OnDocumentUpdate(int flags, const CUpdateHint* hint) override;
    bool Is3D() const override { return false; }
    int HorizontalAxis() const override { return m_axes.horizontal; }
    int VerticalAxis() const override { return m_axes.vertical; }
    bool InvertHorizontal() const override { return m_axes.invertHorizontal; }
    bool InvertVertical() const override { return m_axes.invertVertical; }
    Vector ClientCenterInMap() const override;
    void SetZoom(float zoom) override;
    void CenterOn(const Vector& point) override;
    void SetRedrawSuspended(bool suspended) override;
    void Invalidate() override;
    void ToolHandles(int code) override;

signals:
    void painted();
    void activated(CMapView2D* view);
    void viewTypeChanged(int type);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void UpdateScrollRanges();
    void ApplyScrollbarSetting();
    void ScrollByLines(QScrollBar* bar, int direction);
    void OnScrollAction(QScrollBar* bar, int action);
    void ApplyZoomKey(float zoom, bool allViews);
    void HandleMove(const QPoint& position, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers modifiers);
    void StopPanning();
    void ShowStatus(int pane, const std::string& text) const;
    int CurrentTool() const;

    CMapDoc& m_document;
    int m_viewType = 0;
    ViewAxes m_axes;
    float m_zoom = 0.0f;
    bool m_shown = false;
    bool m_registered = false;
    bool m_active = false;
    bool m_blitScroll = true;
    QImage m_buffer;
    std::shared_ptr<View2DGeometry> m_geometry;

    bool m_spaceHeld = false;
    bool m_panning = false;
    QPoint m_pressPoint;
    QPoint m_lastMousePos;
    Qt::MouseButtons m_lastButtons;
    QPoint m_panDelta;
    ScrollStep m_autoScroll;
    QBasicTimer m_autoScrollTimer;
    QBasicTimer m_panTimer;
    View2DToolHandler* m_tool = nullptr;
    std::unique_ptr<View2DTools> m_ownTools;

    int m_paintCount = 0;
    double m_lastPaintMs = 0.0;
};
