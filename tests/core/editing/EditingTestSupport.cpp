#include "EditingTestSupport.h"

#include "mapobjects/TreeWalk.h"

std::vector<CMapSolid*> SolidsBelow(CMapClass& object) {
    std::vector<CMapSolid*> solids;
    if (object.IsType(kTypeMapSolid)) {
        solids.push_back(static_cast<CMapSolid*>(&object));
    }
    EnumChildren(
        object,
        [&solids](CMapClass* solid) {
            solids.push_back(static_cast<CMapSolid*>(solid));
            return true;
        },
        kTypeMapSolid);
    return solids;
}

std::string StaleBounds(const CMapClass& root) {
    const BoundBox& outer = root.Bounds();
    for (const CMapClass* child : root.Children()) {
        const BoundBox& inner = child->Bounds();
        if (!inner.IsEmpty()) {
            for (int axis = 0; axis < 3; ++axis) {
                if (inner.mins[axis] < outer.mins[axis] || inner.maxs[axis] > outer.maxs[axis]) {
                    return std::string(root.GetType()) + " does not cover its " + child->GetType() +
                           " on axis " + std::to_string(axis);
                }
            }
        }
        std::string below = StaleBounds(*child);
        if (!below.empty()) {
            return below;
        }
    }
    return {};
}

double BoxVolume(const std::vector<CMapSolid*>& solids) {
    double volume = 0;
    for (const CMapSolid* solid : solids) {
        const Vector size = solid->Bounds().Size();
        volume += static_cast<double>(size.x) * size.y * size.z;
    }
    return volume;
}
