#pragma once

#include "common/Prompts.h"

#include <string>
#include <vector>

// While installed, holds back the error boxes that a file read or write shows, so the caller
// can report a failure in one message that names the file; every other prompt (information,
// questions, file choosers) goes through to the prompts that were installed before.
class FileErrorCollector : public Prompts {
public:
    // Installs itself as the editor's prompts.
    FileErrorCollector();
    // Puts the previous prompts back (if Release() did not already).
    ~FileErrorCollector() override;
    FileErrorCollector(const FileErrorCollector&) = delete;
    FileErrorCollector& operator=(const FileErrorCollector&) = delete;

    void Release();
    const std::vector<std::string>& Errors() const { return m_errors; }

    // The one message for a failed load or save of path: the held-back texts, led by the
    // file's name unless they name it already; "There was a file error." when none was shown.
    std::string FailureMessage(const std::string& path, bool saving) const;

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
    std::optional<FileChoice> ChooseOpenFile(const std::string& caption, const std::string& filter,
                                             const std::string& initialPath) override;

private:
    Prompts* m_previous;
    bool m_installed = true;
    std::vector<std::string> m_errors;
};
