#pragma once

#include "mapobjects/MapClass.h"
#include "mapobjects/VisGroup.h"

#include <cstdint>
#include <vector>

// The VisGroups page: one row per visgroup of the map with a check that is on, off, or (for
// several objects that differ) mixed, and a default row whose group an object shows first.
class VisGroupRows {
public:
    enum class Check { Off, On, Mixed };

    // One unchecked row per group, in table order; no default row.
    void Refill(const std::vector<VisGroup>& groups);
    // Checks from one object's memberships; its first slot's group becomes the default row.
    void Load(const VisGroupIds& ids);
    // A further object: rows whose membership differs become mixed and the default row goes.
    void Merge(const VisGroupIds& ids);
    // Load of the first object and merge of every further one.
    void LoadObjects(const std::vector<CMapClass*>& objects);
    // The memberships after writing the rows into ids: mixed rows leave them as they are,
    // unchecked rows leave their group, checked ones join it, a checked default row's group
    // comes first.
    VisGroupIds Write(VisGroupIds ids) const;

    int Count() const { return static_cast<int>(m_rows.size()); }
    Check CheckAt(int row) const { return m_rows[static_cast<std::size_t>(row)].check; }
    void SetCheck(int row, Check check) { m_rows[static_cast<std::size_t>(row)].check = check; }
    std::uint8_t IdAt(int row) const { return m_rows[static_cast<std::size_t>(row)].id; }
    int DefaultRow() const { return m_defaultRow; }
    void SetDefaultRow(int row) { m_defaultRow = row; }

private:
    struct Row {
        std::uint8_t id = 0;
        Check check = Check::Off;
    };
    std::vector<Row> m_rows;
    int m_defaultRow = -1;
};

// What CMapClass::ChangeVisGroup does to a membership list: mode 0 leaves group id, 1 joins it
// (in the first free slot), 2 joins it as the first slot.
VisGroupIds ChangeVisGroupIds(VisGroupIds ids, std::uint8_t id, int mode);

inline bool HasVisGroup(const VisGroupIds& ids, std::uint8_t id) {
    for (std::uint8_t slot : ids) {
        if (slot == id) {
            return true;
        }
    }
    return false;
}
