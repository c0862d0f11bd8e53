#include "editing/FilterControl.h"

#include "document/MapDoc.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/VisibilityTest.h"

#include <algorithm>
#include <cstdint>

void FilterControl::Refill(const CMapWorld* world) {
    m_checks.clear();
    if (!world) {
        return;
    }
    for (const VisGroup& group : world->VisGroups()) {
        m_checks.push_back(group.visible);
    }
    m_toggle = (world->DisplayFilterFlags() & FILTER_VISGROUPS) != 0;
    m_appliedToggle = m_toggle;
}

bool FilterControl::Checked(int index) const {
    return index >= 0 && index < CheckCount() && m_checks[static_cast<std::size_t>(index)];
}

void FilterControl::SetChecked(int index, bool checked) {
    if (index >= 0 && index < CheckCount()) {
        m_checks[static_cast<std::size_t>(index)] = checked;
    }
}

bool FilterControl::Apply(CMapDoc& doc) {
    CMapWorld* world = doc.World();
    if (!world) {
        return false;
    }
    bool flagChanged = false;
    const int count = std::min(CheckCount(), world->VisGroupCount());
    for (int i = 0; i < count; ++i) {
        VisGroup& group = world->VisGroupAt(i);
        const bool checked = m_checks[static_cast<std::size_t>(i)];
        if (group.visible != checked) {
            group.visible = checked;
            flagChanged = true;
        }
    }
    const bool refilter = (flagChanged && m_toggle) || m_toggle != m_appliedToggle;
    m_appliedToggle = m_toggle;
    if (!refilter) {
        return false;
    }
    std::uint32_t flags = world->DisplayFilterFlags() & ~std::uint32_t(FILTER_REGION);
    flags = m_toggle ? (flags | FILTER_VISGROUPS) : (flags & ~std::uint32_t(FILTER_VISGROUPS));
    world->UpdateVisibleObjects(static_cast<int>(flags));

    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    bool dropped = false;
    for (CMapClass* object : selection) {
        if (!PassesVisibilityTest(*object, *world, flags)) {
            doc.SelectObject(object, SELECT_REMOVE);
            dropped = true;
        }
    }
    doc.UpdateAllViews(UPDATE_OBJECTS);
    if (dropped) {
        doc.SelectObject(nullptr, SELECT_UPDATE);
    }
    return true;
}
