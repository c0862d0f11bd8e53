#include "common/Prompts.h"

#include <cstdio>

namespace {
void PrintToStderr(const std::string& caption, const std::string& text) {
    if (caption.empty()) {
        std::fprintf(stderr, "%s\n", text.c_str());
    } else {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}
} // namespace

void ConsolePrompts::Message(const std::string& text, Icon, const std::string& caption) {
    PrintToStderr(caption, text);
}

Prompts::Answer ConsolePrompts::YesNo(const std::string& text, Icon, const std::string& caption) {
    PrintToStderr(caption, text + " [No]");
    return Answer::No;
}

Prompts::Answer ConsolePrompts::YesNoCancel(const std::string& text, Icon,
                                            const std::string& caption) {
    PrintToStderr(caption, text + " [Cancel]");
    return Answer::Cancel;
}

Prompts::Answer ConsolePrompts::OkCancel(const std::string& text, Icon,
                                         const std::string& caption) {
    PrintToStderr(caption, text + " [Cancel]");
    return Answer::Cancel;
}

bool ConsolePrompts::MessageWithCheck(const std::string& caption, const std::string& text,
                                      const std::string&) {
    PrintToStderr(caption, text);
    return false;
}

std::optional<std::string> ConsolePrompts::OpenFileName(const std::string&, const std::string&,
                                                        const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompts::SaveFileName(const std::string&, const std::string&,
                                                        const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompts::InputText(const std::string&, const std::string&,
                                                     const std::string&) {
    return std::nullopt;
}
