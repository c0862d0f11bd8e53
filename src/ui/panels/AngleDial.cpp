#include "panels/AngleDial.h"

#include "properties/AngleText.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

AngleDial::AngleDial(QWidget* parent) : QWidget(parent) {
    setObjectName("AngleDial");
    setMinimumSize(40, 40);
}

void AngleDial::SetAngle(int angle) {
    if (angle != m_angle) {
        m_angle = angle;
        update();
    }
}

int AngleDial::AngleAt(const QPointF& point) const {
    const QPointF center = QRectF(rect()).center();
    return DialAngleForOffset(point.x() - center.x(), point.y() - center.y());
}

void AngleDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(2, 2, -2, -2);
    const double side = std::min(box.width(), box.height());
    const QPointF center = box.center();
    const double radius = side / 2.0;
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(center, radius, radius);
    painter.setBrush(palette().color(QPalette::WindowText));
    painter.drawEllipse(center, 2.0, 2.0);
    if (m_angle >= 0 && m_angle <= 359) {
        const double radians = m_angle * std::numbers::pi / 180.0;
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.drawLine(center,
                         center + QPointF(std::cos(radians) * radius, -std::sin(radians) * radius));
    }
}

void AngleDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        SetAngle(AngleAt(event->position()));
        emit angleDragged(m_angle);
    }
}

void AngleDial::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        SetAngle(AngleAt(event->position()));
        emit angleDragged(m_angle);
    }
}

void AngleDial::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        SetAngle(AngleAt(event->position()));
        emit angleChosen(m_angle);
    }
}
