#include "ProgressWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)), status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Installation Progress"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(status_);
    setMinimumWidth(360);
}

void ProgressWindow::Open(int maximum) {
    bar_->setRange(0, maximum);
    bar_->setValue(0);
    show();
    raise();
    Repaint();
}

void ProgressWindow::SetStatus(const QString& text) {
    status_->setText(text);
    Repaint();
}

void ProgressWindow::SetPosition(int position) {
    bar_->setValue(position);
    Repaint();
}

void ProgressWindow::Close() {
    hide();
}

QString ProgressWindow::StatusText() const {
    return status_->text();
}

int ProgressWindow::Position() const {
    return bar_->value();
}

int ProgressWindow::Maximum() const {
    return bar_->maximum();
}

void ProgressWindow::Repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
