#include "common/MessageLog.h"

#include <cstdio>

void MessageLog::AddLine(Kind kind, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    AddLineV(kind, format, args);
    va_end(args);
}

void MessageLog::AddLineV(Kind kind, const char* format, std::va_list args) {
    char buffer[kFormatBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    Store(kind, buffer);
}

void MessageLog::AddText(Kind kind, const std::string& text) {
    Store(kind, text.substr(0, kFormatBufferSize - 1));
}

void MessageLog::Store(Kind kind, std::string text) {
    if (text.size() > kMaxLineLength) {
        text.resize(kMaxLineLength);
    }
    if (m_lines.size() >= kMaxLines) {
        m_lines.pop_front();
    }
    m_lines.push_back(Line{kind, std::move(text)});
    Notify(&m_lines.back());
}

void MessageLog::Clear() {
    m_lines.clear();
    Notify(nullptr);
}

void MessageLog::Notify(const Line* added) {
    // Observers may add or remove observers; iterate over a snapshot.
    auto observers = m_observers;
    for (auto& [token, observer] : observers) {
        observer(added);
    }
}

int MessageLog::AddObserver(Observer observer) {
    int token = m_nextToken++;
    m_observers.emplace_back(token, std::move(observer));
    return token;
}

void MessageLog::RemoveObserver(int token) {
    std::erase_if(m_observers, [token](const auto& entry) { return entry.first == token; });
}
