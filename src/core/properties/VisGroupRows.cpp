#include "properties/VisGroupRows.h"

#include <utility>

void VisGroupRows::Refill(const std::vector<VisGroup>& groups) {
    m_rows.clear();
    m_rows.reserve(groups.size());
    for (const VisGroup& group : groups) {
        m_rows.push_back(Row{group.id, Check::Off});
    }
    m_defaultRow = -1;
}

void VisGroupRows::Load(const VisGroupIds& ids) {
    m_defaultRow = -1;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        row.check = HasVisGroup(ids, row.id) ? Check::On : Check::Off;
        if (ids[0] != 0 && row.id == ids[0]) {
            m_defaultRow = static_cast<int>(i);
        }
    }
}

void VisGroupRows::Merge(const VisGroupIds& ids) {
    for (Row& row : m_rows) {
        const Check member = HasVisGroup(ids, row.id) ? Check::On : Check::Off;
        if (row.check != member && row.check != Check::Mixed) {
            row.check = Check::Mixed;
            m_defaultRow = -1;
        }
    }
}

void VisGroupRows::LoadObjects(const std::vector<CMapClass*>& objects) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (i == 0) {
            Load(objects[i]->GetVisGroups());
        } else {
            Merge(objects[i]->GetVisGroups());
        }
    }
}

VisGroupIds VisGroupRows::Write(VisGroupIds ids) const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        if (row.check == Check::Mixed) {
            continue;
        }
        int mode = row.check == Check::On ? 1 : 0;
        if (mode == 1 && static_cast<int>(i) == m_defaultRow) {
            mode = 2;
        }
        ids = ChangeVisGroupIds(ids, row.id, mode);
    }
    return ids;
}

VisGroupIds ChangeVisGroupIds(VisGroupIds ids, std::uint8_t id, int mode) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] != id) {
            continue;
        }
        if (mode == 0) {
            ids[i] = 0;
        } else if (mode == 2 && i != 0) {
            std::swap(ids[i], ids[0]);
        }
        return ids;
    }
    if (mode == 0) {
        return ids;
    }
    std::size_t freeSlot = ids.size();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == 0) {
            freeSlot = i;
            break;
        }
    }
    if (freeSlot == ids.size()) {
        return ids;
    }
    if (mode == 1 || freeSlot == 0) {
        ids[freeSlot] = id;
    } else {
        ids[freeSlot] = ids[0];
        ids[0] = id;
    }
    return ids;
}
