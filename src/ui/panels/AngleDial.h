#pragma once

#include <QWidget>

// The angle dial of the Class Info page: a circle with a centre dot and, for an angle from 0
// to 359, a radius line in that direction. Dragging points it at the mouse.
class AngleDial : public QWidget {
    Q_OBJECT
public:
    explicit AngleDial(QWidget* parent = nullptr);

    int Angle() const { return m_angle; }
    // -1 (or any angle outside 0..359) draws no direction.
    void SetAngle(int angle);
    QSize sizeHint() const override { return {48, 48}; }

signals:
    // While the mouse drags.
    void angleDragged(int angle);
    // When the button is released.
    void angleChosen(int angle);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int AngleAt(const QPointF& point) const;

    int m_angle = -1;
    bool m_dragging = false;
};
