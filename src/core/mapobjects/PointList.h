#pragma once

#include "geometry/Vector.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// The polygon points of a face. Nearly every face of a map has at most four points: those are
// kept inside the face itself, so reading a large map allocates nothing for them; longer
// polygons go to the heap.
class PointList {
public:
    static constexpr std::size_t kInline = 4;

    PointList() noexcept = default;
    PointList(const PointList& other) { assign(other.begin(), other.end()); }
    PointList(PointList&& other) noexcept { TakeFrom(other); }
    PointList& operator=(const PointList& other) {
        if (this != &other) {
            assign(other.begin(), other.end());
        }
        return *this;
    }
    PointList& operator=(PointList&& other) noexcept {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }
    ~PointList() { Release(); }

    std::size_t size() const noexcept { return m_size; }
    bool empty() const noexcept { return m_size == 0; }
    Vector* data() noexcept { return m_data; }
    const Vector* data() const noexcept { return m_data; }
    Vector* begin() noexcept { return m_data; }
    Vector* end() noexcept { return m_data + m_size; }
    const Vector* begin() const noexcept { return m_data; }
    const Vector* end() const noexcept { return m_data + m_size; }
    Vector& operator[](std::size_t i) noexcept { return m_data[i]; }
    const Vector& operator[](std::size_t i) const noexcept { return m_data[i]; }

    void clear() noexcept { m_size = 0; }
    // The points first to last, which may be this list's own.
    void assign(const Vector* first, const Vector* last) {
        const auto count = static_cast<std::size_t>(last - first);
        if (count > m_capacity) {
            MoveToHeap(count, first, count);
        } else if (count > 0) {
            std::memmove(m_data, first, count * sizeof(Vector));
        }
        m_size = static_cast<std::uint32_t>(count);
    }
    // Keeps the first points; new ones are (0, 0, 0).
    void resize(std::size_t count) {
        if (count > m_capacity) {
            MoveToHeap(count, m_data, m_size);
        }
        for (std::size_t i = m_size; i < count; ++i) {
            m_data[i] = Vector{};
        }
        m_size = static_cast<std::uint32_t>(count);
    }

private:
    static_assert(std::is_trivially_copyable_v<Vector>);

    bool OnHeap() const noexcept { return m_data != m_inline; }
    // Room for capacity points on the heap, holding the kept points from keepFrom (which may
    // be this list's own).
    void MoveToHeap(std::size_t capacity, const Vector* keepFrom, std::size_t kept) {
        Vector* bigger = new Vector[capacity];
        std::memcpy(bigger, keepFrom, kept * sizeof(Vector));
        Release();
        m_data = bigger;
        m_capacity = static_cast<std::uint32_t>(capacity);
        m_size = static_cast<std::uint32_t>(kept);
    }
    void Release() noexcept {
        if (OnHeap()) {
            delete[] m_data;
        }
        m_data = m_inline;
        m_capacity = kInline;
        m_size = 0;
    }
    void TakeFrom(PointList& other) noexcept {
        if (other.OnHeap()) {
            m_data = other.m_data;
            m_capacity = other.m_capacity;
            other.m_data = other.m_inline;
            other.m_capacity = kInline;
        } else {
            std::memcpy(m_inline, other.m_inline, other.m_size * sizeof(Vector));
        }
        m_size = other.m_size;
        other.m_size = 0;
    }

    Vector m_inline[kInline];
    Vector* m_data = m_inline;
    std::uint32_t m_size = 0;
    std::uint32_t m_capacity = kInline;
};
