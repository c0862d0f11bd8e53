#pragma once

#include <cstdint>

// The editor's random sequence: state = state * 214013 + 2531011 (32 bits), returning the
// whole state. Seeded with the time in seconds at start-up; colours new solids and groups.
class RandomGenerator {
public:
    void Seed(std::uint32_t seed) { m_state = seed; }
    std::uint32_t Next() {
        m_state = m_state * 214013u + 2531011u;
        return m_state;
    }
    std::uint32_t State() const { return m_state; }

private:
    std::uint32_t m_state = 0;
};
