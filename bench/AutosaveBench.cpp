// What an autosave costs the user-interface thread: putting the map into RMF in memory (the
// file itself is written on the worker thread). The corpus's E1M1, and a map of 60,000
// brushes made by tiling E1M1's solids as the map file benchmark does.

#include "autosave/AutosaveManager.h"
#include "common/EditorContext.h"
#include "document/MapDoc.h"
#include "formats/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kTiledSolids = 60000;

// The corpus folder: $BRICKHAVEN_CORPUS_DIR when set, else the one beside the sources.
const std::string& CorpusMap() {
    static const std::string path = [] {
        const char* folder = std::getenv("BRICKHAVEN_CORPUS_DIR");
        return std::string(folder && *folder ? folder : BRICKHAVEN_CORPUS_DIR) +
               "/maps/E1M1-edited-ents.map";
    }();
    return path;
}

// E1M1's solids copied side by side in a grid until there are kTiledSolids.
void TileInto(CMapWorld& source, CMapWorld& tiled) {
    std::vector<const CMapSolid*> solids;
    EnumChildren(
        source,
        [&solids](CMapClass* object) {
            solids.push_back(static_cast<const CMapSolid*>(object));
            return true;
        },
        kTypeMapSolid);
    const BoundBox box = source.Bounds();
    const Vector step = box.Size() + Vector{64, 64, 64};
    int count = 0;
    for (int z = 0; z < 4 && count < kTiledSolids; ++z) {
        for (int y = 0; y < 4 && count < kTiledSolids; ++y) {
            for (int x = 0; x < 6 && count < kTiledSolids; ++x) {
                const Vector offset =
                    Vector{-7200.0f + x * step.x, -7200.0f + y * step.y, -1000.0f + z * step.z} -
                    box.mins;
                for (const CMapSolid* solid : solids) {
                    if (count == kTiledSolids) {
                        break;
                    }
                    CMapClass* copy = solid->Clone();
                    copy->TransMove(offset);
                    tiled.AddChild(copy);
                    ++count;
                }
            }
        }
    }
    tiled.CalcBounds(true);
}

// One open, modified document; each iteration is the autosave's part on the UI thread.
void AutosaveOnTheUiThread(benchmark::State& state, bool tiled) {
    if (!std::filesystem::exists(CorpusMap())) {
        state.SkipWithError("the map corpus is not present");
        return;
    }
    ScopedEditorContext context;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "brickhaven-autosave-bench";
    CMapDoc doc;
    CMapWorld source;
    if (ReadMapFile(tiled ? source : *doc.World(), CorpusMap()) != 0) {
        state.SkipWithError("the map did not load");
        return;
    }
    if (tiled) {
        TileInto(source, *doc.World());
    }
    doc.SetPath((folder / "bench.rmf").string());
    doc.SetModified();
    AutosaveManager manager(folder.string());
    std::string data;
    WriteRmfData(*doc.World(), data);
    for (auto _ : state) {
        manager.AutosaveNow(doc);
        state.PauseTiming();
        manager.WaitIdle();
        state.ResumeTiming();
    }
    manager.DocumentClosed(doc);
    manager.WaitIdle();
    state.counters["bytes"] = static_cast<double>(data.size());
}

void BM_AutosaveE1M1(benchmark::State& state) {
    AutosaveOnTheUiThread(state, false);
}
void BM_Autosave60kBrushes(benchmark::State& state) {
    AutosaveOnTheUiThread(state, true);
}

} // namespace

BENCHMARK(BM_AutosaveE1M1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Autosave60kBrushes)->Unit(benchmark::kMillisecond)->Iterations(5);
