#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"

#include "support/SolidBuilders.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <random>
#include <string>

namespace {

CMapSolid* MakeBox(const Vector& lo, const Vector& hi) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    solid->CreateFromPlanes();
    solid->CalcBounds();
    return solid;
}

// Answers every question with Yes and every input with the given text.
class AnsweringPrompts : public ConsolePrompts {
public:
    explicit AnsweringPrompts(std::string text) : m_text(std::move(text)) {}
    Answer YesNo(const std::string&, Icon, const std::string&) override { return Answer::Yes; }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return m_text;
    }

private:
    std::string m_text;
};

// A 64-unit cube carved out of 1,000 brushes that all overlap it.
void BM_CarveCubeThroughOverlappingBrushes(benchmark::State& state) {
    ScopedEditorContext context;
    const int brushes = static_cast<int>(state.range(0));
    std::size_t pieces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        std::mt19937 rng(7);
        // Every brush overlaps the cube: lower corners up to 56, sizes of 128 or more.
        std::uniform_int_distribution<int> corner(-15, 7);
        std::uniform_int_distribution<int> size(8, 14);
        for (int n = 0; n < brushes; ++n) {
            const Vector lo(static_cast<float>(corner(rng) * 8),
                            static_cast<float>(corner(rng) * 8),
                            static_cast<float>(corner(rng) * 8));
            const Vector hi =
                lo + Vector(static_cast<float>(size(rng) * 16), static_cast<float>(size(rng) * 16),
                            static_cast<float>(size(rng) * 16));
            doc->World()->AddChild(MakeBox(lo, hi));
        }
        CMapSolid* cube = MakeBox({0, 0, 0}, {64, 64, 64});
        doc->World()->AddChild(cube);
        doc->SelectObject(cube, SELECT_ADD);
        state.ResumeTiming();

        OnCarve(*doc);

        state.PauseTiming();
        pieces = doc->World()->Children().size();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["objects_after"] = static_cast<double>(pieces);
}
BENCHMARK(BM_CarveCubeThroughOverlappingBrushes)->Arg(1000)->Unit(benchmark::kMillisecond);

// Make Hollow on 100 selected brushes, 8-unit walls.
void BM_HollowSelectedBrushes(benchmark::State& state) {
    ScopedEditorContext context;
    AnsweringPrompts prompts("8");
    context.Context().SetPrompts(&prompts);
    const int brushes = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        for (int n = 0; n < brushes; ++n) {
            const float x = static_cast<float>(n % 10) * 256.0f;
            const float y = static_cast<float>(n / 10) * 256.0f;
            CMapSolid* box = MakeBox({x, y, 0}, {x + 128, y + 192, 96});
            doc->World()->AddChild(box);
            doc->SelectObject(box, SELECT_ADD);
        }
        state.ResumeTiming();

        OnMakeHollow(*doc);

        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HollowSelectedBrushes)->Arg(100)->Unit(benchmark::kMillisecond);

// Paste special: 256 copies of a 50-brush selection, offset and turned per copy.
void BM_PasteSpecialCopies(benchmark::State& state) {
    ScopedEditorContext context;
    const int copies = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        for (int n = 0; n < 50; ++n) {
            const float x = static_cast<float>(n % 10) * 64.0f;
            const float z = static_cast<float>(n / 10) * 64.0f;
            CMapSolid* box = MakeBox({x, 0, z}, {x + 48, 32, z + 48});
            doc->World()->AddChild(box);
            doc->SelectObject(box, SELECT_ADD);
        }
        OnEditCopy(*doc);
        PasteSpecialSettings settings;
        settings.copies = copies;
        settings.offset = {0, 64, 0};
        settings.rotate = {0, 0, 15};
        state.ResumeTiming();

        OnPasteSpecial(*doc, settings);

        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * copies * 50);
}
BENCHMARK(BM_PasteSpecialCopies)->Arg(256)->Unit(benchmark::kMillisecond);

} // namespace
