#include "render/View2DRenderer.h"

#include "mapobjects/MapWorld.h"
#include "render/EntityConnections.h"
#include "render/View2DGeometry.h"
#include "render/View2DGrid.h"

#include <vector>

namespace {

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

void PaintFace(const Vector* points, int count, const View2DTransform& t, bool drawVertices,
               std::uint32_t pen, std::vector<PixelPoint>& pixels, PixelCanvas& canvas) {
    pixels.resize(static_cast<std::size_t>(count));
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

void PaintLeakTrail(const View2DScene& scene, PixelCanvas& canvas) {
    if (!scene.leakTrail || scene.leakTrail->empty()) {
        return;
    }
    const std::vector<Vector>& points = *scene.leakTrail;
    const View2DTransform& t = scene.transform;
    PixelPoint previous = t.WorldToClient(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PixelPoint next = t.WorldToClient(points[i]);
        for (int d = -1; d <= 1; ++d) {
            canvas.Line(previous.x + d, previous.y, next.x + d, next.y, View2DColors::kLeakTrail);
            canvas.Line(previous.x, previous.y + d, next.x, next.y + d, View2DColors::kLeakTrail);
        }
        previous = next;
    }
    // Where the trail starts (inside the map) gets a mark of its own.
    const PixelPoint start = t.WorldToClient(points.front());
    canvas.Frame({start.x - 3, start.y - 3, start.x + 3, start.y + 3}, View2DColors::kLeakTrail);
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
        PaintLeakTrail(scene, canvas);
        return stats;
    }
    View2DGeometry ownGeometry;
    View2DGeometry& geometry = scene.geometry ? *scene.geometry : ownGeometry;
    if (!geometry.IsCurrentFor(*scene.world)) {
        geometry.Build(*scene.world);
    }
    const View2DTransform& t = scene.transform;
    const std::vector<Vector>& points = geometry.Points();
    const std::vector<View2DGeometry::Face>& faces = geometry.Faces();
    std::vector<PixelPoint> pixels;
    std::uint32_t lastPen = View2DColors::kSolid;

    for (const View2DGeometry::Solid& solid : geometry.Solids()) {
        if (!t.BoxToClient(solid.bounds).Intersects(clip)) {
            ++stats.solidsSkipped;
            continue;
        }
        lastPen = solid.pen;
        for (std::uint32_t f = solid.firstFace; f < solid.firstFace + solid.faceCount; ++f) {
            const View2DGeometry::Face& face = faces[f];
            PaintFace(points.data() + face.firstPoint, static_cast<int>(face.pointCount), t,
                      scene.drawVertices, lastPen, pixels, canvas);
        }
        ++stats.solidsDrawn;
    }

    for (const View2DGeometry::PointEntity& entity : geometry.PointEntities()) {
        const PixelRect box = t.PointEntityToClient(entity.bounds);
        if (!box.Intersects(clip)) {
            continue;
        }
        canvas.Frame(box, entity.color);
        ++stats.pointEntitiesDrawn;
    }

    if (scene.showConnections) {
        for (const EntityConnection& line : geometry.Connections()) {
            const PixelPoint a = t.WorldToClient(line.from);
            const PixelPoint b = t.WorldToClient(line.to);
            canvas.Line(a.x, a.y, b.x, b.y, lastPen);
            ++stats.connectionsDrawn;
        }
    }
    PaintLeakTrail(scene, canvas);
    return stats;
}
