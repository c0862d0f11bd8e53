#include "views/MapView3D.h"

#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "common/StatusPanes.h"
#include "common/ToolId.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "gamedata/TextureManager.h"
#include "render/View2DRenderer.h"
#include "render/View3DPicking.h"
#include "session/EditorContext.h"
#include "views/MeshRenderer3D.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <optional>

namespace {
// The leak trail stands out against the black background and the faces.
constexpr std::uint32_t kLeakTrailColor = View2DColors::kLeakTrail & 0xFFFFFFu;

std::optional<Camera3D::Key> CameraKeyFor(int key) {
    switch (key) {
    case Qt::Key_Left:
        return Camera3D::Key::Left;
    case Qt::Key_Right:
        return Camera3D::Key::Right;
    case Qt::Key_Up:
        return Camera3D::Key::Up;
    case Qt::Key_Down:
        return Camera3D::Key::Down;
    case Qt::Key_D:
        return Camera3D::Key::Forward;
    case Qt::Key_C:
        return Camera3D::Key::Backward;
    case Qt::Key_F:
        return Camera3D::Key::RollLeft;
    case Qt::Key_S:
        return Camera3D::Key::RollRight;
    case Qt::Key_Escape:
        return Camera3D::Key::Stop;
    default:
        return std::nullopt;
    }
}
} // namespace

CMapView3D::CMapView3D(CMapDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_model(document),
      m_renderer(std::make_unique<MeshRenderer3D>()) {
    setFocusPolicy(Qt::StrongFocus);
    m_surface = new View3DSurface(*this, *this);
    QSurfaceFormat surface = QSurfaceFormat::defaultFormat();
    surface.setRenderableType(QSurfaceFormat::OpenGL);
    surface.setVersion(3, 3);
    surface.setProfile(QSurfaceFormat::CoreProfile);
    surface.setDepthBufferSize(24);
    m_surface->setFormat(surface);
    connect(m_surface, &View3DSurface::frameSwapped, this, &CMapView3D::frameSwapped);
    QWidget* container = QWidget::createWindowContainer(m_surface, this);
    container->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    m_document.AddView(this);
}

CMapView3D::~CMapView3D() {
    m_renderTimer.stop();
    m_pickTimer.stop();
    if (m_observedTextures) {
        m_observedTextures->RemoveObserver(m_textureObserver);
    }
    // The surface and its context go with the container after this body.
    ReleaseGL();
    m_document.RemoveView(this);
}

void CMapView3D::ReleaseGL() {
    if (!m_renderer->IsInitialized() || !m_surface->MakeCurrent()) {
        return;
    }
    m_renderer->Release();
    m_surface->DoneCurrent();
}

void CMapView3D::SetSurfaceFormat(const QSurfaceFormat& format) {
    m_surface->setFormat(format);
}

void CMapView3D::RequestFrame() {
    m_surface->RequestFrame();
}

void CMapView3D::RenderFrameNow() {
    m_surface->RenderNow();
}

QImage CMapView3D::grabFramebuffer() {
    return m_surface->Grab();
}

void CMapView3D::WatchTextures() {
    if (m_observedTextures || !Editor().textureManager) {
        return;
    }
    // A brightness change remakes the pictures; the next frame sends the new ones.
    m_observedTextures = &Editor().TextureCatalogue();
    m_textureObserver = m_observedTextures->AddObserver([this](TextureManager::Change c) {
        if (c == TextureManager::Change::PaletteChanged) {
            m_model.MarkDirty();
        }
    });
}

void CMapView3D::SetRenderMode(int mode) {
    m_model.SetRenderMode(mode);
}

void CMapView3D::OnDocumentUpdate(int flags, const CUpdateHint* hint) {
    m_model.OnDocumentUpdate(flags, hint);
}

void CMapView3D::ReportStartFailure(const QString& line) {
    if (m_startFailed) {
        return;
    }
    m_startFailed = true;
    Editor().messages.AddText(MessageLog::Error, line.toStdString());
}

void CMapView3D::SurfaceCreated(QOpenGLContext* context) {
    if (m_startFailed) {
        return;
    }
    const QString error = m_renderer->Initialize(context);
    if (!error.isEmpty()) {
        ReportStartFailure(error);
        return;
    }
    m_depthChecked = false;
    WatchTextures();
    m_model.Start();
    m_renderTimer.start(kRenderInterval, this);
}

void CMapView3D::TakeCamera(const Vector& position, const Vector& target) {
    m_model.TakeCamera(position, target);
}

void CMapView3D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_model.MarkDirty();
}

void CMapView3D::SurfacePaint(int width, int height) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!m_model.IsReady() || !m_renderer->IsInitialized()) {
        QOpenGLFunctions* gl = context->functions();
        gl->glViewport(0, 0, width, height);
        gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    if (!m_depthChecked) {
        m_depthChecked = true;
        if (!m_renderer->HasDepthBuffer()) {
            Editor().messages.AddLine(MessageLog::Error,
                                      "Depth buffering failed: the picture has no depth buffer.");
        }
    }
    // Whatever asked for a frame gets it now.
    m_model.TakeDirty();
    QElapsedTimer timer;
    timer.start();
    m_renderer->Render(m_model.Meshes(), m_model.Camera(), m_model.RenderMode(), width, height);
    m_renderer->RenderTrail(m_document.LeakTrail().points, m_model.Camera(), width, height,
                            kLeakTrailColor);
    if (m_measureFrames) {
        context->functions()->glFinish();
        m_lastFrameMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    ++m_framesDrawn;
}

void CMapView3D::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_pickTimer.timerId()) {
        m_document.PickNext();
        return;
    }
    if (event->timerId() != m_renderTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (m_model.IsReady() && m_model.IsDirty()) {
        RequestFrame();
    }
}

bool CMapView3D::IsViewKey(const QKeyEvent& event) const {
    const int key = event.key();
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    case Qt::Key_D:
    case Qt::Key_C:
    case Qt::Key_F:
    case Qt::Key_S:
    case Qt::Key_Escape:
        return !ctrl;
    default:
        return !ctrl && key >= Qt::Key_1 && key <= Qt::Key_6;
    }
}

bool CMapView3D::event(QEvent* event) {
    // The view's own keys win over single-key menu shortcuts (C, digits) while it has the
    // focus; Ctrl with a letter stays with the menus (Ctrl+C copies, Ctrl+S saves).
    if (event->type() == QEvent::ShortcutOverride && m_model.IsReady() &&
        IsViewKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CMapView3D::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_6) {
        if (m_model.PressViewportKey(key - Qt::Key_0)) {
            return;
        }
    } else if (auto cameraKey = CameraKeyFor(key)) {
        if (m_model.PressKey(*cameraKey, modifiers.testFlag(Qt::ShiftModifier),
                             modifiers.testFlag(Qt::ControlModifier))) {
            return;
        }
    } else if (key == Qt::Key_PageUp) {
        m_document.PickNext();
        return;
    } else if (key == Qt::Key_PageDown) {
        m_document.PickPrevious();
        return;
    } else if (key == Qt::Key_Delete) {
        CommandRegistry::Trigger(CommandId::Delete);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMapView3D::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    QWidget* activeWindow = QApplication::activeWindow();
    if (isVisible() && !hasFocus() && (!activeWindow || activeWindow == window())) {
        setFocus(Qt::MouseFocusReason);
    }
}

void CMapView3D::focusInEvent(QFocusEvent* event) {
    CMapDoc::SetActiveMapDoc(&m_document);
    if (StatusPanes* panes = Editor().statusPanes) {
        panes->SetPaneText(2, "");
        panes->SetPaneText(4, "");
    }
    QWidget::focusInEvent(event);
}

// --- mouse: the Camera tool flies the camera, other tools pick ---

void CMapView3D::mousePressEvent(QMouseEvent* event) {
    if (!m_model.IsReady()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const MainFrameSink* frame = Editor().mainFrame;
    const int tool = frame ? frame->CurrentTool() : TOOL_SELECTION;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (tool == TOOL_CAMERA) {
        if (event->button() == Qt::RightButton) {
            m_drag = MouseDrag::Move;
        } else if (event->button() == Qt::LeftButton) {
            m_drag = MouseDrag::Look;
        }
        m_lastPointer = event->position();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF at = event->position();
    const auto hits = View3DPicking::HitsAt(m_model, static_cast<float>(at.x()),
                                            static_cast<float>(at.y()), width(), height());
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (frame && frame->FaceEditingMode()) {
        View3DPicking::PickFaces(m_document, hits, ctrl, modifiers.testFlag(Qt::ShiftModifier));
    } else if (View3DPicking::PickObjects(m_document, hits, ctrl)) {
        m_pickTimer.start(kPickCycleInterval, this);
    }
    m_model.MarkDirty();
    RequestFrame();
}

void CMapView3D::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag == MouseDrag::None || !m_model.IsReady()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF delta = event->position() - m_lastPointer;
    m_lastPointer = event->position();
    const auto dx = static_cast<float>(delta.x());
    const auto dy = static_cast<float>(delta.y());
    if (dx == 0.0f && dy == 0.0f) {
        return;
    }
    if (m_drag == MouseDrag::Move) {
        m_model.Camera().MouseMove(dx, dy, event->modifiers().testFlag(Qt::ShiftModifier));
    } else {
        m_model.Camera().MouseLook(dx, dy, Editor().options.reverseY);
    }
    m_model.CameraMovedByUser();
    // The frame is drawn at once rather than on the next tick, so the view follows the hand.
    RequestFrame();
}

void CMapView3D::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pickTimer.stop();
    }
    if ((m_drag == MouseDrag::Move && event->button() == Qt::RightButton) ||
        (m_drag == MouseDrag::Look && event->button() == Qt::LeftButton)) {
        m_drag = MouseDrag::None;
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
