#pragma once

#include "mapobjects/MapClass.h"

#include <vector>

// Visits the subtree below parent in pre-order: each child in order (if type is null or the
// child is of that type) and then the child's own children, whatever the child's type. The
// walk ends as soon as visit returns false; the result is false then. The walk keeps its own
// stack, so deeply nested groups cannot exhaust the call stack.
template <typename Visitor>
bool EnumChildren(const CMapClass& parent, Visitor&& visit, const char* type = nullptr) {
    struct Level {
        ChildList::iterator next;
        ChildList::iterator end;
    };
    std::vector<Level> stack{{parent.Children().begin(), parent.Children().end()}};
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.end) {
            stack.pop_back();
            continue;
        }
        CMapClass* child = *level.next;
        ++level.next;
        if ((!type || child->IsType(type)) && !visit(child)) {
            return false;
        }
        if (!child->Children().empty()) {
            stack.push_back({child->Children().begin(), child->Children().end()});
        }
    }
    return true;
}
