#include "mapobjects/MapInformation.h"

#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

MapInformation CountMapInformation(const CMapWorld& world) {
    MapInformation info;
    EnumChildren(world, [&info](CMapClass* object) {
        if (object->IsType(kTypeMapSolid)) {
            ++info.solids;
            info.faces += static_cast<const CMapSolid*>(object)->FaceCount();
        } else if (object->IsType(kTypeMapEntity)) {
            if (static_cast<const CMapEntity*>(object)->IsPointEntity()) {
                ++info.pointEntities;
            } else {
                ++info.solidEntities;
            }
        }
        return true;
    });
    return info;
}
