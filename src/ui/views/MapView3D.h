#pragma once

#include "document/MapDocView.h"
#include "render/View3DModel.h"
#include "views/View3DSurface.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>
#include <memory>

class CMapDoc;
class MeshRenderer3D;
class TextureManager;

// The perspective view of a document (the top-left pane of a child frame), drawn with
// OpenGL 3.3 core into a native window of its own (`View3DSurface`) that fills this widget.
// The widget keeps the keyboard focus and handles the input; the surface only draws. The view
// becomes ready on its first frame once OpenGL is up; a failure there is an error line in the
// message window and the view stays black. While ready, a 50 ms timer draws a new frame
// whenever something marked the view dirty.
class CMapView3D : public QWidget, public MapDocView, private View3DSurface::Client {
    Q_OBJECT
public:
    enum RenderMode { Wireframe = 1, Flat = 2, Textured = 3 };
    static constexpr int kRenderInterval = 50;
    // Holding the left button on a pick steps through the objects under the pointer.
    static constexpr int kPickCycleInterval = 500;

    // The document must outlive the view.
    CMapView3D(CMapDoc& document, QWidget* parent = nullptr);
    ~CMapView3D() override;

    CMapDoc& Document() const { return m_document; }
    // A new view starts in mode 1 (wireframe).
    void SetRenderMode(int mode);
    int GetRenderMode() const { return m_model.RenderMode(); }
    bool IsReady() const { return m_model.IsReady(); }

    // The camera tool's placement: at position, looking at target.
    void TakeCamera(const Vector& position, const Vector& target);

    void OnDocumentUpdate(int flags, const CUpdateHint* hint) override;
    bool Is3D() const override { return true; }

    View3DModel& Model() { return m_model; }
    const MeshRenderer3D* Renderer() const { return m_renderer.get(); }

    // Waits for each frame to finish drawing and keeps its time (for measurements; off by
    // default because waiting stalls the pipeline).
    void SetMeasureFrames(bool measure) { m_measureFrames = measure; }
    double LastFrameMilliseconds() const { return m_lastFrameMs; }
    // Frames drawn since the view was made.
    int FramesDrawn() const { return m_framesDrawn; }

    // The OpenGL surface format; takes effect when set before the view is first shown.
    void SetSurfaceFormat(const QSurfaceFormat& format);
    // A new frame on the next update request.
    void RequestFrame();
    // Draws a frame and shows it now.
    void RenderFrameNow();
    // Draws the current picture offscreen and returns it (null before OpenGL is up).
    QImage grabFramebuffer();
    View3DSurface& Surface() const { return *m_surface; }

signals:
    void frameSwapped();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // Like the 2D views, the view takes the keyboard when the pointer comes over it.
    void enterEvent(QEnterEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SurfaceCreated(QOpenGLContext* context) override;
    void SurfacePaint(int width, int height) override;
    bool IsViewKey(const QKeyEvent& event) const;
    void ReportStartFailure(const QString& line);
    void ReleaseGL();
    void WatchTextures();

    CMapDoc& m_document;
    View3DModel m_model;
    std::unique_ptr<MeshRenderer3D> m_renderer;
    // Owned by its container widget, a child of this one.
    View3DSurface* m_surface = nullptr;
    QBasicTimer m_renderTimer;
    // Left-click picking and the Camera tool's drags (right: move, left: look).
    QBasicTimer m_pickTimer;
    enum class MouseDrag { None, Move, Look };
    MouseDrag m_drag = MouseDrag::None;
    QPointF m_lastPointer;
    TextureManager* m_observedTextures = nullptr;
    int m_textureObserver = 0;
    bool m_startFailed = false;
    bool m_depthChecked = false;
    bool m_measureFrames = false;
    double m_lastFrameMs = 0.0;
    int m_framesDrawn = 0;
};
