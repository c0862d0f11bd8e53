#pragma once

#include <functional>
#include <string>

// The text of the process window: compile tool output and the run's own lines. Line feeds
// not already preceded by a carriage return become CR LF; the window counts its characters.
class ProcessOutput {
public:
    using Observer = std::function<void(const std::string& appended)>; // "" after Clear()

    // printf-style through a 1024-character buffer.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Append(const std::string& text);
    void Clear();

    const std::string& Text() const { return m_text; }
    std::size_t CharacterCount() const { return m_text.size(); }

    void SetObserver(Observer observer) { m_observer = std::move(observer); }

private:
    std::string m_text;
    Observer m_observer;
};
