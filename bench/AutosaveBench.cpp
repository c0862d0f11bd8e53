// What an autosave costs the user-interface thread: putting the map into RMF in memory (the
// file itself is written on the worker thread). The corpus's E1M1, and a map of 60,000
// brushes made by tiling E1M1's solids as the map file benchmark does.

#include "autosave/AutosaveManager.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/TiledSolids.h"

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
        TileSolids(source, *doc.World(), kTiledSolids);
        doc.World()->CalcBounds(true);
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
