#include "panels/ProcessWindow.h"

#include "document/ProcessOutput.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

ProcessWindow::ProcessWindow(ProcessOutput& output, QWidget* parent)
    : QWidget(parent, Qt::Window), m_output(output), m_text(new QPlainTextEdit(this)),
      m_stop(new QPushButton("Stop", this)) {
    setWindowTitle("Process Window");
    setObjectName("ProcessWindow");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_text->setObjectName("ProcessText");
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette white = m_text->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    m_text->setPalette(white);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    m_text->setFont(fixed);
    layout->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_stop->setObjectName("Stop");
    m_stop->setEnabled(false);
    buttons->addWidget(m_stop);
    layout->addLayout(buttons);
    move(50, 50);
    resize(500, 300);

    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_stopRequested = true;
        m_stop->setEnabled(false);
    });
    m_output.SetObserver([this](const std::string& text, bool replaceLine) {
        if (text.empty() && !replaceLine) {
            m_text->clear();
        } else {
            Append(text, replaceLine);
        }
    });
}

ProcessWindow::~ProcessWindow() {
    m_output.SetObserver({});
}

void ProcessWindow::SetRunning(bool running) {
    if (running) {
        m_stopRequested = false;
    }
    m_stop->setEnabled(running);
}

void ProcessWindow::Append(const std::string& text, bool replaceLine) {
    QString shown = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    shown.remove('\r');
    QTextCursor cursor = m_text->textCursor();
    cursor.movePosition(QTextCursor::End);
    if (replaceLine) {
        // A progress line written over itself: the last line goes, the new text takes its place.
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.insertText(shown);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
}
