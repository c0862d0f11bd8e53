#include "app/PaneGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

PaneGrid::PaneGrid(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

QWidget* PaneGrid::SetPane(int row, int column, QWidget* pane) {
    QWidget*& slot = m_panes[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    QWidget* old = slot;
    slot = pane;
    if (pane) {
        pane->setParent(this);
        pane->show();
    }
    Relayout();
    return old;
}

QWidget* PaneGrid::Pane(int row, int column) const {
    return m_panes[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::optional<PaneGrid::Cell> PaneGrid::CellOf(const QWidget* widget) const {
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QWidget* pane = Pane(row, column);
            if (pane && widget && (pane == widget || pane->isAncestorOf(widget))) {
                return Cell{row, column};
            }
        }
    }
    return std::nullopt;
}

void PaneGrid::SetRowHeight(int row, int height) {
    m_rowRequested[static_cast<std::size_t>(row)] = std::max(0, height);
}

void PaneGrid::SetColumnWidth(int column, int width) {
    m_columnRequested[static_cast<std::size_t>(column)] = std::max(0, width);
}

void PaneGrid::Split(int available, const std::array<double, 2>& requested,
                     std::array<int, 2>& actual) {
    available = std::max(0, available);
    const bool first = requested[0] > 0;
    const bool second = requested[1] > 0;
    if (first && second) {
        actual[0] = std::min(static_cast<int>(std::lround(requested[0])),
                             std::max(0, available - kBarSize));
        actual[1] = available - kBarSize - actual[0];
        if (actual[1] <= 0) {
            actual = {available, 0};
        }
    } else if (second) {
        actual = {0, available};
    } else {
        actual = {available, 0};
    }
}

void PaneGrid::Relayout() {
    // Each direction keeps the last size it had, so a grid squeezed to nothing in one
    // direction gets back its proportions there.
    if (width() > 0) {
        m_laidOutSize.setWidth(width());
    }
    if (height() > 0) {
        m_laidOutSize.setHeight(height());
    }
    Split(width(), m_columnRequested, m_columnActual);
    Split(height(), m_rowRequested, m_rowActual);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            QWidget* pane = Pane(row, column);
            if (!pane) {
                continue;
            }
            const int w = m_columnActual[static_cast<std::size_t>(column)];
            const int h = m_rowActual[static_cast<std::size_t>(row)];
            if (w <= 0 || h <= 0) {
                pane->hide();
                continue;
            }
            const int x =
                column == 0 ? 0 : (m_columnActual[0] > 0 ? m_columnActual[0] + kBarSize : 0);
            const int y = row == 0 ? 0 : (m_rowActual[0] > 0 ? m_rowActual[0] + kBarSize : 0);
            pane->setGeometry(x, y, w, h);
            pane->show();
        }
    }
    update();
}

void PaneGrid::Scale(std::array<double, 2>& requested, int from, int to) {
    if (from <= 0 || to <= 0 || from == to) {
        return;
    }
    for (double& size : requested) {
        size *= static_cast<double>(to) / from;
    }
}

void PaneGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // From the size of the last layout: a hidden grid gets its resizes in one event without
    // an old size.
    Scale(m_columnRequested, m_laidOutSize.width(), event->size().width());
    Scale(m_rowRequested, m_laidOutSize.height(), event->size().height());
    Relayout();
}

void PaneGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_painted) {
        m_painted = true;
        emit firstPainted();
    }
}

int PaneGrid::BarsAt(const QPoint& point) const {
    int bars = 0;
    if (m_columnActual[0] > 0 && m_columnActual[1] > 0 && point.x() >= m_columnActual[0] &&
        point.x() < m_columnActual[0] + kBarSize) {
        bars |= 1;
    }
    if (m_rowActual[0] > 0 && m_rowActual[1] > 0 && point.y() >= m_rowActual[0] &&
        point.y() < m_rowActual[0] + kBarSize) {
        bars |= 2;
    }
    return bars;
}

void PaneGrid::UpdateCursor(int bars) {
    if (bars == 3) {
        setCursor(Qt::SizeAllCursor);
    } else if (bars == 1) {
        setCursor(Qt::SplitHCursor);
    } else if (bars == 2) {
        setCursor(Qt::SplitVCursor);
    } else {
        unsetCursor();
    }
}

void PaneGrid::mousePressEvent(QMouseEvent* event) {
    m_dragging = event->button() == Qt::LeftButton ? BarsAt(event->position().toPoint()) : 0;
    m_dragOffset = event->position().toPoint() - QPoint(m_columnActual[0], m_rowActual[0]);
}

void PaneGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!m_dragging) {
        UpdateCursor(BarsAt(point));
        return;
    }
    if (m_dragging & 1) {
        m_columnRequested[0] = std::max(1, point.x() - m_dragOffset.x());
    }
    if (m_dragging & 2) {
        m_rowRequested[0] = std::max(1, point.y() - m_dragOffset.y());
    }
    Relayout();
}

void PaneGrid::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = 0;
}
