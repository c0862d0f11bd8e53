#pragma once

#include "geometry/BoundBox.h"

#include <unordered_set>
#include <vector>

class CMapClass;

// The selection: selected top-level objects in selection order (no duplicates) and their
// combined bounds.
class SelectionBox {
public:
    const std::vector<CMapClass*>& Objects() const { return m_objects; }
    std::size_t Count() const { return m_objects.size(); }
    bool IsEmpty() const { return m_objects.empty(); }
    bool Contains(const CMapClass* object) const;

    // Appends and grows the bounds; false when already selected.
    bool Add(CMapClass* object);
    // Removes and recomputes the bounds; false when not selected.
    bool Remove(CMapClass* object);
    void Clear();
    void RecalcBounds();
    const BoundBox& Bounds() const { return m_bounds; }

private:
    std::vector<CMapClass*> m_objects;
    std::unordered_set<const CMapClass*> m_members; // fast membership on large selections
    BoundBox m_bounds;
};
