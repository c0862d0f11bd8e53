#pragma once

#include <optional>
#include <string>

// What the core asks of the user: message boxes, questions, file choosers and small input
// dialogs. The UI implements it with Qt dialogs, batch mode with standard error, tests with
// a scripted fake.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    virtual void Message(const std::string& text, Icon icon = Icon::None,
                         const std::string& caption = {}) = 0;
    virtual Answer YesNo(const std::string& text, Icon icon = Icon::Question,
                         const std::string& caption = {}) = 0;
    virtual Answer YesNoCancel(const std::string& text, Icon icon = Icon::Question,
                               const std::string& caption = {}) = 0;
    virtual Answer OkCancel(const std::string& text, Icon icon = Icon::None,
                            const std::string& caption = {}) = 0;
    // A message with an OK button and a check box; returns whether the box was ticked.
    virtual bool MessageWithCheck(const std::string& caption, const std::string& text,
                                  const std::string& checkText) = 0;
    // filter uses the Qt form: "Maps (*.map *.rmf);;All files (*)".
    virtual std::optional<std::string> OpenFileName(const std::string& caption,
                                                    const std::string& filter,
                                                    const std::string& initialPath = {}) = 0;
    virtual std::optional<std::string> SaveFileName(const std::string& caption,
                                                    const std::string& filter,
                                                    const std::string& initialPath = {}) = 0;
    virtual std::optional<std::string> InputText(const std::string& caption,
                                                 const std::string& label,
                                                 const std::string& initialText = {}) = 0;

    // A save dialog that also reports which filter was selected (0 = the first) and, when
    // checkText is given, offers a check box whose state is read from and written to checked.
    struct FileChoice {
        std::string path;
        int filterIndex = 0;
    };
    virtual std::optional<FileChoice> ChooseSaveFile(const std::string& caption,
                                                     const std::string& filter,
                                                     const std::string& initialPath,
                                                     const std::string& checkText = {},
                                                     bool* checked = nullptr) {
        (void)checkText;
        (void)checked;
        std::optional<std::string> path = SaveFileName(caption, filter, initialPath);
        if (!path) {
            return std::nullopt;
        }
        return FileChoice{*path, 0};
    }
    // An open dialog that also reports which filter was selected (0 = the first).
    virtual std::optional<FileChoice> ChooseOpenFile(const std::string& caption,
                                                     const std::string& filter,
                                                     const std::string& initialPath) {
        std::optional<std::string> path = OpenFileName(caption, filter, initialPath);
        if (!path) {
            return std::nullopt;
        }
        return FileChoice{*path, 0};
    }
};

// For runs without a window (batch options, the core's default): messages go to standard
// error; questions take the answer that changes nothing (No, Cancel), choosers are cancelled.
class ConsolePrompts : public Prompts {
public:
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
};
