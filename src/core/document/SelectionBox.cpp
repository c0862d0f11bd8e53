#include "document/SelectionBox.h"

#include "mapobjects/MapClass.h"

#include <algorithm>

bool SelectionBox::Contains(const CMapClass* object) const {
    return m_members.count(object) != 0;
}

bool SelectionBox::Add(CMapClass* object) {
    if (!object || !m_members.insert(object).second) {
        return false;
    }
    m_objects.push_back(object);
    m_bounds.UpdateBounds(object->Bounds());
    return true;
}

bool SelectionBox::Remove(CMapClass* object) {
    if (m_members.erase(object) == 0) {
        return false;
    }
    m_objects.erase(std::find(m_objects.begin(), m_objects.end(), object));
    RecalcBounds();
    return true;
}

void SelectionBox::Clear() {
    m_objects.clear();
    m_members.clear();
    m_bounds.ResetBounds();
}

void SelectionBox::RecalcBounds() {
    m_bounds.ResetBounds();
    for (CMapClass* object : m_objects) {
        m_bounds.UpdateBounds(object->Bounds());
    }
}
