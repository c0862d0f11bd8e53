#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/ShapeTemplate.h"
#include "render/View2DGeometry.h"
#include "render/View2DRenderer.h"
#include "session/EditorContext.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

// Time to repaint one whole 2D view of 800 x 600 pixels (grid, solids with their vertices,
// point entities), for the corpus's E1M1 and for a map of 60,000 brushes seen whole.
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// 250 x 240 boxes 24 units wide on a 32-unit pitch: 60,000 brushes from -4000 to 4000.
std::unique_ptr<CMapWorld> TiledWorld() {
    auto world = std::make_unique<CMapWorld>();
    CBlockShape block;
    for (int row = 0; row < 240; ++row) {
        for (int column = 0; column < 250; ++column) {
            BoundBox box;
            box.mins = {-4000.0f + column * 32.0f, -3840.0f + row * 32.0f, 0.0f};
            box.maxs = {box.mins.x + 24.0f, box.mins.y + 24.0f, 16.0f + (row + column) % 4 * 16.0f};
            auto* solid = new CMapSolid;
            block.SetFromBox(box);
            block.BuildSolid(*solid);
            solid->CalcBounds();
            world->AddChild(solid);
        }
    }
    world->CalcBounds();
    world->UpdateVisibleObjects();
    return world;
}

std::unique_ptr<CMapWorld> E1M1() {
    const std::string path = std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    if (!std::filesystem::exists(path)) {
        return nullptr;
    }
    auto world = std::make_unique<CMapWorld>();
    if (ReadMapFile(*world, path) != 0) {
        return nullptr;
    }
    world->CalcBounds(true);
    world->UpdateVisibleObjects();
    return world;
}

View2DScene CentredScene(const CMapWorld& world, int type, float zoom) {
    View2DScene scene;
    scene.world = &world;
    View2DTransform& t = scene.transform;
    t.axes = AxesForViewType(type);
    t.zoom = zoom;
    t.clientWidth = kWidth;
    t.clientHeight = kHeight;
    const Vector center = world.Bounds().Center();
    t.scrollH = ScrollToCenter(center[t.axes.horizontal], t.axes.invertHorizontal, kWidth, zoom);
    t.scrollV = ScrollToCenter(center[t.axes.vertical], t.axes.invertVertical, kHeight, zoom);
    return scene;
}

void Repaint(benchmark::State& state, const CMapWorld* world, int type, float zoom) {
    if (!world) {
        state.SkipWithError("corpus map not found");
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth * kHeight));
    View2DGeometry geometry; // packed on the first paint, as a view keeps it
    View2DScene scene = CentredScene(*world, type, zoom);
    scene.geometry = &geometry;
    View2DPaintStats stats;
    for (auto _ : state) {
        PixelCanvas canvas(pixels.data(), kWidth, kHeight, kWidth);
        stats = PaintView2D(scene, canvas);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["solids_drawn"] = stats.solidsDrawn;
}

void BM_RepaintE1M1TopAtQuarterZoom(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = E1M1();
    Repaint(state, world.get(), VIEW2D_XY, 0.25f);
}
BENCHMARK(BM_RepaintE1M1TopAtQuarterZoom)->Unit(benchmark::kMillisecond);

void BM_RepaintE1M1FrontZoomedOut(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = E1M1();
    Repaint(state, world.get(), VIEW2D_XZ, 0.03125f);
}
BENCHMARK(BM_RepaintE1M1FrontZoomedOut)->Unit(benchmark::kMillisecond);

void BM_Repaint60000BrushesZoomedOut(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = TiledWorld();
    Repaint(state, world.get(), VIEW2D_XY, 0.03125f);
}
BENCHMARK(BM_Repaint60000BrushesZoomedOut)->Unit(benchmark::kMillisecond);

void BM_Repaint60000BrushesSideZoomedOut(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = TiledWorld();
    Repaint(state, world.get(), VIEW2D_YZ, 0.03125f);
}
BENCHMARK(BM_Repaint60000BrushesSideZoomedOut)->Unit(benchmark::kMillisecond);

void BM_Repaint60000BrushesAtQuarterZoom(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = TiledWorld();
    Repaint(state, world.get(), VIEW2D_XY, 0.25f);
}
BENCHMARK(BM_Repaint60000BrushesAtQuarterZoom)->Unit(benchmark::kMillisecond);

// The first paint after a change packs the map again.
void BM_PackAndRepaint60000Brushes(benchmark::State& state) {
    static const std::unique_ptr<CMapWorld> world = TiledWorld();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth * kHeight));
    View2DGeometry geometry;
    View2DScene scene = CentredScene(*world, VIEW2D_XY, 0.03125f);
    scene.geometry = &geometry;
    for (auto _ : state) {
        geometry.Invalidate();
        PixelCanvas canvas(pixels.data(), kWidth, kHeight, kWidth);
        PaintView2D(scene, canvas);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_PackAndRepaint60000Brushes)->Unit(benchmark::kMillisecond);

} // namespace
