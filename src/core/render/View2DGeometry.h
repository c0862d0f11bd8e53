#pragma once

#include "geometry/BoundBox.h"
#include "render/EntityConnections.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CMapWorld;

// A packed copy of what the 2D views draw of a world: every visible solid with its bounds, its
// pen and its faces' points, every visible point entity with its box and colour, and the lines
// from targets to targeted entities. Painting reads it front to back instead of chasing each
// solid's and face's own allocations, which is what makes maps of many thousand solids paint
// quickly. The views drop it whenever the document reports a change; a different world or a
// different number of visible objects also makes it stale.
class View2DGeometry {
public:
    struct Solid {
        BoundBox bounds;
        std::uint32_t pen = 0;
        std::uint32_t firstFace = 0;
        std::uint32_t faceCount = 0;
    };
    struct Face {
        std::uint32_t firstPoint = 0;
        std::uint32_t pointCount = 0;
    };
    struct PointEntity {
        BoundBox bounds;
        std::uint32_t color = 0;
    };

    void Build(const CMapWorld& world);
    void Invalidate() { m_valid = false; }
    bool IsCurrentFor(const CMapWorld& world) const;

    const std::vector<Solid>& Solids() const { return m_solids; }
    const std::vector<Face>& Faces() const { return m_faces; }
    const std::vector<Vector>& Points() const { return m_points; }
    const std::vector<PointEntity>& PointEntities() const { return m_pointEntities; }
    const std::vector<EntityConnection>& Connections() const { return m_connections; }

private:
    bool m_valid = false;
    const CMapWorld* m_world = nullptr;
    std::size_t m_objectCount = 0;
    std::vector<Solid> m_solids;
    std::vector<Face> m_faces;
    std::vector<Vector> m_points;
    std::vector<PointEntity> m_pointEntities;
    std::vector<EntityConnection> m_connections;
};
