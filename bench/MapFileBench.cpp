// Loading and saving maps as MAP text and RMF: the corpus map E1M1-edited-ents.map, a map of
// 60,000 solids made by tiling that map's solids, and one of 60,000 solids in the texture-axis
// dialect made from q1_mountain.map.
//
// Loading a tiled map should take at most half as long as a plain line-by-line scan of the same
// file in Python: bench/line_scan.py FILE runs that scan (the files are written to
// $TMPDIR/brickhaven-map-bench/). The load benchmarks also give the resident memory with the
// map loaded and its peak during the load.

#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"
#include "session/EditorContext.h"
#include "support/TiledSolids.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

const std::string& AxisCorpusMap() {
    static const std::string path =
        std::string(BRICKHAVEN_CORPUS_DIR) + "/axis-maps/q1_mountain.map";
    return path;
}

// The solids of the texture-axis corpus map, copied until there are kTiledSolids. The map is
// nearly as large as the range where polygons are built, so the copies overlap, each moved a
// little from the last.
const std::string& TiledAxisMapPath() {
    static const std::string path = [] {
        CMapWorld source;
        ReadMapFile(source, AxisCorpusMap());
        const std::vector<const CMapSolid*> solids = SolidsOf(source);
        CMapWorld tiled;
        tiled.SetDialect(source.Dialect());
        for (int made = 0, copy = 0; made < kTiledSolids && !solids.empty(); ++copy) {
            const Vector offset{static_cast<float>(copy % 8 * 32),
                                static_cast<float>(copy / 8 % 8 * 32),
                                static_cast<float>(copy / 64 * 32)};
            for (const CMapSolid* solid : solids) {
                if (made == kTiledSolids) {
                    break;
                }
                CMapClass* moved = solid->Clone();
                moved->TransMove(offset);
                tiled.AddChild(moved);
                ++made;
            }
        }
        const std::string file = TempPath("tiled-axis.map");
        WriteMapFile(tiled, file);
        return file;
    }();
    return path;
}

// Resident memory in megabytes as /proc/self/status gives it under key (VmRSS: now, VmHWM:
// the peak); 0 where there is no such file.
double ResidentMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key + ":") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0;
}

// Starts measuring the peak of resident memory afresh (Linux).
void ResetResidentPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
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
    if (std::filesystem::exists(CorpusMap()) && std::filesystem::exists(AxisCorpusMap())) {
        return true;
    }
    state.SkipWithError("the map corpus is not present");
    return false;
}

// Loads path each iteration; the world is destroyed outside the timed part.
void LoadMap(benchmark::State& state, const std::string& path, bool rmf) {
    int solids = 0;
    double resident = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetResidentPeak();
        state.ResumeTiming();
        auto world = std::make_unique<CMapWorld>();
        const int result = rmf ? ReadRmfFile(*world, path) : ReadMapFile(*world, path);
        state.PauseTiming();
        resident = std::max(resident, ResidentMegabytes("VmRSS"));
        peak = std::max(peak, ResidentMegabytes("VmHWM"));
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
    state.counters["resident_MB"] = resident;
    state.counters["peak_MB"] = peak;
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

// Writes the MAP text of the map at source to memory: the writing alone, without the disk.
void WriteMapText(benchmark::State& state, const std::string& source) {
    CMapWorld world;
    ReadMapFile(world, source);
    std::string text;
    for (auto _ : state) {
        if (WriteMapData(world, text) != 0) {
            state.SkipWithError("the map was not written");
        }
    }
    state.counters["bytes"] = static_cast<double>(text.size());
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

void BM_Tiled60kAxisMapLoad(benchmark::State& state) {
    if (CorpusPresent(state)) {
        LoadMap(state, TiledAxisMapPath(), false);
    }
}
void BM_Tiled60kAxisMapSave(benchmark::State& state) {
    if (CorpusPresent(state)) {
        SaveMap(state, TiledAxisMapPath(), TempPath("tiled-axis-saved.map"), false);
    }
}

void BM_Tiled60kMapWriteText(benchmark::State& state) {
    if (CorpusPresent(state)) {
        WriteMapText(state, TiledMapPath());
    }
}
void BM_Tiled60kAxisMapWriteText(benchmark::State& state) {
    if (CorpusPresent(state)) {
        WriteMapText(state, TiledAxisMapPath());
    }
}

} // namespace

BENCHMARK(BM_CorpusMapLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusMapSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusRmfSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusRmfLoad)->Unit(benchmark::kMillisecond);

// The large maps are loaded as the Python scan measures itself: the fastest of five runs, each
// one load.
void FastestOfFive(benchmark::internal::Benchmark* bench) {
    bench->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(5)
        ->ComputeStatistics("fastest",
                            [](const std::vector<double>& times) {
                                return *std::min_element(times.begin(), times.end());
                            })
        ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Tiled60kMapLoad)->Apply(FastestOfFive);
BENCHMARK(BM_Tiled60kMapSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kRmfSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kRmfLoad)->Apply(FastestOfFive);
BENCHMARK(BM_Tiled60kAxisMapLoad)->Apply(FastestOfFive);
BENCHMARK(BM_Tiled60kAxisMapSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kMapWriteText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiled60kAxisMapWriteText)->Unit(benchmark::kMillisecond)->Iterations(3);
