#include "formats/MapTextStream.h"

#include "common/Progress.h"

#include <cstring>

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

MapTextStream::MapTextStream(std::string_view text, std::string displayName, Progress* progress)
    : m_loading(true), m_displayName(std::move(displayName)), m_text(text), m_progress(progress),
      m_output([](std::string_view) { return true; }) {}

MapTextStream::MapTextStream(OutputBuffer::Sink sink, std::string displayName)
    : m_loading(false), m_displayName(std::move(displayName)), m_output(std::move(sink)) {}

void MapTextStream::SkipWhiteSpace() {
    while (m_position < m_text.size() && IsSpace(m_text[m_position])) {
        if (m_text[m_position] == '\n') {
            ++m_nextLineNumber;
        }
        ++m_position;
    }
}

bool MapTextStream::ReadLine(std::string_view& line) {
    if (m_hasPushBack) {
        m_hasPushBack = false;
        line = m_pushBack;
        m_lineNumber = m_pushBackLineNumber;
        return true;
    }
    for (;;) {
        SkipWhiteSpace();
        if (m_position >= m_text.size()) {
            return false;
        }
        const std::size_t start = m_position;
        const void* feed = std::memchr(m_text.data() + start, '\n', m_text.size() - start);
        const std::size_t end =
            feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - m_text.data())
                 : m_text.size();
        m_lineNumber = m_nextLineNumber;
        // The line feed itself is left for the next white-space skip, which counts it.
        m_position = end;
        std::size_t length = end - start;
        while (length > 0 && IsSpace(m_text[start + length - 1])) {
            --length;
        }
        std::string_view candidate = m_text.substr(start, length);
        if (candidate.size() >= 2 && candidate[0] == '/' && candidate[1] == '/') {
            // "// Format: NAME" says which dialect the face lines are in.
            std::string_view comment = candidate.substr(2);
            while (!comment.empty() && IsSpace(comment.front())) {
                comment.remove_prefix(1);
            }
            if (comment.starts_with("Format:")) {
                comment.remove_prefix(7);
                while (!comment.empty() && IsSpace(comment.front())) {
                    comment.remove_prefix(1);
                }
                formatComment = comment;
                hasFormatComment = true;
            }
            continue;
        }
        line = candidate;
        return true;
    }
}

bool MapTextStream::PeekLine(std::string_view& line) {
    const int lineNumber = m_lineNumber;
    if (!ReadLine(line)) {
        return false;
    }
    PushBack(line);
    m_lineNumber = lineNumber;
    return true;
}

void MapTextStream::PushBack(std::string_view line) {
    m_hasPushBack = true;
    m_pushBack = line;
    m_pushBackLineNumber = m_lineNumber;
}

void MapTextStream::ReportProgress() {
    if (!m_progress || m_text.empty()) {
        return;
    }
    m_progress->SetPosition(
        static_cast<int>(static_cast<unsigned long long>(m_position) * 100 / m_text.size()));
}
