#include "mapobjects/MapSolid.h"
#include "mapobjects/ShapeTemplate.h"
#include "session/EditorContext.h"

#include "support/SolidBuilders.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A 32-sided cylinder as the primitive builds it; its plane points are its polygons' first
// three points.
std::unique_ptr<CMapSolid> Cylinder32() {
    auto solid = std::make_unique<CMapSolid>();
    BuildCylinder32(*solid);
    return solid;
}

// Recomputing the polygons of an existing cube (as editing operations do).
void BM_CreateFromPlanesCube(benchmark::State& state) {
    ScopedEditorContext context;
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    for (auto _ : state) {
        benchmark::DoNotOptimize(solid.CreateFromPlanes());
    }
    state.SetItemsProcessed(state.iterations());
    if (!context.Context().errors.empty()) {
        state.SkipWithError("the cube failed");
    }
}
BENCHMARK(BM_CreateFromPlanesCube);

// A whole cube brush as the MAP reader makes it: new solid, six faces from plane points,
// polygons, bounds.
void BM_NewCubeBrush(benchmark::State& state) {
    ScopedEditorContext context;
    for (auto _ : state) {
        auto solid = std::make_unique<CMapSolid>();
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        benchmark::DoNotOptimize(solid->CreateFromPlanes());
        solid->CalcBounds();
        benchmark::DoNotOptimize(solid.get());
    }
    state.SetItemsProcessed(state.iterations());
    if (!context.Context().errors.empty()) {
        state.SkipWithError("a cube failed");
    }
}
BENCHMARK(BM_NewCubeBrush);

void BM_CreateFromPlanesCylinder32(benchmark::State& state) {
    ScopedEditorContext context;
    std::unique_ptr<CMapSolid> solid = Cylinder32();
    for (auto _ : state) {
        benchmark::DoNotOptimize(solid->CreateFromPlanes());
    }
    state.SetItemsProcessed(state.iterations());
    if (!context.Context().errors.empty() || solid->FaceCount() != 34) {
        state.SkipWithError("the cylinder failed");
    }
}
BENCHMARK(BM_CreateFromPlanesCylinder32);

} // namespace
