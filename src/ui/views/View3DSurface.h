#pragma once

#include <QImage>
#include <QWindow>
#include <memory>

class QOpenGLContext;
class QWidget;

// The native window the 3D view draws into, with an OpenGL context of its own. Drawing
// straight into a window of its own keeps the rest of the main window a plain raster window:
// repainting a 2D view, a bar or a dialog then never composes the whole window through OpenGL.
// The surface takes no keyboard focus; its mouse, wheel and enter/leave events go to the host
// widget, which keeps the focus and handles all input.
class View3DSurface : public QWindow {
    Q_OBJECT
public:
    // What the surface asks of the widget it draws for.
    class Client {
    public:
        virtual ~Client() = default;
        // The context was made and is current; null when no context could be made.
        virtual void SurfaceCreated(QOpenGLContext* context) = 0;
        // Draw one frame of width x height pixels into the bound framebuffer.
        virtual void SurfacePaint(int width, int height) = 0;
    };

    View3DSurface(QWidget& host, Client& client);
    ~View3DSurface() override;

    QOpenGLContext* Context() const { return m_context.get(); }
    bool MakeCurrent();
    void DoneCurrent();
    // A frame on the next update request; requests made before it come together.
    void RequestFrame() { requestUpdate(); }
    // Draws a frame and shows it now, when the window is on screen.
    void RenderNow();
    // Draws a frame into an offscreen framebuffer of the window's size and returns it; a null
    // image before the context exists.
    QImage Grab();

signals:
    void frameSwapped();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;

private:
    bool EnsureContext();
    QSize PixelSize() const;

    QWidget& m_host;
    Client& m_client;
    std::unique_ptr<QOpenGLContext> m_context;
    bool m_contextFailed = false;
};
