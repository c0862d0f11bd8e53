#pragma once

#include "render/PixelCanvas.h"
#include "render/View2DTransform.h"

#include <cstdint>
#include <vector>

class CMapWorld;

// Colours of the 2D views.
namespace View2DColors {
inline constexpr std::uint32_t kBackground = OpaqueRgb(255, 255, 255);
inline constexpr std::uint32_t kGrid = OpaqueRgb(210, 210, 210);
inline constexpr std::uint32_t kGridOrigin = OpaqueRgb(0, 0, 0);
inline constexpr std::uint32_t kSolid = OpaqueRgb(0, 0, 0);
inline constexpr std::uint32_t kEntitySolid = OpaqueRgb(220, 30, 220);
inline constexpr std::uint32_t kWater = OpaqueRgb(64, 64, 255);
inline constexpr std::uint32_t kSlime = OpaqueRgb(64, 255, 64);
inline constexpr std::uint32_t kLava = OpaqueRgb(255, 64, 64);
inline constexpr std::uint32_t kVertex = OpaqueRgb(0, 0, 0);
inline constexpr std::uint32_t kEntityWithoutClass = OpaqueRgb(220, 30, 220);
// The leak trail of a pointfile: a colour no map object is drawn in.
inline constexpr std::uint32_t kLeakTrail = OpaqueRgb(255, 140, 0);
} // namespace View2DColors

class View2DGeometry;

// What a 2D view shows of a map.
struct View2DScene {
    const CMapWorld* world = nullptr;
    // The world's packed drawing data; rebuilt here when missing or stale (may be null: a
    // copy made for this paint only).
    View2DGeometry* geometry = nullptr;
    View2DTransform transform;
    int gridSize = 64;
    bool showGrid = true;
    bool showConnections = false;
    bool drawVertices = true;
    // A pointfile's leak trail, drawn over everything three pixels wide (may be null).
    const std::vector<Vector>* leakTrail = nullptr;
};

struct View2DPaintStats {
    int solidsDrawn = 0;
    int solidsSkipped = 0;
    int pointEntitiesDrawn = 0;
    int connectionsDrawn = 0;
};

// Paints the canvas's clip rectangle: white, the grid when shown, then every visible solid
// whose box reaches the clip (face outlines in the pen of its contents, or the entity pen for
// ordinary solids of an entity, with 3 x 3 vertex frames when asked), every point entity's
// box framed in its class colour, and, when asked, the lines between targets and their
// targeted entities in the pen of the last solid drawn; last the leak trail, if any.
View2DPaintStats PaintView2D(const View2DScene& scene, PixelCanvas& canvas);
