#pragma once

#include "common/NumberPrompt.h"
#include "common/Prompts.h"

class QPoint;
class QString;
class QWidget;

// The folder of the file last chosen in (or opened without) a file dialog; empty at first.
// A dialog given no folder of its own starts there.
QString LastFileFolder();
void RememberFileFolder(const QString& file);
// After a dialog closes, keys belong to the map view under the pointer (2D or 3D): it is
// made the active window's focus. False when no view is there.
bool FocusMapViewAt(const QPoint& global);

// The core's questions and messages as Qt dialogs, parented to the main window.
class QtPrompts : public Prompts, public NumberPrompt {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Message(const std::string& text, Icon icon, const std::string& caption) override;
    Answer YesNo(const std::string& text, Icon icon, const std::string& caption) override;
    Answer YesNoCancel(const std::string& text, Icon icon, const std::string& caption) override;
    Answer OkCancel(const std::string& text, Icon icon, const std::string& caption) override;
    bool MessageWithCheck(const std::string& caption, const std::string& text,
                          const std::string& checkText) override;
    std::optional<std::string> OpenFileName(const std::string& caption, const std::string& filter,
                                            const std::string& initialPath) override;
    std::optional<std::string> SaveFileName(const std::string& caption, const std::string& filter,
                                            const std::string& initialPath) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& label,
                                         const std::string& initialText) override;
    // A text field with a spin control limited to minimum..maximum.
    std::optional<int> InputNumber(const std::string& caption, const std::string& label,
                                   int initial, int minimum, int maximum) override;
    std::optional<FileChoice> ChooseSaveFile(const std::string& caption, const std::string& filter,
                                             const std::string& initialPath,
                                             const std::string& checkText, bool* checked) override;
    std::optional<FileChoice> ChooseOpenFile(const std::string& caption, const std::string& filter,
                                             const std::string& initialPath) override;

private:
    QWidget* m_parent;
};
