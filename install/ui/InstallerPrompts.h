#pragma once

#include <QString>

class QWidget;

// The message boxes of the installer. The program shows real ones; tests record the texts and
// answer from a script, so no box ever waits for a click.
class InstallerPrompts {
public:
    enum class Icon { Information, Warning, Error };

    virtual ~InstallerPrompts() = default;
    virtual void Message(QWidget* parent, Icon icon, const QString& caption,
                         const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool YesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// Modal QMessageBox windows.
class MessageBoxPrompts : public InstallerPrompts {
public:
    void Message(QWidget* parent, Icon icon, const QString& caption, const QString& text) override;
    bool YesNo(QWidget* parent, const QString& caption, const QString& text) override;
};
