#include "tools/View2DRenderer.h"

#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "tools/EntityConnections.h"
#include "tools/View2DGrid.h"

#include <vector>

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

void PaintGrid(const View2DScene& scene, PixelCanvas& canvas) {
    const GridLines grid = ComputeGridLines(scene.transform, scene.gridSize, canvas.Clip());
    for (const GridLine& row : grid.rows) {
        canvas.HorizontalLine(row.pixel, grid.rowFrom, grid.rowTo,
                              row.origin ? View2DColors::kGridOrigin : View2DColors::kGrid);
    }
    for (const GridLine& column : grid.columns) {
        canvas.VerticalLine(column.pixel, grid.columnFrom, grid.columnTo,
                            column.origin ? View2DColors::kGridOrigin : View2DColors::kGrid);
    }
}

void PaintFace(const CMapFace& face, const View2DTransform& t, bool drawVertices, std::uint32_t pen,
               std::vector<PixelPoint>& pixels, PixelCanvas& canvas) {
    const int count = face.PointCount();
    if (count == 0) {
        return;
    }
    pixels.resize(static_cast<std::size_t>(count));
    const Vector* points = face.Points();
    for (int i = 0; i < count; ++i) {
        pixels[static_cast<std::size_t>(i)] = t.WorldToClient(points[i]);
    }
    for (int i = 0; i < count; ++i) {
        const PixelPoint& a = pixels[static_cast<std::size_t>(i)];
        const PixelPoint& b = pixels[static_cast<std::size_t>((i + 1) % count)];
        canvas.Line(a.x, a.y, b.x, b.y, pen);
    }
    if (drawVertices) {
        for (int i = 0; i + 1 < count; ++i) {
            const PixelPoint& p = pixels[static_cast<std::size_t>(i)];
            canvas.Frame({p.x - 1, p.y - 1, p.x + 1, p.y + 1}, View2DColors::kVertex);
        }
    }
}

} // namespace

View2DPaintStats PaintView2D(const View2DScene& scene, PixelCanvas& canvas) {
    View2DPaintStats stats;
    const PixelRect clip = canvas.Clip();
    if (clip.IsEmpty()) {
        return stats;
    }
    canvas.Fill(clip, View2DColors::kBackground);
    if (scene.showGrid) {
        PaintGrid(scene, canvas);
    }
    if (!scene.world) {
        return stats;
    }
    const View2DTransform& t = scene.transform;
    const std::vector<CMapClass*>& objects = scene.world->VisibleObjects();
    std::vector<PixelPoint> pixels;
    std::uint32_t lastPen = View2DColors::kSolid;

    for (const CMapClass* object : objects) {
        if (!object->IsType(kTypeMapSolid)) {
            continue;
        }
        if (object->Bounds().IsEmpty() || !t.BoxToClient(object->Bounds()).Intersects(clip)) {
            ++stats.solidsSkipped;
            continue;
        }
        const auto& solid = static_cast<const CMapSolid&>(*object);
        lastPen = SolidPen(solid);
        for (const CMapFace& face : solid.Faces()) {
            PaintFace(face, t, scene.drawVertices, lastPen, pixels, canvas);
        }
        ++stats.solidsDrawn;
    }

    for (const CMapClass* object : objects) {
        if (!object->IsType(kTypeMapEntity)) {
            continue;
        }
        const auto& entity = static_cast<const CMapEntity&>(*object);
        if (!entity.IsPointEntity() || entity.Bounds().IsEmpty()) {
            continue;
        }
        const PixelRect box = t.BoxToClient(entity.Bounds());
        if (!box.Intersects(clip)) {
            continue;
        }
        const EntityClassDef* gameClass = entity.GameClass();
        canvas.Frame(box, gameClass ? OpaqueRgb(gameClass->ColorRGB())
                                    : View2DColors::kEntityWithoutClass);
        ++stats.pointEntitiesDrawn;
    }

    if (scene.showConnections) {
        for (const EntityConnection& line : FindEntityConnections(objects)) {
            const PixelPoint a = t.WorldToClient(line.from);
            const PixelPoint b = t.WorldToClient(line.to);
            canvas.Line(a.x, a.y, b.x, b.y, lastPen);
            ++stats.connectionsDrawn;
        }
    }
    return stats;
}
