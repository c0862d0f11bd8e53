#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "render/View3DModel.h"
#include "session/EditorContext.h"

#include "support/SolidBuilders.h"

#include <benchmark/benchmark.h>

#include <memory>

// The 3D view's work apart from drawing, on a map of 60,025 box brushes (245 x 245): building
// every mesh, switching textures on, re-making the drawing data, and a selection change (which
// re-makes one chunk of 2,048 faces).
namespace {

struct TiledMap {
    static constexpr int kSide = 245;
    ScopedEditorContext context;
    CMapDoc doc;
    CMapSolid* first = nullptr;

    TiledMap() {
        Wad2Writer writer;
        writer.AddTexture("TILE", 64, 64, {std::vector<std::uint8_t>(64 * 64, 9)});
        TextureManager& textures = context.Context().TextureCatalogue();
        textures.AddWadFromMemory("tile.wad", writer.Build());
        textures.SortAllTextures();
        context.Context().textures = &textures;
        CMapWorld& world = *doc.World();
        for (int n = 0; n < kSide * kSide; ++n) {
            const float x = static_cast<float>(n % kSide - kSide / 2) * 32.0f;
            const float y = static_cast<float>(n / kSide - kSide / 2) * 32.0f;
            auto* solid = new CMapSolid;
            AddBoxPlanes(*solid, {x, y, 0}, {x + 24, y + 24, 32});
            solid->CreateFromPlanes();
            solid->SetTexture("TILE");
            solid->CalcBounds();
            world.AddChild(solid);
            first = first ? first : solid;
        }
        world.CalcBounds(true);
        world.UpdateVisibleObjects();
    }
};

void BM_StartAndDrawingData(benchmark::State& state) {
    TiledMap map;
    for (auto _ : state) {
        View3DModel model(map.doc);
        model.Start();
        model.Meshes().RefreshChunks();
        benchmark::DoNotOptimize(model.Meshes().ChunkCount());
    }
}
BENCHMARK(BM_StartAndDrawingData)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_TexturesOnAndOff(benchmark::State& state) {
    TiledMap map;
    View3DModel model(map.doc);
    model.Start();
    for (auto _ : state) {
        model.SetRenderMode(View3DModel::kTextured);
        model.Meshes().RefreshChunks();
        model.SetRenderMode(View3DModel::kFlat);
        model.Meshes().RefreshChunks();
    }
}
BENCHMARK(BM_TexturesOnAndOff)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SelectOneSolid(benchmark::State& state) {
    TiledMap map;
    View3DModel model(map.doc);
    model.SetRenderMode(View3DModel::kTextured);
    model.Start();
    model.Meshes().RefreshChunks();
    int flags = SELECT_ADD | SELECT_UPDATE;
    for (auto _ : state) {
        map.doc.SelectObject(map.first, flags);
        model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_3D_ONLY, nullptr);
        benchmark::DoNotOptimize(model.Meshes().RefreshChunks());
        flags = flags == (SELECT_ADD | SELECT_UPDATE) ? (SELECT_CLEAR | SELECT_UPDATE)
                                                      : (SELECT_ADD | SELECT_UPDATE);
    }
}
BENCHMARK(BM_SelectOneSolid)->Unit(benchmark::kMillisecond);

} // namespace
