#include "document/ProcessOutput.h"

#include <cstdarg>
#include <cstdio>

void ProcessOutput::Print(const char* format, ...) {
    char buffer[1024];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Append(buffer);
}

std::size_t ProcessOutput::LineStart() const {
    const std::size_t feed = m_text.rfind('\n');
    return feed == std::string::npos ? 0 : feed + 1;
}

void ProcessOutput::Append(const std::string& text) {
    std::string added;
    added.reserve(text.size() + text.size() / 16);
    bool replaced = false;
    const std::size_t oldLineStart = LineStart();
    for (char c : text) {
        if (m_pendingReturn) {
            m_pendingReturn = false;
            if (c == '\n') {
                added += "\r\n";
                continue;
            }
            // Back to the start of the line: what follows overwrites it.
            m_text += added;
            added.clear();
            m_text.erase(LineStart());
            replaced = true;
        }
        if (c == '\r') {
            m_pendingReturn = true;
        } else if (c == '\n') {
            added += "\r\n";
        } else {
            added += c;
        }
    }
    m_text += added;
    if (m_observer) {
        if (replaced) {
            m_observer(m_text.substr(oldLineStart), true);
        } else if (!added.empty()) {
            m_observer(added, false);
        }
    }
}

void ProcessOutput::Clear() {
    m_text.clear();
    m_pendingReturn = false;
    if (m_observer) {
        m_observer(std::string(), false);
    }
}
