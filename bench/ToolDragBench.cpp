#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "render/PixelCanvas.h"
#include "render/View2DGeometry.h"
#include "render/View2DRenderer.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "tools/DocumentTools.h"
#include "tools/ToolCommands.h"
#include "tools/View2DToolMachine.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

// The 2D tools' work on big maps: one mouse move while dragging a brush in a map of 20,000
// brushes (the drag step, then repainting the changed strips of three 2D views of 800 x 600),
// and committing a move of 1,000 selected brushes (undo step, transform, bounds).
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::string CorpusMap() {
    const char* corpus = std::getenv("BRICKHAVEN_CORPUS");
    return std::string(corpus ? corpus : BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
}

class BenchHost : public ToolViewHost {
public:
    BenchHost(MapDocView& view, int type) : m_view(view) {
        transform.axes = AxesForViewType(type);
        transform.zoom = 0.25f;
        transform.clientWidth = kWidth;
        transform.clientHeight = kHeight;
        transform.scrollH = -kWidth / 2;
        transform.scrollV = -kHeight / 2;
    }
    View2DTransform transform;
    int feedbackChanges = 0;
    View2DTransform ToolTransform() const override { return transform; }
    Vector ClickTo3D(int x, int y) const override {
        const PixelPoint w = transform.ClientToWorld(x, y);
        Vector p;
        p[transform.axes.horizontal] = static_cast<float>(w.x);
        p[transform.axes.vertical] = static_cast<float>(w.y);
        return p;
    }
    void ZoomBy(float) override {}
    void ShowToolCursor(ToolCursor) override {}
    void ToolFeedbackChanged() override { ++feedbackChanges; }
    void CameraPlaced(const Vector&, const Vector&) override {}
    void ShowToolStatus(const std::string&) override {}
    MapDocView* DocumentView() override { return &m_view; }

private:
    MapDocView& m_view;
};

// E1M1 repeated on a grid until the map holds at least 20,000 brushes.
bool LoadTiledE1M1(CMapDoc& doc) {
    CMapWorld source;
    if (!std::filesystem::exists(CorpusMap()) || ReadMapFile(source, CorpusMap()) != 0) {
        return false;
    }
    source.CalcBounds(true);
    std::size_t solids = 0;
    for (CMapClass* child : source.Children()) {
        solids += child->IsType(kTypeMapSolid) ? 1 : 0;
    }
    const Vector size = source.Bounds().Size();
    const int tiles = static_cast<int>(20000 / std::max<std::size_t>(1, solids)) + 1;
    CMapWorld& world = *doc.World();
    for (int t = 0; t < tiles; ++t) {
        CMapWorld copy;
        copy.AddDeepClonesOf(source);
        const Vector offset{(t % 4) * (size.x + 64.0f), (t / 4) * (size.y + 64.0f), 0.0f};
        while (!copy.Children().empty()) {
            CMapClass* child = *copy.Children().begin();
            copy.RemoveChild(child, false);
            child->TransMove(offset);
            world.AddChild(child);
        }
    }
    world.CalcBounds(true);
    world.UpdateVisibleObjects();
    return true;
}

struct ToolBench {
    ScopedEditorContext context;
    FakeMainFrame frame;
    CMapDoc doc;
    FakeView view{false, 0, 1};
    bool ok = false;
    ToolBench() {
        context.Context().mainFrame = &frame;
        context.Context().options.undoLevels = 10000;
        view.invertVertical = true;
        ok = LoadTiledE1M1(doc);
        doc.UndoHistory().memoryLoad = [] { return std::optional<int>(10); };
    }
    ~ToolBench() { context.Context().mainFrame = nullptr; }
};

void BM_DragOneBrushPerMouseMove(benchmark::State& state) {
    ToolBench bench;
    if (!bench.ok) {
        state.SkipWithError("corpus map not found");
        return;
    }
    CMapDoc& doc = bench.doc;
    state.counters["brushes"] = static_cast<double>(doc.World()->VisibleObjects().size());
    CMapClass* brush = nullptr;
    for (CMapClass* object : doc.World()->VisibleObjects()) {
        if (object->IsType(kTypeMapSolid) && object->Parent() == doc.World()) {
            brush = object;
            break;
        }
    }
    doc.SelectObject(brush, SELECT_ADD | SELECT_UPDATE);
    std::vector<std::unique_ptr<BenchHost>> hosts;
    for (int type : {VIEW2D_XY, VIEW2D_YZ, VIEW2D_XZ}) {
        hosts.push_back(std::make_unique<BenchHost>(bench.view, type));
        BenchHost& host = *hosts.back();
        const Vector c = brush->Bounds().Center();
        host.transform.scrollH =
            host.transform.LogicalH(c[host.transform.axes.horizontal]) - kWidth / 2;
        host.transform.scrollV =
            host.transform.LogicalV(c[host.transform.axes.vertical]) - kHeight / 2;
    }
    View2DToolMachine machine(doc, *hosts[0]);
    View2DGeometry geometry;
    geometry.Build(*doc.World());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    PixelCanvas canvas(pixels.data(), kWidth, kHeight, kWidth);

    const PixelPoint start = hosts[0]->transform.WorldToClient(brush->Bounds().Center());
    machine.LeftDown(start.x, start.y, {});
    std::vector<ToolDrawing> last(3);
    int step = 0;
    for (auto _ : state) {
        step = (step + 7) % 200;
        machine.Move(start.x + step, start.y + step / 2, {}, true);
        // Each view repaints the strips of the old and the new feedback.
        for (std::size_t v = 0; v < hosts.size(); ++v) {
            doc.Tools().selectionBox.SetView({hosts[v]->transform, doc.GridSize(), true});
            const ToolDrawing now = doc.Tools().selectionBox.Draw();
            for (const ToolDrawing* drawing : {static_cast<const ToolDrawing*>(&last[v]), &now}) {
                for (const ToolShape& shape : drawing->shapes) {
                    for (std::size_t i = 0; i < shape.points.size(); ++i) {
                        const PixelPoint a = shape.points[i];
                        const PixelPoint b = shape.points[(i + 1) % shape.points.size()];
                        canvas.SetClip({std::min(a.x, b.x) - 1, std::min(a.y, b.y) - 1,
                                        std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1});
                        View2DScene scene;
                        scene.world = doc.World();
                        scene.geometry = &geometry;
                        scene.transform = hosts[v]->transform;
                        scene.gridSize = doc.GridSize();
                        PaintView2D(scene, canvas);
                    }
                }
            }
            last[v] = now;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    machine.Escape();
}
BENCHMARK(BM_DragOneBrushPerMouseMove)->Unit(benchmark::kMillisecond);

void BM_CommitMoveOfAThousandBrushes(benchmark::State& state) {
    ToolBench bench;
    if (!bench.ok) {
        state.SkipWithError("corpus map not found");
        return;
    }
    CMapDoc& doc = bench.doc;
    int selected = 0;
    for (CMapClass* child : doc.World()->Children()) {
        if (child->IsType(kTypeMapSolid) && selected < 1000) {
            doc.SelectObject(child, SELECT_ADD);
            ++selected;
        }
    }
    doc.SelectObject(nullptr, SELECT_UPDATE);
    state.counters["selected"] = selected;
    BenchHost host(bench.view, VIEW2D_XY);
    ToolBox& box = doc.Tools().selectionBox;
    int direction = 1;
    for (auto _ : state) {
        SyncSelectionBox(doc);
        box.SetView({host.transform, doc.GridSize(), true});
        const Vector c = doc.Selection().Bounds().Center();
        box.StartDrag(static_cast<int>(c.x), static_cast<int>(c.y));
        box.UpdateDrag(static_cast<int>(c.x) + 64 * direction, static_cast<int>(c.y), 0);
        box.EndDrag(true);
        ApplySelectionTransform(doc);
        direction = -direction;
    }
}
BENCHMARK(BM_CommitMoveOfAThousandBrushes)->Unit(benchmark::kMillisecond);

} // namespace
