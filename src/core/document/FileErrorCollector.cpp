#include "document/FileErrorCollector.h"

#include "common/EditorContext.h"

FileErrorCollector::FileErrorCollector() : m_previous(&Editor().GetPrompts()) {
    Editor().SetPrompts(this);
}

FileErrorCollector::~FileErrorCollector() {
    Release();
}

void FileErrorCollector::Release() {
    if (m_installed) {
        m_installed = false;
        Editor().SetPrompts(m_previous);
    }
}

std::string FileErrorCollector::FailureMessage(const std::string& path, bool saving) const {
    if (m_errors.empty()) {
        return "There was a file error.\n" + path;
    }
    std::string text;
    for (const std::string& error : m_errors) {
        if (!text.empty()) {
            text += '\n';
        }
        text += error;
    }
    if (text.find(path) == std::string::npos) {
        text = (saving ? "Could not save " : "Could not open ") + path + ":\n" + text;
    }
    return text;
}

void FileErrorCollector::Message(const std::string& text, Icon icon, const std::string& caption) {
    if (icon == Icon::Error) {
        m_errors.push_back(text);
        return;
    }
    m_previous->Message(text, icon, caption);
}

Prompts::Answer FileErrorCollector::YesNo(const std::string& text, Icon icon,
                                          const std::string& caption) {
    return m_previous->YesNo(text, icon, caption);
}

Prompts::Answer FileErrorCollector::YesNoCancel(const std::string& text, Icon icon,
                                                const std::string& caption) {
    return m_previous->YesNoCancel(text, icon, caption);
}

Prompts::Answer FileErrorCollector::OkCancel(const std::string& text, Icon icon,
                                             const std::string& caption) {
    return m_previous->OkCancel(text, icon, caption);
}

bool FileErrorCollector::MessageWithCheck(const std::string& caption, const std::string& text,
                                          const std::string& checkText) {
    return m_previous->MessageWithCheck(caption, text, checkText);
}

std::optional<std::string> FileErrorCollector::OpenFileName(const std::string& caption,
                                                            const std::string& filter,
                                                            const std::string& initialPath) {
    return m_previous->OpenFileName(caption, filter, initialPath);
}

std::optional<std::string> FileErrorCollector::SaveFileName(const std::string& caption,
                                                            const std::string& filter,
                                                            const std::string& initialPath) {
    return m_previous->SaveFileName(caption, filter, initialPath);
}

std::optional<std::string> FileErrorCollector::InputText(const std::string& caption,
                                                         const std::string& label,
                                                         const std::string& initialText) {
    return m_previous->InputText(caption, label, initialText);
}

std::optional<Prompts::FileChoice>
FileErrorCollector::ChooseSaveFile(const std::string& caption, const std::string& filter,
                                   const std::string& initialPath, const std::string& checkText,
                                   bool* checked) {
    return m_previous->ChooseSaveFile(caption, filter, initialPath, checkText, checked);
}

std::optional<Prompts::FileChoice>
FileErrorCollector::ChooseOpenFile(const std::string& caption, const std::string& filter,
                                   const std::string& initialPath) {
    return m_previous->ChooseOpenFile(caption, filter, initialPath);
}
