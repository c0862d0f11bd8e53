#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "panels/ObjectPropertiesSheet.h"
#include "properties/VisGroupRows.h"
#include "session/EditorContext.h"
#include "support/PropertiesGameData.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kObjects = 10000;
constexpr int kGroups = 32;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// A map of kObjects lights spread over kGroups visgroups, and the properties sheet.
struct Fixture {
    ScopedEditorContext scoped;
    PropertiesGameData data{scoped.Context()};
    std::unique_ptr<CMapDoc> doc = std::make_unique<CMapDoc>();
    std::vector<CMapClass*> objects;
    std::unique_ptr<ObjectPropertiesSheet> sheet;

    Fixture() {
        Application();
        CMapDoc::SetActiveMapDoc(doc.get());
        CMapWorld& world = *doc->World();
        for (int id = 1; id <= kGroups; ++id) {
            world.AddVisGroup(VisGroup{"group " + std::to_string(id), 0x808080u,
                                       static_cast<std::uint8_t>(id), true});
        }
        world.RebuildVisGroupIndex();
        for (int i = 0; i < kObjects; ++i) {
            auto* light = new CMapEntity;
            light->SetPointEntity(true);
            light->SetClass("light");
            light->SetKeyValue("light", std::to_string(100 + i % 300));
            light->SetOrigin(
                {static_cast<float>(i % 100) * 32, static_cast<float>(i / 100) * 32, 0});
            VisGroupIds ids{};
            ids[0] = static_cast<std::uint8_t>(1 + i % kGroups);
            ids[1] = static_cast<std::uint8_t>(1 + (i * 7) % kGroups);
            light->SetVisGroups(ids);
            world.AddChild(light);
            objects.push_back(light);
        }
        sheet = std::make_unique<ObjectPropertiesSheet>();
        sheet->show();
    }
    ~Fixture() {
        sheet.reset();
        doc.reset();
    }
};

// Selecting one entity after another: Class Info, Flags and VisGroups reload.
void BM_SheetSelectOneEntity(benchmark::State& state) {
    Fixture fixture;
    int next = 0;
    for (auto _ : state) {
        fixture.sheet->SetObjects({fixture.objects[static_cast<std::size_t>(next)]});
        next = (next + 1) % 2;
    }
}
BENCHMARK(BM_SheetSelectOneEntity)->Unit(benchmark::kMillisecond);

// Selecting all kObjects: the VisGroups page loads the first and merges the rest.
void BM_SheetSelectTenThousandObjects(benchmark::State& state) {
    Fixture fixture;
    const std::vector<CMapClass*> first{fixture.objects[0], fixture.objects[1]};
    for (auto _ : state) {
        fixture.sheet->SetObjects(fixture.objects);
        state.PauseTiming();
        fixture.sheet->SetObjects(first);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SheetSelectTenThousandObjects)->Unit(benchmark::kMillisecond);

// The merge alone, without widgets.
void BM_VisGroupRowsMergeTenThousand(benchmark::State& state) {
    Fixture fixture;
    VisGroupRows rows;
    for (auto _ : state) {
        rows.Refill(fixture.doc->World()->VisGroups());
        rows.LoadObjects(fixture.objects);
        benchmark::DoNotOptimize(rows.CheckAt(0));
    }
}
BENCHMARK(BM_VisGroupRowsMergeTenThousand)->Unit(benchmark::kMillisecond);

} // namespace
