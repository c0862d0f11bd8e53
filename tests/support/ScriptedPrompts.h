#pragma once

#include "common/Prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Records every text the core shows and answers questions from a script (in order);
// with the script empty, questions are answered with defaultAnswer.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string
            kind; // "message", "yesno", "yesnocancel", "okcancel", "check", "open", "save", "input"
        std::string text;
        std::string caption;
    };

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> texts; // for file choosers and input dialogs
    std::deque<bool> checks;
    // Answers of ChooseSaveFile (path and filter); when empty, the plain file chooser answers.
    std::deque<std::optional<FileChoice>> saveChoices;
    bool lastCheckOffered = false;
    Answer defaultAnswer = Answer::No;

    bool Showed(const std::string& text) const;
    std::vector<std::string> Messages() const;

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
    std::optional<FileChoice> ChooseSaveFile(const std::string& caption, const std::string& filter,
                                             const std::string& initialPath,
                                             const std::string& checkText, bool* checked) override;

private:
    Answer NextAnswer();
    std::optional<std::string> NextText();
};
