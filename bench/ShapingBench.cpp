#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/ShapeTemplate.h"
#include "session/EditorContext.h"
#include "shaping/Clip.h"
#include "shaping/VertexEdit.h"

#include "support/SolidBuilders.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

CMapSolid* Cylinder32() {
    auto* solid = new CMapSolid;
    BuildCylinder32(*solid);
    return solid;
}

int TopCorner(const CMapSolid& solid) {
    const std::vector<VertexHandle> handles = VertexHandles(solid);
    for (std::size_t i = 0; i < handles.size(); ++i) {
        if (handles[i].position == Vector3d(0, 128, 256)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// What a drag does on each mouse move: the handles of a 32-sided cylinder and the solid
// rebuilt with its top corner moved up (by 16 to 48 units: lifts of under 16 make faces
// too shallow for the single-precision solid builder and are refused, which is quicker).
void BM_VertexMovePreviewCylinder32(benchmark::State& state) {
    ScopedEditorContext context;
    const std::unique_ptr<CMapSolid> cylinder(Cylinder32());
    const int corner = TopCorner(*cylinder);
    double z = 16;
    for (auto _ : state) {
        benchmark::DoNotOptimize(VertexHandles(*cylinder));
        const VertexMovePreview preview = PreviewVertexMove(*cylinder, {corner}, {0, 0, z});
        if (preview.result != VertexMoveResult::Moved) {
            state.SkipWithError("the move was refused");
            break;
        }
        z = z >= 48 ? 16 : z + 1;
    }
}
BENCHMARK(BM_VertexMovePreviewCylinder32)->Unit(benchmark::kMicrosecond);

// The Vertex Move command on a 32-sided cylinder in a document (undone again between runs,
// which is not timed).
void BM_VertexMoveCommandCylinder32(benchmark::State& state) {
    ScopedEditorContext context;
    auto doc = std::make_unique<CMapDoc>();
    CMapDoc::SetActiveMapDoc(doc.get());
    CMapSolid* cylinder = Cylinder32();
    doc->World()->AddChild(cylinder);
    doc->SelectObject(cylinder, SELECT_ADD);
    const int corner = TopCorner(*cylinder);
    for (auto _ : state) {
        const VertexMoveOutcome outcome = OnVertexMove(*doc, {{cylinder, {corner}}}, {0, 0, 16});
        if (outcome.result != VertexMoveResult::Moved) {
            state.SkipWithError("the move was refused");
            break;
        }
        state.PauseTiming();
        doc->OnUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_VertexMoveCommandCylinder32)->Unit(benchmark::kMicrosecond);

// "Clip" on 500 selected boxes that a slanted plane cuts, keeping both pieces.
void BM_Clip500SelectedSolids(benchmark::State& state) {
    ScopedEditorContext context;
    const auto plane = ClipPlaneThrough({0, 0, 0}, {64, 64, 0}, {64, 64, 64});
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        for (int i = 0; i < 500; ++i) {
            auto* solid = new CMapSolid;
            const float x = static_cast<float>((i % 25) * 32 - 400);
            const float z = static_cast<float>((i / 25) * 32);
            AddBoxPlanes(*solid, {x, x - 32, z}, {x + 64, x + 32, z + 32});
            solid->CreateFromPlanes();
            solid->CalcBounds();
            doc->World()->AddChild(solid);
            doc->SelectObject(solid, SELECT_ADD);
        }
        state.ResumeTiming();

        const ClipResult result = OnClip(*doc, *plane, ClipKeep::Both);

        state.PauseTiming();
        if (result.clipped != 500) {
            state.SkipWithError("not every solid was cut");
        }
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Clip500SelectedSolids)->Unit(benchmark::kMillisecond);

// The preview of that clip, as drawn while a clip point is dragged.
void BM_ClipPreview500Solids(benchmark::State& state) {
    ScopedEditorContext context;
    std::vector<std::unique_ptr<CMapSolid>> owned;
    std::vector<const CMapSolid*> solids;
    for (int i = 0; i < 500; ++i) {
        auto solid = std::make_unique<CMapSolid>();
        const float x = static_cast<float>((i % 25) * 32 - 400);
        const float z = static_cast<float>((i / 25) * 32);
        AddBoxPlanes(*solid, {x, x - 32, z}, {x + 64, x + 32, z + 32});
        solid->CreateFromPlanes();
        solids.push_back(solid.get());
        owned.push_back(std::move(solid));
    }
    const auto plane = ClipPlaneThrough({0, 0, 0}, {64, 64, 0}, {64, 64, 64});
    for (auto _ : state) {
        benchmark::DoNotOptimize(PreviewClip(solids, *plane));
    }
}
BENCHMARK(BM_ClipPreview500Solids)->Unit(benchmark::kMillisecond);

} // namespace
