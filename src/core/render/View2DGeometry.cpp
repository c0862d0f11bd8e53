#include "render/View2DGeometry.h"

#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "render/View2DRenderer.h"

namespace {

bool BelongsToEntity(const CMapClass& solid) {
    for (const CMapClass* o = solid.Parent(); o && !o->IsWorld(); o = o->Parent()) {
        if (o->IsType(kTypeMapEntity)) {
            return true;
        }
    }
    return false;
}

std::uint32_t SolidPen(const CMapSolid& solid) {
    switch (solid.Contents()) {
    case CONTENTS_WATER:
        return View2DColors::kWater;
    case CONTENTS_SLIME:
        return View2DColors::kSlime;
    case CONTENTS_LAVA:
        return View2DColors::kLava;
    case CONTENTS_SOLID:
        break;
    }
    return BelongsToEntity(solid) ? View2DColors::kEntitySolid : View2DColors::kSolid;
}

} // namespace

bool View2DGeometry::IsCurrentFor(const CMapWorld& world) const {
    return m_valid && m_world == &world && m_objectCount == world.VisibleObjects().size();
}

void View2DGeometry::Build(const CMapWorld& world) {
    m_solids.clear();
    m_faces.clear();
    m_points.clear();
    m_pointEntities.clear();
    const std::vector<CMapClass*>& objects = world.VisibleObjects();
    for (const CMapClass* object : objects) {
        if (object->IsType(kTypeMapSolid)) {
            const auto& solid = static_cast<const CMapSolid&>(*object);
            if (solid.Bounds().IsEmpty()) {
                continue;
            }
            Solid record;
            record.bounds = solid.Bounds();
            record.pen = SolidPen(solid);
            record.firstFace = static_cast<std::uint32_t>(m_faces.size());
            for (const CMapFace& face : solid.Faces()) {
                if (face.PointCount() == 0) {
                    continue;
                }
                m_faces.push_back({static_cast<std::uint32_t>(m_points.size()),
                                   static_cast<std::uint32_t>(face.PointCount())});
                m_points.insert(m_points.end(), face.Points(), face.Points() + face.PointCount());
            }
            record.faceCount = static_cast<std::uint32_t>(m_faces.size()) - record.firstFace;
            m_solids.push_back(record);
        } else if (object->IsType(kTypeMapEntity)) {
            const auto& entity = static_cast<const CMapEntity&>(*object);
            if (!entity.IsPointEntity() || entity.Bounds().IsEmpty()) {
                continue;
            }
            const EntityClassDef* gameClass = entity.GameClass();
            m_pointEntities.push_back({entity.Bounds(), gameClass
                                                            ? OpaqueRgb(gameClass->ColorRGB())
                                                            : View2DColors::kEntityWithoutClass});
        }
    }
    m_connections = FindEntityConnections(objects);
    m_world = &world;
    m_objectCount = objects.size();
    m_valid = true;
}
