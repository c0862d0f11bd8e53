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

void ProcessOutput::Append(const std::string& text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            bool precededByCr =
                i > 0 ? text[i - 1] == '\r' : (!m_text.empty() && m_text.back() == '\r');
            if (!precededByCr) {
                converted += '\r';
            }
        }
        converted += text[i];
    }
    m_text += converted;
    if (m_observer) {
        m_observer(converted);
    }
}

void ProcessOutput::Clear() {
    m_text.clear();
    if (m_observer) {
        m_observer(std::string());
    }
}
