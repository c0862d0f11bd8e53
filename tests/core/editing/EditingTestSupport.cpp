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

double BoxVolume(const std::vector<CMapSolid*>& solids) {
    double volume = 0;
    for (const CMapSolid* solid : solids) {
        const Vector size = solid->Bounds().Size();
        volume += static_cast<double>(size.x) * size.y * size.z;
    }
    return volume;
}
