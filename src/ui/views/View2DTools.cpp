#include "views/View2DTools.h"

#include "common/StatusPanes.h"
#include "document/MapDoc.h"
#include "session/EditorContext.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace {

ToolKeys KeysOf(Qt::KeyboardModifiers modifiers) {
    ToolKeys keys;
    keys.ctrl = modifiers.testFlag(Qt::ControlModifier);
    keys.shift = modifiers.testFlag(Qt::ShiftModifier);
    keys.alt = modifiers.testFlag(Qt::AltModifier);
    return keys;
}

// The colour an exclusive-or colour shows on the white background. The feedback is painted in
// that colour, so it stays visible where it crosses the map's own black lines.
QColor ShownColor(std::uint32_t xorColor) {
    const std::uint32_t rgb = xorColor ^ kXorBase;
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QRect SegmentRect(const PixelPoint& a, const PixelPoint& b) {
    return QRect(QPoint(std::min(a.x, b.x) - 1, std::min(a.y, b.y) - 1),
                 QPoint(std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1));
}

// A magnifying glass: a ring with a handle towards the bottom right.
QCursor MakeMagnifyCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPoint(12, 12), 8, 8);
    p.drawLine(18, 18, 28, 28);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPoint(12, 12), 8, 8);
    p.drawLine(18, 18, 28, 28);
    p.drawLine(8, 12, 16, 12);
    p.drawLine(12, 8, 12, 16);
    p.end();
    return QCursor(pixmap, 12, 12);
}

// A cross with a small entity box at its lower right.
QCursor MakeEntityCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(8, 0, 8, 16);
    p.drawLine(0, 8, 16, 8);
    p.drawRect(17, 17, 10, 10);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(8, 0, 8, 16);
    p.drawLine(0, 8, 16, 8);
    p.setBrush(QColor(220, 30, 220));
    p.drawRect(17, 17, 10, 10);
    p.end();
    return QCursor(pixmap, 8, 8);
}

} // namespace

View2DTools::View2DTools(CMapView2D& view) : m_view(view), m_machine(view.Document(), *this) {}

bool View2DTools::MousePress(CMapView2D&, QMouseEvent& event) {
    const QPoint p = event.position().toPoint();
    if (event.button() == Qt::LeftButton) {
        m_machine.LeftDown(p.x(), p.y(), KeysOf(event.modifiers()));
        return true;
    }
    if (event.button() == Qt::RightButton) {
        m_machine.RightDown();
    }
    return false;
}

bool View2DTools::MouseMove(CMapView2D&, QMouseEvent& event) {
    const QPoint p = event.position().toPoint();
    m_machine.Move(p.x(), p.y(), KeysOf(event.modifiers()),
                   event.buttons().testFlag(Qt::LeftButton));
    return true;
}

bool View2DTools::MouseRelease(CMapView2D&, QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return false;
    }
    const QPoint p = event.position().toPoint();
    m_machine.LeftUp(p.x(), p.y(), KeysOf(event.modifiers()));
    return true;
}

bool View2DTools::Key(CMapView2D&, QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return m_machine.Enter(event.modifiers().testFlag(Qt::ShiftModifier));
    case Qt::Key_Escape:
        return m_machine.Escape();
    case Qt::Key_Tab:
        return m_machine.Key(ToolKey::Tab, KeysOf(event.modifiers()));
    case Qt::Key_Backtab:
        return m_machine.Key(ToolKey::Backtab, KeysOf(event.modifiers()));
    case Qt::Key_Delete:
        return m_machine.Key(ToolKey::Delete, KeysOf(event.modifiers()));
    default:
        return false;
    }
}

bool View2DTools::Dragging(const CMapView2D&) const {
    return m_machine.Dragging();
}

ToolDrawing View2DTools::CurrentDrawing() {
    return m_machine.Draw();
}

void View2DTools::Draw(CMapView2D&, QPainter& painter, int) {
    m_drawn = CurrentDrawing();
    Paint(painter, m_drawn);
}

void View2DTools::ToolFeedbackChanged() {
    const ToolDrawing next = CurrentDrawing();
    if (next == m_drawn) {
        return;
    }
    QRegion region = RegionOf(m_drawn) + RegionOf(next);
    m_view.viewport()->update(region & m_view.viewport()->rect());
}

QRegion View2DTools::RegionOf(const ToolDrawing& drawing) {
    QRegion region;
    for (const ToolShape& shape : drawing.shapes) {
        switch (shape.kind) {
        case ToolShape::Outline:
            for (std::size_t i = 0; i < shape.points.size(); ++i) {
                region += SegmentRect(shape.points[i], shape.points[(i + 1) % shape.points.size()]);
            }
            break;
        case ToolShape::Line:
            if (shape.points.size() == 2) {
                region += SegmentRect(shape.points[0], shape.points[1]);
            }
            break;
        default:
            if (!shape.points.empty()) {
                const PixelPoint& c = shape.points[0];
                region += QRect(c.x - 5, c.y - 5, 11, 11);
            }
            break;
        }
    }
    return region;
}

void View2DTools::Paint(QPainter& painter, const ToolDrawing& drawing) {
    if (drawing.shapes.empty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const ToolShape& shape : drawing.shapes) {
        const QColor color = ShownColor(shape.xorColor);
        switch (shape.kind) {
        case ToolShape::Outline: {
            QPen pen(color, 0, shape.dotted ? Qt::DotLine : Qt::SolidLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            QPolygon polygon;
            for (const PixelPoint& p : shape.points) {
                polygon << QPoint(p.x, p.y);
            }
            painter.drawPolygon(polygon);
            break;
        }
        case ToolShape::Line:
            painter.setPen(QPen(color, 0));
            if (shape.points.size() == 2) {
                painter.drawLine(shape.points[0].x, shape.points[0].y, shape.points[1].x,
                                 shape.points[1].y);
            }
            break;
        case ToolShape::Square:
            painter.fillRect(QRect(shape.points[0].x - 4, shape.points[0].y - 4, 8, 8), color);
            break;
        case ToolShape::Dot:
            painter.fillRect(QRect(shape.points[0].x - 2, shape.points[0].y - 2, 5, 5), color);
            break;
        case ToolShape::Circle:
        case ToolShape::Disc: {
            const int radius = 4;
            QPainterPath path;
            path.addEllipse(QRectF(shape.points[0].x - radius, shape.points[0].y - radius,
                                   2 * radius, 2 * radius));
            painter.fillPath(path, color);
            break;
        }
        }
    }
    painter.restore();
}

const QCursor& View2DTools::CursorFor(ToolCursor cursor) {
    static const QCursor arrow(Qt::ArrowCursor);
    static const QCursor cross(Qt::CrossCursor);
    static const QCursor ns(Qt::SizeVerCursor);
    static const QCursor we(Qt::SizeHorCursor);
    static const QCursor nesw(Qt::SizeBDiagCursor);
    static const QCursor nwse(Qt::SizeFDiagCursor);
    static const QCursor magnify = MakeMagnifyCursor();
    static const QCursor entity = MakeEntityCursor();
    switch (cursor) {
    case ToolCursor::Cross:
        return cross;
    case ToolCursor::SizeNS:
        return ns;
    case ToolCursor::SizeWE:
        return we;
    case ToolCursor::SizeNESW:
        return nesw;
    case ToolCursor::SizeNWSE:
        return nwse;
    case ToolCursor::Magnify:
        return magnify;
    case ToolCursor::Entity:
        return entity;
    default:
        return arrow;
    }
}

View2DTransform View2DTools::ToolTransform() const {
    return m_view.Transform();
}

Vector View2DTools::ClickTo3D(int x, int y) const {
    return m_view.ClickToPoint3D(x, y);
}

void View2DTools::ZoomBy(float factor) {
    m_view.SetZoom(m_view.Zoom() * factor);
}

void View2DTools::ShowToolCursor(ToolCursor cursor) {
    m_view.viewport()->setCursor(CursorFor(cursor));
}

void View2DTools::CameraPlaced(const Vector& position, const Vector& lookAt) {
    for (MapDocView* view : m_view.Document().Views()) {
        if (auto* view3D = dynamic_cast<CMapView3D*>(view)) {
            view3D->TakeCamera(position, lookAt);
        }
    }
}

void View2DTools::ShowToolStatus(const std::string& text) {
    if (StatusPanes* panes = Editor().statusPanes) {
        panes->SetPaneText(3, text);
    }
}

MapDocView* View2DTools::DocumentView() {
    return &m_view;
}
