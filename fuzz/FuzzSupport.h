#pragma once

#include "common/ErrorList.h"
#include "common/Prompts.h"

#include <cstddef>
#include <string>
#include <string_view>

// Prompts that show nothing, so a fuzzing run does not flood the terminal.
class SilentPrompts : public ConsolePrompts {
public:
    void Message(const std::string&, Icon, const std::string&) override {}
    Answer YesNo(const std::string&, Icon, const std::string&) override { return Answer::Yes; }
};

// Lines of MAP text that are face lines (begin with "(").
inline std::size_t FaceLineCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        count += text[at] == '(' ? 1 : 0;
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            break;
        }
        at = end + 1;
    }
    return count;
}

// The report of a solid whose faces leave it open: it is kept as it is, so reading the
// editor's own MAP text of it reports it again.
inline bool IsOpenSolidReport(const std::string& message) {
    return message.find("leave it open on some side; it was loaded as it is") != std::string::npos;
}

// True when the parse errors from index first on only drop solids whose planes make no
// solid, or report open solids: every line the editor writes must read back as the line it
// was.
inline bool OnlyDroppedSolids(const ErrorList& errors, std::size_t first) {
    for (std::size_t i = first; i < errors.size(); ++i) {
        const std::string& message = errors[i].message;
        if (message.rfind("error parsing ", 0) == 0 &&
            message.find(": a solid was not loaded: ") == std::string::npos &&
            !IsOpenSolidReport(message)) {
            return false;
        }
    }
    return true;
}
