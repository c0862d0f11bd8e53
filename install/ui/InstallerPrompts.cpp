#include "InstallerPrompts.h"

#include <QMessageBox>

void MessageBoxPrompts::Message(QWidget* parent, Icon icon, const QString& caption,
                                const QString& text) {
    switch (icon) {
    case Icon::Information:
        QMessageBox::information(parent, caption, text);
        break;
    case Icon::Warning:
        QMessageBox::warning(parent, caption, text);
        break;
    case Icon::Error:
        QMessageBox::critical(parent, caption, text);
        break;
    }
}

bool MessageBoxPrompts::YesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}
