#include "support/ScriptedPrompts.h"

bool ScriptedPrompts::Showed(const std::string& text) const {
    for (const auto& s : shown) {
        if (s.text == text) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> ScriptedPrompts::Messages() const {
    std::vector<std::string> result;
    for (const auto& s : shown) {
        result.push_back(s.text);
    }
    return result;
}

Prompts::Answer ScriptedPrompts::NextAnswer() {
    if (answers.empty()) {
        return defaultAnswer;
    }
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> ScriptedPrompts::NextText() {
    if (texts.empty()) {
        return std::nullopt;
    }
    auto t = texts.front();
    texts.pop_front();
    return t;
}

void ScriptedPrompts::Message(const std::string& text, Icon, const std::string& caption) {
    shown.push_back({"message", text, caption});
}

Prompts::Answer ScriptedPrompts::YesNo(const std::string& text, Icon, const std::string& caption) {
    shown.push_back({"yesno", text, caption});
    return NextAnswer();
}

Prompts::Answer ScriptedPrompts::YesNoCancel(const std::string& text, Icon,
                                             const std::string& caption) {
    shown.push_back({"yesnocancel", text, caption});
    return NextAnswer();
}

Prompts::Answer ScriptedPrompts::OkCancel(const std::string& text, Icon,
                                          const std::string& caption) {
    shown.push_back({"okcancel", text, caption});
    return NextAnswer();
}

bool ScriptedPrompts::MessageWithCheck(const std::string& caption, const std::string& text,
                                       const std::string&) {
    shown.push_back({"check", text, caption});
    if (checks.empty()) {
        return false;
    }
    bool c = checks.front();
    checks.pop_front();
    return c;
}

std::optional<std::string> ScriptedPrompts::OpenFileName(const std::string& caption,
                                                         const std::string&, const std::string&) {
    shown.push_back({"open", "", caption});
    return NextText();
}

std::optional<std::string> ScriptedPrompts::SaveFileName(const std::string& caption,
                                                         const std::string&, const std::string&) {
    shown.push_back({"save", "", caption});
    return NextText();
}

std::optional<std::string> ScriptedPrompts::InputText(const std::string& caption,
                                                      const std::string& label,
                                                      const std::string&) {
    shown.push_back({"input", label, caption});
    return NextText();
}

std::optional<Prompts::FileChoice> ScriptedPrompts::ChooseSaveFile(const std::string& caption,
                                                                   const std::string& filter,
                                                                   const std::string& initialPath,
                                                                   const std::string& checkText,
                                                                   bool* checked) {
    shown.push_back({"choosesave", initialPath, caption});
    lastCheckOffered = !checkText.empty() && checked;
    if (lastCheckOffered && !checks.empty()) {
        *checked = checks.front();
        checks.pop_front();
    }
    if (saveChoices.empty()) {
        return Prompts::ChooseSaveFile(caption, filter, initialPath, checkText, checked);
    }
    auto choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
}
