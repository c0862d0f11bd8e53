#include "app/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title)
    : QDialog(owner), m_owner(owner), m_bar(new QProgressBar(this)), m_label(new QLabel(this)) {
    setWindowTitle(title);
    setModal(false);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    auto* cancel = new QPushButton("Cancel", this);
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_label);
    layout->addWidget(cancel);
    SetPosition(0);
    if (m_owner) {
        m_owner->setEnabled(false);
        setEnabled(true);
    }
    show();
}

ProgressWindow::~ProgressWindow() {
    if (m_owner) {
        m_owner->setEnabled(true);
    }
}

void ProgressWindow::SetPosition(int percent) {
    percent = std::clamp(percent, 0, 100);
    m_bar->setValue(percent);
    m_label->setText(QString::asprintf("%d%c", percent, '%'));
    QApplication::processEvents();
}

int ProgressWindow::Position() const {
    return m_bar->value();
}

QString ProgressWindow::PercentText() const {
    return m_label->text();
}
