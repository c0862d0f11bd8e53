#pragma once

#include <cstdarg>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The editor's log: a ring of the last 100 lines, each normal or error. Geometry checks,
// file loading, game data parsing and the 3D view write here; the message window observes it.
class MessageLog {
public:
    enum Kind { Normal = 0, Error = 1 };

    struct Line {
        Kind kind;
        std::string text;
    };

    static constexpr std::size_t kMaxLines = 100;
    static constexpr std::size_t kMaxLineLength = 151;
    static constexpr std::size_t kFormatBufferSize = 256;

    // Called after every change: with the new line, or with nullptr after Clear().
    using Observer = std::function<void(const Line* added)>;

    // Formats printf-style through a 256-character buffer; the stored line keeps at most
    // 151 characters. Longer text is cut, never overflowed.
    void AddLine(Kind kind, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void AddLineV(Kind kind, const char* format, std::va_list args);
    // Adds text as it is (no formatting), with the same length limit.
    void AddText(Kind kind, const std::string& text);

    const std::deque<Line>& Lines() const { return m_lines; }
    std::size_t Count() const { return m_lines.size(); }
    void Clear();

    int AddObserver(Observer observer);
    void RemoveObserver(int token);

private:
    void Store(Kind kind, std::string text);
    void Notify(const Line* added);

    std::deque<Line> m_lines;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextToken = 1;
};
