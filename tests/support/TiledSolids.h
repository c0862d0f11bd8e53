#pragma once

#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <vector>

// Every solid of world, in tree order.
inline std::vector<const CMapSolid*> SolidsOf(CMapWorld& world) {
    std::vector<const CMapSolid*> solids;
    EnumChildren(
        world,
        [&solids](CMapClass* object) {
            solids.push_back(static_cast<const CMapSolid*>(object));
            return true;
        },
        kTypeMapSolid);
    return solids;
}

// Copies of every solid of source, laid side by side in a grid (6 x 4 x 4 tiles) that stays
// inside the range where the editor builds polygons, added to tiled until it holds count
// solids. Benchmarks make their large maps from a corpus map this way.
inline void TileSolids(CMapWorld& source, CMapWorld& tiled, int count) {
    const std::vector<const CMapSolid*> solids = SolidsOf(source);
    const BoundBox box = source.Bounds();
    const Vector step = box.Size() + Vector{64, 64, 64};
    int made = 0;
    for (int z = 0; z < 4 && made < count; ++z) {
        for (int y = 0; y < 4 && made < count; ++y) {
            for (int x = 0; x < 6 && made < count; ++x) {
                const Vector offset =
                    Vector{-7200.0f + x * step.x, -7200.0f + y * step.y, -1000.0f + z * step.z} -
                    box.mins;
                for (const CMapSolid* solid : solids) {
                    if (made == count) {
                        break;
                    }
                    CMapClass* copy = solid->Clone();
                    copy->TransMove(offset);
                    tiled.AddChild(copy);
                    ++made;
                }
            }
        }
    }
}
