#include "views/MapView2D.h"

#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "common/StatusPanes.h"
#include "common/ToolId.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapWorld.h"
#include "render/PixelCanvas.h"
#include "render/View2DGeometry.h"
#include "render/View2DRenderer.h"
#include "session/EditorContext.h"
#include "tools/View2DContextMenu.h"
#include "views/View2DToolHandler.h"
#include "views/View2DTools.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {

constexpr float kUnsetCoordinate = 99999.0f;

QRect ToQRect(const PixelRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

// The main window's action for a command, or a disabled stand-in when there is none.
QAction* AddCommand(QMenu* menu, int id, const char* text) {
    if (QAction* action = CommandRegistry::Find(id)) {
        menu->addAction(action);
        return action;
    }
    QAction* standIn = menu->addAction(QString::fromUtf8(text));
    standIn->setEnabled(false);
    return standIn;
}

} // namespace

CMapView2D::CMapView2D(CMapDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document),
      m_geometry(std::make_shared<View2DGeometry>()) {
    m_viewType = TakeInitialViewType();
    m_axes = AxesForViewType(m_viewType);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::ArrowCursor);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnScrollAction(bar, action); });
    }
    SetZoom(kInitialZoom);
    ApplyScrollbarSetting();
    m_ownTools = std::make_unique<View2DTools>(*this);
    m_tool = m_ownTools.get();
}

CMapView2D::~CMapView2D() {
    m_document.RemoveView(this);
}

// --- type, zoom, scrolling ---

void CMapView2D::SetViewType(int type, bool force) {
    if (type < VIEW2D_XY || type > VIEW2D_XZ) {
        type = VIEW2D_XY;
    }
    if (type == m_viewType && !force) {
        return;
    }
    m_viewType = type;
    m_axes = AxesForViewType(type);
    viewport()->update();
    emit viewTypeChanged(type);
}

View2DTransform CMapView2D::Transform() const {
    View2DTransform t;
    t.axes = m_axes;
    t.zoom = m_zoom;
    t.scrollH = horizontalScrollBar()->value();
    t.scrollV = verticalScrollBar()->value();
    t.clientWidth = viewport()->width();
    t.clientHeight = viewport()->height();
    return t;
}

QPoint CMapView2D::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CMapView2D::ScrollTo(int h, int v) {
    horizontalScrollBar()->setValue(h);
    verticalScrollBar()->setValue(v);
}

void CMapView2D::SetZoom(float zoom) {
    if (zoom == m_zoom || !std::isfinite(zoom) || zoom <= 0.0f) {
        return;
    }
    if (!m_shown) {
        m_zoom = zoom;
        return;
    }
    QPoint kept = viewport()->mapFromGlobal(QCursor::pos());
    if (!viewport()->rect().contains(kept)) {
        kept = QPoint(viewport()->width() / 2, viewport()->height() / 2);
    }
    const int h = ScrollAfterZoom(horizontalScrollBar()->value(), kept.x(), m_zoom, zoom);
    const int v = ScrollAfterZoom(verticalScrollBar()->value(), kept.y(), m_zoom, zoom);
    m_zoom = zoom;
    m_blitScroll = false;
    UpdateScrollRanges();
    ScrollTo(h, v);
    m_blitScroll = true;
    viewport()->update();
    ShowStatus(4, ZoomText(m_zoom));
}

void CMapView2D::UpdateScrollRanges() {
    const ScrollRange range = ScrollRangeForZoom(m_zoom);
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const bool blit = m_blitScroll;
    m_blitScroll = false;
    h->setRange(range.minimum, range.maximum);
    v->setRange(range.minimum, range.maximum);
    m_blitScroll = blit;
    h->setPageStep(std::max(1, client.width()));
    v->setPageStep(std::max(1, client.height()));
    h->setSingleStep(std::max(1, client.width() / 4));
    v->setSingleStep(std::max(1, client.height() / 4));
}

void CMapView2D::ApplyScrollbarSetting() {
    const Qt::ScrollBarPolicy policy =
        Editor().options.scrollbars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

// A line is a quarter of the page and a page click half of it; the position stays within the
// range (up to its maximum, not the maximum minus the page).
void CMapView2D::OnScrollAction(QScrollBar* bar, int action) {
    const int page = bar->pageStep();
    const int from = bar->value();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        bar->setSliderPosition(from + page / 4);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        bar->setSliderPosition(from - page / 4);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        bar->setSliderPosition(from + page / 2);
        break;
    case QAbstractSlider::SliderPageStepSub:
        bar->setSliderPosition(from - page / 2);
        break;
    default:
        break;
    }
}

void CMapView2D::ScrollByLines(QScrollBar* bar, int direction) {
    bar->setValue(bar->value() + direction * (bar->pageStep() / 4));
}

void CMapView2D::scrollContentsBy(int dx, int dy) {
    if (m_blitScroll) {
        viewport()->scroll(dx, dy);
    } else {
        viewport()->update();
    }
}

void CMapView2D::CenterOnPoint(std::optional<float> horizontal, std::optional<float> vertical) {
    Vector center;
    if (CMapWorld* world = m_document.World(); world && !world->Bounds().IsEmpty()) {
        center = world->Bounds().Center();
    }
    const float h = horizontal.value_or(center[m_axes.horizontal]);
    const float v = vertical.value_or(center[m_axes.vertical]);
    const bool blit = m_blitScroll;
    m_blitScroll = false;
    ScrollTo(ScrollToCenter(h, m_axes.invertHorizontal, viewport()->width(), m_zoom),
             ScrollToCenter(v, m_axes.invertVertical, viewport()->height(), m_zoom));
    m_blitScroll = blit;
    viewport()->update();
}

void CMapView2D::CenterOn(const Vector& point) {
    CenterOnPoint(point[m_axes.horizontal], point[m_axes.vertical]);
}

Vector CMapView2D::ClientCenterInMap() const {
    const PixelPoint world = ClientToWorld(viewport()->width() / 2, viewport()->height() / 2);
    Vector center;
    center[m_axes.horizontal] = static_cast<float>(world.x);
    center[m_axes.vertical] = static_cast<float>(world.y);
    return center;
}

Vector CMapView2D::ClickToPoint3D(int x, int y) const {
    Vector point{kUnsetCoordinate, kUnsetCoordinate, kUnsetCoordinate};
    const PixelPoint world = ClientToWorld(x, y);
    point[m_axes.horizontal] = static_cast<float>(world.x);
    point[m_axes.vertical] = static_cast<float>(world.y);
    for (MapDocView* view : m_document.Views()) {
        if (view->Is3D()) {
            continue;
        }
        const Vector center = view->ClientCenterInMap();
        for (int axis : {view->HorizontalAxis(), view->VerticalAxis()}) {
            if (axis >= 0 && axis < 3 && point[axis] == kUnsetCoordinate) {
                point[axis] = center[axis];
            }
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (point[axis] == kUnsetCoordinate) {
            point[axis] = 0.0f;
        }
    }
    return point;
}

// --- document updates ---

void CMapView2D::ShareGeometry(std::shared_ptr<View2DGeometry> geometry) {
    if (geometry) {
        m_geometry = std::move(geometry);
        viewport()->update();
    }
}

void CMapView2D::OnDocumentUpdate(int flags, const CUpdateHint* hint) {
    // Whatever the update says, the map may have changed: the next paint packs it again.
    m_geometry->Invalidate();
    if (flags & UPDATE_3D_ONLY) {
        return;
    }
    if (flags & UPDATE_SCROLLBARS) {
        ApplyScrollbarSetting();
        viewport()->update();
        return;
    }
    if (!(flags & (UPDATE_REDRAW | UPDATE_OBJECTS))) {
        return;
    }
    if (hint && !hint->box.IsEmpty()) {
        viewport()->update(ToQRect(Transform().BoxToClient(hint->box).Grown(10)));
    } else {
        viewport()->update();
    }
}

void CMapView2D::SetRedrawSuspended(bool suspended) {
    viewport()->setUpdatesEnabled(!suspended);
}

void CMapView2D::Invalidate() {
    viewport()->update();
}

void CMapView2D::ToolHandles(int code) {
    DrawTool(code);
}

void CMapView2D::SetToolHandler(View2DToolHandler* handler) {
    m_tool = handler;
    viewport()->update();
}

void CMapView2D::DrawTool(int mode) {
    (void)mode; // the feedback is drawn over every paint; the tool keeps what it shows
    if (m_tool && m_tool == m_ownTools.get()) {
        m_ownTools->ToolFeedbackChanged();
    } else if (m_tool) {
        viewport()->update();
    }
}

// --- painting ---

void CMapView2D::paintEvent(QPaintEvent* event) {
    QElapsedTimer timer;
    timer.start();
    const QSize size = viewport()->size();
    if (size.isEmpty()) {
        return;
    }
    if (m_buffer.size() != size) {
        m_buffer = QImage(size, QImage::Format_RGB32);
    }
    PixelCanvas canvas(reinterpret_cast<std::uint32_t*>(m_buffer.bits()), size.width(),
                       size.height(), static_cast<int>(m_buffer.bytesPerLine() / 4));
    View2DScene scene;
    scene.world = m_document.World();
    scene.geometry = m_geometry.get();
    scene.transform = Transform();
    scene.gridSize = m_document.GridSize();
    scene.showGrid = m_document.ShowGrid();
    scene.showConnections = m_document.ShowConnections();
    scene.drawVertices = Editor().options.drawVertices;
    scene.leakTrail = &m_document.LeakTrail().points;
    QPainter painter(viewport());
    // Tool feedback repaints thin strips: each strip of the region is painted on its own.
    const QRegion region = event->region() & viewport()->rect();
    const bool manyStrips = region.rectCount() > 16;
    for (const QRect& dirty : manyStrips ? QRegion(region.boundingRect()) : region) {
        canvas.SetClip({dirty.left(), dirty.top(), dirty.right(), dirty.bottom()});
        PaintView2D(scene, canvas);
        painter.drawImage(dirty.topLeft(), m_buffer, dirty);
    }
    if (m_tool) {
        m_tool->Draw(*this, painter, -1);
    }
    ++m_paintCount;
    m_lastPaintMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    emit painted();
}

void CMapView2D::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CMapView2D::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    SetViewType(m_viewType, true);
    UpdateScrollRanges();
    CenterOnPoint(std::nullopt, std::nullopt);
    m_autoScrollTimer.start(kAutoScrollInterval, this);
    if (!m_registered) {
        m_document.AddView(this);
        m_registered = true;
    }
}

// --- keyboard ---

bool CMapView2D::focusNextPrevChild(bool) {
    return false; // Tab cycles the view type instead of moving the focus
}

void CMapView2D::ApplyZoomKey(float zoom, bool allViews) {
    if (allViews) {
        m_document.CenterViews(1, zoom, Vector{});
    } else {
        SetZoom(zoom);
    }
}

void CMapView2D::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        SetZoom(DigitZoom(key - Qt::Key_0));
        return;
    }
    // The tool comes first: Enter, Escape and the keys it takes while it works (Tab).
    if (m_tool && m_tool->Key(*this, *event)) {
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
        SetViewType(NextViewType(m_viewType));
        return;
    case Qt::Key_Backtab:
        SetViewType(PreviousViewType(m_viewType));
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (auto zoom = ZoomInStep(m_zoom)) {
            ApplyZoomKey(*zoom, ctrl);
        }
        return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (auto zoom = ZoomOutStep(m_zoom)) {
            ApplyZoomKey(*zoom, ctrl);
        }
        return;
    case Qt::Key_Left:
        ScrollByLines(horizontalScrollBar(), -1);
        return;
    case Qt::Key_Right:
        ScrollByLines(horizontalScrollBar(), 1);
        return;
    case Qt::Key_Up:
        ScrollByLines(verticalScrollBar(), -1);
        return;
    case Qt::Key_Down:
        ScrollByLines(verticalScrollBar(), 1);
        return;
    case Qt::Key_PageUp:
        m_document.PickNext();
        return;
    case Qt::Key_PageDown:
        m_document.PickPrevious();
        return;
    case Qt::Key_Delete:
        CommandRegistry::Trigger(CommandId::Delete);
        return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spaceHeld = true;
        }
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CMapView2D::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_spaceHeld = false;
        return;
    }
    QWidget::keyReleaseEvent(event);
}

// --- mouse ---

void CMapView2D::mousePressEvent(QMouseEvent* event) {
    m_lastMousePos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_pressPoint = m_lastMousePos;
        if (m_spaceHeld) {
            m_panning = true;
            m_panDelta = QPoint();
            m_panTimer.start(kPanInterval, this);
            return;
        }
    }
    if (m_tool && m_tool->MousePress(*this, *event)) {
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CMapView2D::mouseMoveEvent(QMouseEvent* event) {
    HandleMove(event->position().toPoint(), event->buttons(), event->modifiers());
    if (!m_panning && m_tool) {
        m_tool->MouseMove(*this, *event);
    }
}

void CMapView2D::HandleMove(const QPoint& position, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers) {
    m_lastMousePos = position;
    m_lastButtons = buttons;
    QWidget* activeWindow = QApplication::activeWindow();
    if (isVisible() && !hasFocus() && (!activeWindow || activeWindow == window())) {
        setFocus(Qt::MouseFocusReason);
    }
    if (m_panning) {
        m_panDelta = position - m_pressPoint;
        return;
    }
    m_autoScroll = AutoScrollStepFor(position.x(), position.y(), viewport()->width(),
                                     viewport()->height(), buttons != Qt::NoButton);
    const PixelPoint world = ClientToWorld(position.x(), position.y());
    ShowStatus(2, PositionText(world.x, world.y, m_document.GridSize(),
                               modifiers.testFlag(Qt::AltModifier)));
}

void CMapView2D::mouseReleaseEvent(QMouseEvent* event) {
    m_lastButtons = event->buttons();
    if (m_panning && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        StopPanning();
        return;
    }
    m_autoScroll = {};
    if (m_tool && m_tool->MouseRelease(*this, *event)) {
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CMapView2D::StopPanning() {
    m_panning = false;
    m_panDelta = QPoint();
    m_panTimer.stop();
}

void CMapView2D::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_autoScrollTimer.timerId()) {
        if (m_autoScroll.IsZero()) {
            return;
        }
        const QPoint scroll = ScrollPosition();
        ScrollTo(scroll.x() - m_autoScroll.h, scroll.y() - m_autoScroll.v);
        // The tool sees a fresh move at the pointer, as if the mouse had moved.
        QMouseEvent move(QEvent::MouseMove, m_lastMousePos, viewport()->mapToGlobal(m_lastMousePos),
                         Qt::NoButton, m_lastButtons, QGuiApplication::keyboardModifiers());
        HandleMove(m_lastMousePos, m_lastButtons, move.modifiers());
        if (m_tool) {
            m_tool->MouseMove(*this, move);
        }
    } else if (event->timerId() == m_panTimer.timerId()) {
        m_pressPoint = m_lastMousePos;
        const QPoint scroll = ScrollPosition();
        ScrollTo(scroll.x() - m_panDelta.x(), scroll.y() - m_panDelta.y());
        m_panDelta = QPoint();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// --- activation ---

void CMapView2D::SetActiveView(bool active) {
    m_active = active;
    if (active) {
        ShowStatus(4, ZoomText(m_zoom));
        CMapDoc::SetActiveMapDoc(&m_document);
    } else {
        m_autoScroll = {};
    }
}

void CMapView2D::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    if (!m_active) {
        SetActiveView(true);
    }
    emit activated(this);
}

void CMapView2D::focusOutEvent(QFocusEvent* event) {
    m_spaceHeld = false;
    QAbstractScrollArea::focusOutEvent(event);
}

int CMapView2D::CurrentTool() const {
    MainFrameSink* frame = Editor().mainFrame;
    return frame ? frame->CurrentTool() : TOOL_SELECTION;
}

void CMapView2D::ShowStatus(int pane, const std::string& text) const {
    if (StatusPanes* panes = Editor().statusPanes) {
        panes->SetPaneText(pane, text);
    }
}

// --- context menu ---

int CMapView2D::ContextMenuKindAt(const QPoint& position) const {
    const View2DTransform t = Transform();
    const PixelPoint world = t.ClientToWorld(position.x(), position.y());
    View2DMenuState state;
    state.panning = m_panning;
    state.dragging = m_tool && m_tool->Dragging(*this);
    state.insideClient = viewport()->rect().contains(position);
    state.tool = CurrentTool();
    state.selectionEmpty = m_document.Selection().IsEmpty();
    // The selection box is hit-tested 4 pixels outside the objects plus its handles.
    state.hitsSelection =
        PixelHitsBox(t, m_document.Selection().Bounds(), position.x(), position.y(), 8);
    state.blockBoxDrawn = !m_document.blockBox.IsEmpty();
    state.hitsBlockBox = PixelHitsBox(t, m_document.blockBox, position.x(), position.y(), 4);
    state.entityMarkerPlaced = m_document.entityPoint.has_value();
    state.hitsEntityMarker =
        state.entityMarkerPlaced && HitsEntityMarker(t, *m_document.entityPoint, world.x, world.y);
    return static_cast<int>(ChooseView2DMenu(state));
}

QMenu* CMapView2D::BuildContextMenu(int kind) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    switch (static_cast<View2DMenu>(kind)) {
    case View2DMenu::Selection: {
        AddCommand(menu, CommandId::Cut, "Cu&t\tCtrl+X");
        AddCommand(menu, CommandId::Copy, "&Copy\tCtrl+C");
        AddCommand(menu, CommandId::Delete, "&Delete\tDel");
        menu->addSeparator();
        AddCommand(menu, CommandId::Carve, "&Carve\tShift+Ctrl+C");
        AddCommand(menu, CommandId::MakeHollow, "Make Hollow\tCtrl+H");
        menu->addSeparator();
        AddCommand(menu, CommandId::Group, "&Group\tCtrl+G");
        AddCommand(menu, CommandId::Ungroup, "&Ungroup\tCtrl+U");
        AddCommand(menu, CommandId::TieToEntity, "&Tie to entity\tCtrl+T");
        AddCommand(menu, CommandId::MoveToWorld, "&Move to world\tCtrl+W");
        QMenu* align = menu->addMenu("&Align");
        AddCommand(align, CommandId::AlignLeft, "To &Left");
        AddCommand(align, CommandId::AlignRight, "To &Right");
        AddCommand(align, CommandId::AlignTop, "To &Top");
        AddCommand(align, CommandId::AlignBottom, "To &Bottom");
        menu->addSeparator();
        AddCommand(menu, CommandId::Properties, "&Properties");
        break;
    }
    case View2DMenu::Creation:
        AddCommand(menu, CommandId::CreateObject, "&Create object");
        break;
    case View2DMenu::View: {
        AddCommand(menu, CommandId::Paste, "&Paste\tCtrl+V");
        menu->addSeparator();
        const char* texts[] = {"View &X/Y", "View &Y/Z", "View X/&Z"};
        for (int type = VIEW2D_XY; type <= VIEW2D_XZ; ++type) {
            QAction* action = menu->addAction(texts[type]);
            action->setCheckable(true);
            action->setChecked(type == m_viewType);
            connect(action, &QAction::triggered, this, [this, type] { SetViewType(type); });
        }
        break;
    }
    case View2DMenu::None:
        break;
    }
    return menu;
}

void CMapView2D::contextMenuEvent(QContextMenuEvent* event) {
    const int kind = ContextMenuKindAt(event->pos());
    if (static_cast<View2DMenu>(kind) == View2DMenu::None) {
        return;
    }
    BuildContextMenu(kind)->popup(event->globalPos());
}
