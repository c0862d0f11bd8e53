#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Collects written bytes and hands them to a sink in large pieces, so big maps are not held
// in memory twice. A sink that fails marks the buffer failed; later writes are dropped.
class OutputBuffer {
public:
    using Sink = std::function<bool(std::string_view bytes)>;
    static constexpr std::size_t kFlushSize = 1 << 20;

    explicit OutputBuffer(Sink sink) : m_sink(std::move(sink)) {}

    std::string& Text() { return m_buffer; }
    void Append(std::string_view bytes) { m_buffer.append(bytes); }
    void Append(char c) { m_buffer.push_back(c); }
    // Hands the buffer to the sink once it is large.
    void FlushIfLarge() {
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    // Hands everything written so far to the sink; false once the sink failed.
    bool Flush() {
        if (!m_failed && !m_buffer.empty() && !m_sink(m_buffer)) {
            m_failed = true;
        }
        m_buffer.clear();
        return !m_failed;
    }
    bool Failed() const { return m_failed; }

private:
    Sink m_sink;
    std::string m_buffer;
    bool m_failed = false;
};
