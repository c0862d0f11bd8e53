#pragma once

#include <cstddef>
#include <iterator>

class CMapClass;

// The ordered children of a map object: an intrusive doubly linked list through the
// children's sibling links, so appending and removing are O(1) on large maps.
class ChildList {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = CMapClass*;
        using difference_type = std::ptrdiff_t;
        using pointer = CMapClass* const*;
        using reference = CMapClass* const&;

        iterator() = default;
        explicit iterator(CMapClass* node) : m_node(node) {}
        CMapClass* operator*() const { return m_node; }
        iterator& operator++();
        iterator operator++(int) {
            iterator old = *this;
            ++*this;
            return old;
        }
        friend bool operator==(const iterator& a, const iterator& b) {
            return a.m_node == b.m_node;
        }

    private:
        CMapClass* m_node = nullptr;
    };

    iterator begin() const { return iterator(m_head); }
    iterator end() const { return iterator(nullptr); }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    CMapClass* front() const { return m_head; }
    CMapClass* back() const { return m_tail; }

    void push_back(CMapClass* node);
    // Inserts node before position (a member of this list); at the end when position is null.
    void insert_before(CMapClass* node, CMapClass* position);
    void remove(CMapClass* node);
    // Unlinks every child without destroying any.
    void clear();

private:
    CMapClass* m_head = nullptr;
    CMapClass* m_tail = nullptr;
    std::size_t m_count = 0;
};
