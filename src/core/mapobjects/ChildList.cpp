#include "mapobjects/ChildList.h"

#include "mapobjects/MapClass.h"

ChildList::iterator& ChildList::iterator::operator++() {
    m_node = m_node->m_nextSibling;
    return *this;
}

void ChildList::push_back(CMapClass* node) {
    node->m_prevSibling = m_tail;
    node->m_nextSibling = nullptr;
    if (m_tail) {
        m_tail->m_nextSibling = node;
    } else {
        m_head = node;
    }
    m_tail = node;
    ++m_count;
}

void ChildList::insert_before(CMapClass* node, CMapClass* position) {
    if (!position) {
        push_back(node);
        return;
    }
    node->m_nextSibling = position;
    node->m_prevSibling = position->m_prevSibling;
    if (position->m_prevSibling) {
        position->m_prevSibling->m_nextSibling = node;
    } else {
        m_head = node;
    }
    position->m_prevSibling = node;
    ++m_count;
}

void ChildList::remove(CMapClass* node) {
    if (node->m_prevSibling) {
        node->m_prevSibling->m_nextSibling = node->m_nextSibling;
    } else {
        m_head = node->m_nextSibling;
    }
    if (node->m_nextSibling) {
        node->m_nextSibling->m_prevSibling = node->m_prevSibling;
    } else {
        m_tail = node->m_prevSibling;
    }
    node->m_prevSibling = nullptr;
    node->m_nextSibling = nullptr;
    --m_count;
}

void ChildList::clear() {
    CMapClass* node = m_head;
    while (node) {
        CMapClass* next = node->m_nextSibling;
        node->m_prevSibling = nullptr;
        node->m_nextSibling = nullptr;
        node = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
}
