#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/SolidBuilders.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

CMapSolid* MakeBox(const Vector& lo, const Vector& hi) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    solid->CreateFromPlanes();
    solid->CalcBounds();
    return solid;
}

constexpr int kSolids = 10000;

// A document with kSolids boxes, all selected.
struct Fixture {
    ScopedEditorContext context;
    std::unique_ptr<CMapDoc> doc = std::make_unique<CMapDoc>();

    Fixture() {
        context.Context().options.undoLevels = 10;
        CMapDoc::SetActiveMapDoc(doc.get());
        for (int i = 0; i < kSolids; ++i) {
            float x = static_cast<float>((i % 100) * 64);
            float y = static_cast<float>((i / 100) * 64);
            doc->World()->AddChild(MakeBox({x, y, 0}, {x + 32, y + 32, 32}));
        }
        doc->OnSelectAll();
    }
    void Delete() {
        doc->UndoHistory().MarkUndoPosition(doc->SelectedObjects(), "Delete");
        std::vector<CMapClass*> selected = doc->SelectedObjects();
        doc->SelectObject(nullptr, SELECT_CLEAR);
        for (CMapClass* object : selected) {
            object->Parent()->RemoveChild(object, false);
            Editor().ActiveHistory().KeepForDestruction(object);
        }
        doc->World()->CalcBounds();
        doc->UpdateAllViews(UPDATE_OBJECTS);
    }
};

void BM_Delete10000Solids(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        state.ResumeTiming();
        fixture->Delete();
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete10000Solids)->Unit(benchmark::kMillisecond);

void BM_UndoDelete10000Solids(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        fixture->Delete();
        state.ResumeTiming();
        fixture->doc->OnUndo();
        state.PauseTiming();
        if (fixture->doc->World()->Children().size() != kSolids) {
            state.SkipWithError("undo did not restore the solids");
        }
        fixture.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoDelete10000Solids)->Unit(benchmark::kMillisecond);

void BM_RedoDelete10000Solids(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        fixture->Delete();
        fixture->doc->OnUndo();
        state.ResumeTiming();
        fixture->doc->OnRedo();
        state.PauseTiming();
        if (!fixture->doc->World()->Children().empty()) {
            state.SkipWithError("redo did not delete the solids");
        }
        fixture.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RedoDelete10000Solids)->Unit(benchmark::kMillisecond);

void BM_Move10000SelectedSolids(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>();
        state.ResumeTiming();
        fixture->doc->UndoHistory().MarkUndoPosition(fixture->doc->SelectedObjects(),
                                                     "Translation");
        for (CMapClass* object : fixture->doc->SelectedObjects()) {
            object->TransMove({16, 0, 0});
        }
        fixture->doc->SelectObject(nullptr, SELECT_UPDATE);
        fixture->doc->UpdateAllViews(UPDATE_OBJECTS);
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Move10000SelectedSolids)->Unit(benchmark::kMillisecond);

} // namespace
