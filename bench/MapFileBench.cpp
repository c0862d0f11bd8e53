// Loading and saving maps as MAP text and RMF: the corpus map E1M1-edited-ents.map, and a
// map of 60,000 solids made by tiling that map's solids.

#include "common/EditorContext.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "support/TiledSolids.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kTiledSolids = 60000;

const std::string& CorpusMap() {
    static const std::string path =
        std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    return path;
}

std::string TempPath(const std::string& name) {
    static const std::filesystem::path dir = [] {
        auto path = std::filesystem::temp_directory_path() / "brickhaven-map-bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return (dir / name).string();
}

// Every solid of the corpus map, copied side by side in a grid that stays inside the range
// where the editor builds polygons, until there are kTiledSolids.
const std::string& TiledMapPath() {
    static const std::string path = [] {
        CMapWorld source;
        ReadMapFile(source, CorpusMap());
        CMapWorld tiled;
        TileSolids(source, tiled, kTiledSolids);
        const std::string file = TempPath("tiled.map");
        WriteMapFile(tiled, file);
        return file;
    }();
    return path;
}

// The map at mapPath saved as RMF (once).
std::string RmfOf(const std::string& mapPath, const std::string& name) {
    const std::string path = TempPath(name);
    if (!std::filesystem::exists(path)) {
        CMapWorld world;
        ReadMapFile(world, mapPath);
        WriteRmfFile(world, path);
    }
    return path;
}

bool CorpusPresent(benchmark::State& state) {
    if (std::filesystem::exists(CorpusMap())) {
        return true;
    }
    state.SkipWithError("the map corpus is not present");
    return false;
}

// Loads path each iteration; the world is destroyed outside the timed part.
void LoadMap(benchmark::State& state, const std::string& path, bool rmf) {
    int solids = 0;
    for (auto _ : state) {
        auto world = std::make_unique<CMapWorld>();
        const int result = rmf ? ReadRmfFile(*world, path) : ReadMapFile(*world, path);
        state.PauseTiming();
        if (result != 0) {
            state.SkipWithError("the map did not load");
        }
        solids = 0;
        EnumChildren(
            *world,
            [&solids](CMapClass*) {
                ++solids;
                return true;
            },
            kTypeMapSolid);
        world.reset();
        state.ResumeTiming();
    }
    state.counters["solids"] = solids;
}

void SaveMap(benchmark::State& state, const std::string& source, const std::string& target,
             bool rmf) {
    CMapWorld world;
    ReadMapFile(world, source);
    for (auto _ : state) {
        const int result = rmf ? WriteRmfFile(world, target) : WriteMapFile(world, target);
        if (result != 0) {
            state.SkipWithError("the map was not saved");
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(target));
}

void BM_CorpusMapLoad(benchmark::State& state) {
    if (CorpusPresent(state)) {
        LoadMap(state, CorpusMap(), false);
    }
}
void BM_CorpusMapSave(benchmark::State& state) {
    if (CorpusPresent(state)) {
        SaveMap(state, CorpusMap(), TempPath("corpus-saved.map"), false);
    }
}
void BM_CorpusRmfSave(benchmark::State& state) {
    if (CorpusPresent(state)) {
        SaveMap(state, CorpusMap(), TempPath("corpus.rmf"), true);
    }
}
void BM_CorpusRmfLoad(benchmark::State& state) {
    if (CorpusPresent(state)) {
        LoadMap(state, RmfOf(CorpusMap(), "corpus-load.rmf"), true);
    }
}

void BM_Tiled60kMapLoad(benchmark::State& state) {
    if (CorpusPresent(state)) {
        LoadMap(state, TiledMapPath(), false);
    }
}
void BM_Tiled60kMapSave(benchmark::State& state) {
    if (CorpusPresent(state)) {
        SaveMap(state, TiledMapPath(), TempPath("tiled-saved.map"), false);
    }
}
void BM_Tiled60kRmfSave(benchmark::State& state) {
    if (CorpusPresent(state)) {
        SaveMap(state, TiledMapPath(), TempPath("tiled.rmf"), true);
    }
}
void BM_Tiled60kRmfLoad(benchmark::State& state) {
    if (CorpusPresent(state)) {
        LoadMap(state, RmfOf(TiledMapPath(), "tiled-load.rmf"), true);
    }
}

} // namespace

BENCHMARK(BM_CorpusMapLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusMapSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusRmfSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusRmfLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tiled60kMapLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kMapSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kRmfSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kRmfLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
