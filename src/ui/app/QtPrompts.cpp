#include "app/QtPrompts.h"

#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

namespace {

QString& LastFolder() {
    static QString folder;
    return folder;
}

// The start of a file dialog: the caller's path when it names a folder, else that name in
// the folder used last.
QString StartPath(const std::string& initialPath) {
    const QString path = QString::fromStdString(initialPath);
    if (LastFolder().isEmpty() || (!path.isEmpty() && QFileInfo(path).isAbsolute())) {
        return path;
    }
    return path.isEmpty() ? LastFolder() : LastFolder() + "/" + path;
}

// Once the dialog is gone, the view under the pointer takes the keys again (the window system
// hands the activation back a moment later, so this is done again after the events queued).
void ReturnFocusToTheViews() {
    FocusMapViewAt(QCursor::pos());
    QTimer::singleShot(0, qApp, [] { FocusMapViewAt(QCursor::pos()); });
}

QMessageBox::Icon ToQt(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Error:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption) {
    return caption.empty() ? QStringLiteral("Brickhaven") : QString::fromStdString(caption);
}

Prompts::Answer Ask(QWidget* parent, const std::string& text, Prompts::Icon icon,
                    const std::string& caption, QMessageBox::StandardButtons buttons,
                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(ToQt(icon), Caption(caption), QString::fromStdString(text), buttons, parent);
    box.setDefaultButton(defaultButton);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Prompts::Answer::Yes;
    case QMessageBox::No:
        return Prompts::Answer::No;
    case QMessageBox::Ok:
        return Prompts::Answer::Ok;
    default:
        return Prompts::Answer::Cancel;
    }
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

} // namespace

void QtPrompts::Message(const std::string& text, Icon icon, const std::string& caption) {
    Ask(m_parent, text, icon, caption, QMessageBox::Ok, QMessageBox::Ok);
}

Prompts::Answer QtPrompts::YesNo(const std::string& text, Icon icon, const std::string& caption) {
    return Ask(m_parent, text, icon, caption, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

Prompts::Answer QtPrompts::YesNoCancel(const std::string& text, Icon icon,
                                       const std::string& caption) {
    return Ask(m_parent, text, icon, caption,
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

Prompts::Answer QtPrompts::OkCancel(const std::string& text, Icon icon,
                                    const std::string& caption) {
    return Ask(m_parent, text, icon, caption, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Ok);
}

bool QtPrompts::MessageWithCheck(const std::string& caption, const std::string& text,
                                 const std::string& checkText) {
    QMessageBox box(QMessageBox::Warning, Caption(caption), QString::fromStdString(text),
                    QMessageBox::Ok, m_parent);
    auto* check = new QCheckBox(QString::fromStdString(checkText));
    box.setCheckBox(check);
    box.exec();
    return check->isChecked();
}

QString LastFileFolder() {
    return LastFolder();
}

void RememberFileFolder(const QString& file) {
    if (!file.isEmpty()) {
        LastFolder() = QFileInfo(file).absolutePath();
    }
}

bool FocusMapViewAt(const QPoint& global) {
    QWidget* widget = QApplication::widgetAt(global);
    while (widget && !qobject_cast<CMapView2D*>(widget) && !qobject_cast<CMapView3D*>(widget)) {
        widget = widget->parentWidget();
    }
    if (!widget || !widget->isVisible()) {
        return false;
    }
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    return true;
}

std::optional<std::string> QtPrompts::OpenFileName(const std::string& caption,
                                                   const std::string& filter,
                                                   const std::string& initialPath) {
    const QString file =
        QFileDialog::getOpenFileName(m_parent, QString::fromStdString(caption),
                                     StartPath(initialPath), QString::fromStdString(filter));
    ReturnFocusToTheViews();
    RememberFileFolder(file);
    return Chosen(file);
}

std::optional<std::string> QtPrompts::SaveFileName(const std::string& caption,
                                                   const std::string& filter,
                                                   const std::string& initialPath) {
    const QString file =
        QFileDialog::getSaveFileName(m_parent, QString::fromStdString(caption),
                                     StartPath(initialPath), QString::fromStdString(filter));
    ReturnFocusToTheViews();
    RememberFileFolder(file);
    return Chosen(file);
}

std::optional<std::string> QtPrompts::InputText(const std::string& caption,
                                                const std::string& label,
                                                const std::string& initialText) {
    bool ok = false;
    QString text =
        QInputDialog::getText(m_parent, Caption(caption), QString::fromStdString(label),
                              QLineEdit::Normal, QString::fromStdString(initialText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<int> QtPrompts::InputNumber(const std::string& caption, const std::string& label,
                                          int initial, int minimum, int maximum) {
    bool ok = false;
    const int value =
        QInputDialog::getInt(m_parent, Caption(caption), QString::fromStdString(label), initial,
                             minimum, maximum, 1, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

namespace {

// A file dialog that tells which of its filters was chosen; checkText adds a check box below.
std::optional<Prompts::FileChoice> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                                 const std::string& caption,
                                                 const std::string& filter,
                                                 const std::string& initialPath,
                                                 const std::string& checkText, bool* checked) {
    QFileDialog dialog(parent, QString::fromStdString(caption), StartPath(initialPath),
                       QString::fromStdString(filter));
    dialog.setAcceptMode(mode);
    // Names are checked by the caller (a missing file has its own message).
    dialog.setFileMode(QFileDialog::AnyFile);
    QCheckBox* check = nullptr;
    if (!checkText.empty()) {
        // The check box needs the dialog's own layout.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        check = new QCheckBox(QString::fromStdString(checkText), &dialog);
        check->setChecked(checked && *checked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    dialog.hide();
    ReturnFocusToTheViews();
    if (!accepted) {
        return std::nullopt;
    }
    RememberFileFolder(dialog.selectedFiles().front());
    if (check && checked) {
        *checked = check->isChecked();
    }
    const int index = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return Prompts::FileChoice{dialog.selectedFiles().front().toStdString(), std::max(0, index)};
}

} // namespace

std::optional<Prompts::FileChoice> QtPrompts::ChooseSaveFile(const std::string& caption,
                                                             const std::string& filter,
                                                             const std::string& initialPath,
                                                             const std::string& checkText,
                                                             bool* checked) {
    return RunFileDialog(m_parent, QFileDialog::AcceptSave, caption, filter, initialPath, checkText,
                         checked);
}

std::optional<Prompts::FileChoice> QtPrompts::ChooseOpenFile(const std::string& caption,
                                                             const std::string& filter,
                                                             const std::string& initialPath) {
    return RunFileDialog(m_parent, QFileDialog::AcceptOpen, caption, filter, initialPath, {},
                         nullptr);
}
