#pragma once

#include <functional>
#include <string>

// The text of the process window: compile tool output and the run's own lines. Line feeds
// not already preceded by a carriage return become CR LF; the window counts its characters.
// A carriage return that no line feed follows sends the line back to its start, as on a
// terminal: the text after it replaces the line (the progress lines of the tools).
class ProcessOutput {
public:
    // After Clear(): ("", false). After an append: the text added, with replaceLine false; or,
    // when a carriage return overwrote a line, replaceLine true and the text that now stands
    // from the start of the line that was last before the append (that line is replaced).
    using Observer = std::function<void(const std::string& text, bool replaceLine)>;

    // printf-style through a 1024-character buffer.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Append(const std::string& text);
    void Clear();

    const std::string& Text() const { return m_text; }
    std::size_t CharacterCount() const { return m_text.size(); }

    void SetObserver(Observer observer) { m_observer = std::move(observer); }

private:
    std::size_t LineStart() const;

    std::string m_text;
    // A carriage return came last: whether a line feed follows is not known yet.
    bool m_pendingReturn = false;
    Observer m_observer;
};
