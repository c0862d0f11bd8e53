#include "views/View3DSurface.h"

#include <QCoreApplication>
#include <QExposeEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QWidget>

View3DSurface::View3DSurface(QWidget& host, Client& client) : m_host(host), m_client(client) {
    setSurfaceType(QWindow::OpenGLSurface);
    // A click must not move the keyboard focus from the host widget to this window: the
    // menus' accelerators and the view's own keys go through the host.
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

View3DSurface::~View3DSurface() = default;

QSize View3DSurface::PixelSize() const {
    const qreal ratio = devicePixelRatio();
    return {static_cast<int>(width() * ratio), static_cast<int>(height() * ratio)};
}

bool View3DSurface::EnsureContext() {
    if (m_context) {
        return m_context->makeCurrent(this);
    }
    if (m_contextFailed) {
        return false;
    }
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(requestedFormat());
    if (!m_context->create() || !m_context->makeCurrent(this)) {
        m_context.reset();
        m_contextFailed = true;
        m_client.SurfaceCreated(nullptr);
        return false;
    }
    m_client.SurfaceCreated(m_context.get());
    return true;
}

bool View3DSurface::MakeCurrent() {
    return m_context && handle() && m_context->makeCurrent(this);
}

void View3DSurface::DoneCurrent() {
    if (m_context) {
        m_context->doneCurrent();
    }
}

void View3DSurface::RenderNow() {
    if (!isExposed() || !EnsureContext()) {
        return;
    }
    const QSize size = PixelSize();
    m_client.SurfacePaint(size.width(), size.height());
    m_context->swapBuffers(this);
    emit frameSwapped();
}

QImage View3DSurface::Grab() {
    if (!MakeCurrent()) {
        return {};
    }
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    const QSize size = PixelSize().expandedTo({1, 1});
    QOpenGLFramebufferObject framebuffer(size, format);
    framebuffer.bind();
    m_client.SurfacePaint(size.width(), size.height());
    QImage image = framebuffer.toImage();
    framebuffer.release();
    return image;
}

void View3DSurface::exposeEvent(QExposeEvent*) {
    if (isExposed()) {
        RenderNow();
    }
}

bool View3DSurface::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::UpdateRequest:
        RenderNow();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A click gives the host the focus, as a click on any focusable widget does.
        if (m_host.isEnabled() && (m_host.focusPolicy() & Qt::ClickFocus) && !m_host.hasFocus()) {
            m_host.setFocus(Qt::MouseFocusReason);
        }
        [[fallthrough]];
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        // The host lies exactly under this window: positions need no mapping.
        QCoreApplication::sendEvent(&m_host, event);
        return true;
    default:
        return QWindow::event(event);
    }
}
