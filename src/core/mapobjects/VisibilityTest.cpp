#include "mapobjects/VisibilityTest.h"

#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"

namespace {
const CMapClass& TopLevel(const CMapClass& object) {
    const CMapClass* top = &object;
    while (top->Parent() && !top->Parent()->IsWorld()) {
        top = top->Parent();
    }
    return *top;
}

bool InSwitchedOnVisGroup(const CMapClass& object, const CMapWorld& world) {
    const VisGroupIds ids = object.GetVisGroups();
    if (ids[0] == 0) {
        return false;
    }
    for (std::uint8_t id : ids) {
        if (id == 0) {
            continue;
        }
        const VisGroup* group = world.FindVisGroup(id);
        if (group && group->visible) {
            return true;
        }
    }
    return false;
}

bool PassesRegionFilter(const CMapClass& object, const CMapWorld& world) {
    const FilterRecord* record = nullptr;
    for (const FilterRecord& candidate : world.FilterRecords()) {
        if (candidate.active) {
            record = &candidate;
            break;
        }
    }
    if (!record) {
        return false;
    }
    const BoundBox& bounds = object.Bounds();
    for (int axis = 0; axis < 3; ++axis) {
        if (record->mode != 0) {
            if (bounds.mins[axis] < record->mins[axis] || bounds.maxs[axis] > record->maxs[axis]) {
                return false;
            }
        } else if (!(bounds.mins[axis] < record->maxs[axis] &&
                     bounds.maxs[axis] > record->mins[axis])) {
            return false;
        }
    }
    return true;
}
} // namespace

bool PassesVisibilityTest(const CMapClass& object, const CMapWorld& world, std::uint32_t flags) {
    if (object.Parent() && !TopLevel(object).IsShown()) {
        return false;
    }
    if (flags == 0) {
        return true;
    }
    if ((flags & FILTER_HIDE_ITEMS) && object.IsType(kTypeMapEntity) &&
        static_cast<const CMapEntity&>(object).IsPointEntity()) {
        return false;
    }
    if ((flags & FILTER_VISGROUPS) && !InSwitchedOnVisGroup(object, world)) {
        return false;
    }
    if ((flags & FILTER_REGION) && !PassesRegionFilter(object, world)) {
        return false;
    }
    return true;
}
