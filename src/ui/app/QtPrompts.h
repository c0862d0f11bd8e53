#pragma once

#include "common/NumberPrompt.h"
#include "common/Prompts.h"

class QWidget;

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
