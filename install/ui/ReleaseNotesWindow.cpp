#include "ReleaseNotesWindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

ReleaseNotesWindow::ReleaseNotesWindow(const QString& path, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
    setWindowTitle(QFileInfo(path).fileName());
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        text_->setPlainText(QString::fromUtf8(file.readAll()));
    } else {
        text_->setPlainText(QStringLiteral("%1 could not be read.").arg(path));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(640, 480);
}

QString ReleaseNotesWindow::Text() const {
    return text_->toPlainText();
}
