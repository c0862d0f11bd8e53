#include "app/MessageWindow.h"

#include "common/MessageLog.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

MessageWindow::MessageWindow(MessageLog& log, QWidget* parent)
    : QAbstractScrollArea(parent), m_log(log), m_font("Courier New", 10) {
    m_font.setStyleHint(QFont::Monospace);
    m_font.setFixedPitch(true);
    setWindowTitle("Messages");
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(pal);
    verticalScrollBar()->setSingleStep(kLineHeight);
    m_observerToken = m_log.AddObserver([this](const MessageLog::Line* line) {
        OnLogChanged(line && line->kind == MessageLog::Error);
    });
    UpdateScrollRanges();
}

MessageWindow::~MessageWindow() {
    m_log.RemoveObserver(m_observerToken);
}

int MessageWindow::FirstVisibleLine() const {
    return verticalScrollBar()->value() / kLineHeight;
}

void MessageWindow::OnLogChanged(bool error) {
    UpdateScrollRanges();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    viewport()->update();
    if (error) {
        emit errorLineAdded();
    }
}

void MessageWindow::UpdateScrollRanges() {
    QFontMetrics metrics(m_font);
    std::size_t widest = 0;
    for (const auto& line : m_log.Lines()) {
        widest = std::max(widest, line.text.size());
    }
    int contentWidth = static_cast<int>(widest) * metrics.horizontalAdvance('A');
    int contentHeight = static_cast<int>(m_log.Count()) * kLineHeight;
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void MessageWindow::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(m_font);
    QFontMetrics metrics(m_font);
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    int y = -dy;
    for (const auto& line : m_log.Lines()) {
        if (y + kLineHeight >= 0 && y <= viewport()->height()) {
            painter.setPen(line.kind == MessageLog::Error ? QColor(255, 60, 60) : QColor(0, 0, 0));
            painter.drawText(-dx, y + metrics.ascent(), QString::fromStdString(line.text));
        }
        y += kLineHeight;
    }
}

void MessageWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp:
        v->setValue(v->value() - v->pageStep());
        break;
    case Qt::Key_PageDown:
        v->setValue(v->value() + v->pageStep());
        break;
    case Qt::Key_Home:
        v->setValue(0);
        break;
    case Qt::Key_End:
        v->setValue(v->maximum());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    viewport()->update();
}
