#include "browser/TextureBrowserLayout.h"
#include "document/MapDoc.h"
#include "gamedata/QuakeGraphic.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "render/View3DModel.h"
#include "render/View3DPicking.h"
#include "session/EditorContext.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Ray picking in the 3D view: E1M1 from the corpus, and E1M1 tiled to 60,000 brushes; and the
// texture browser's layout of 2,000 thumbnails.
namespace {

// The corpus folder (BRICKHAVEN_CORPUS_DIR in the environment overrides the built-in one).
std::string CorpusDir() {
    const char* overridden = std::getenv("BRICKHAVEN_CORPUS_DIR");
    return overridden && *overridden ? overridden : BRICKHAVEN_CORPUS_DIR;
}

struct PickScene {
    ScopedEditorContext context;
    CMapDoc doc;
    std::unique_ptr<View3DModel> model;
    bool loaded = false;
    int solids = 0;
    // The middle of one copy of the map (between copies lies empty space).
    Vector aim;

    explicit PickScene(int wantedSolids) {
        const std::string path = CorpusDir() + "/maps/E1M1-edited-ents.map";
        if (!std::filesystem::exists(path) || !doc.OpenDocument(path)) {
            return;
        }
        CMapWorld& world = *doc.World();
        std::vector<CMapSolid*> originals;
        for (CMapClass* child : world.Children()) {
            if (child->IsType(kTypeMapSolid)) {
                originals.push_back(static_cast<CMapSolid*>(child));
            }
        }
        solids = static_cast<int>(originals.size());
        const Vector size = world.Bounds().Size();
        aim = world.Bounds().Center();
        if (wantedSolids > solids) {
            aim = aim + Vector{4 * size.x, 2 * size.y, 0.0f};
        }
        for (int tile = 1; solids < wantedSolids; ++tile) {
            const Vector offset{static_cast<float>(tile % 10) * size.x,
                                static_cast<float>(tile / 10) * size.y, 0.0f};
            for (CMapSolid* solid : originals) {
                CMapClass* copy = solid->Clone();
                copy->TransMove(offset);
                world.AddChild(copy);
                if (++solids >= wantedSolids) {
                    break;
                }
            }
        }
        world.CalcBounds(true);
        world.UpdateVisibleObjects();
        model = std::make_unique<View3DModel>(doc);
        model->Start();
        model->Meshes().RefreshChunks();
        loaded = true;
    }
};

void Pick(benchmark::State& state, PickScene& scene, bool across) {
    if (!scene.loaded) {
        state.SkipWithError("corpus map not available");
        return;
    }
    const BoundBox box = scene.doc.World()->Bounds();
    const Vector centre = scene.aim;
    if (across) {
        // Along the whole map at the height of the first tile's middle: the longest ray.
        scene.model->Camera().LookFrom({box.mins.x - 64, centre.y, centre.z},
                                       {box.maxs.x, centre.y, centre.z});
    } else {
        scene.model->Camera().LookFrom({centre.x, centre.y, box.maxs.z + 500}, centre);
    }
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = View3DPicking::HitsAt(*scene.model, 400.0f, 300.0f, 800, 600).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["solids"] = scene.solids;
    state.counters["hits"] = static_cast<double>(hits);
}

void BM_PickE1M1(benchmark::State& state) {
    static PickScene scene(0);
    Pick(state, scene, state.range(0) != 0);
}
BENCHMARK(BM_PickE1M1)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Pick60000Brushes(benchmark::State& state) {
    static PickScene scene(60000);
    Pick(state, scene, state.range(0) != 0);
}
BENCHMARK(BM_Pick60000Brushes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_BrowserLayout2000(benchmark::State& state) {
    std::deque<QuakeGraphic> store;
    std::vector<QuakeGraphic*> textures;
    for (int i = 0; i < 2000; ++i) {
        QuakeGraphic& t = store.emplace_back();
        t.name = "texture" + std::to_string(i);
        t.width = 16 << (i % 4);
        t.height = 16 << ((i / 4) % 4);
        textures.push_back(&t);
    }
    TextureBrowserLayout layout;
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        layout.Layout(textures, size, 6, 1000);
        benchmark::DoNotOptimize(layout.ExtentHeight());
    }
}
BENCHMARK(BM_BrowserLayout2000)->Arg(0)->Arg(64)->Unit(benchmark::kMicrosecond);

} // namespace
