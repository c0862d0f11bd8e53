// Two thousand random tool operations on E1M1 (create, pick, move, scale, rotate, shear,
// flip) through the 2D view's mouse state machine, then undo all and redo all: the
// saved RMF bytes must come back exactly.
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/WorldSnapshot.h"
#include "tools/DocumentTools.h"
#include "tools/View2DToolMachine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

class FakeHost : public ToolViewHost {
public:
    explicit FakeHost(MapDocView& view) : m_view(view) {
        transform.axes = AxesForViewType(VIEW2D_XY);
        transform.zoom = 0.5f;
        transform.clientWidth = 1000;
        transform.clientHeight = 800;
        transform.scrollH = -500;
        transform.scrollV = -400;
    }
    View2DTransform transform;
    View2DTransform ToolTransform() const override { return transform; }
    Vector ClickTo3D(int x, int y) const override {
        const PixelPoint w = transform.ClientToWorld(x, y);
        return {static_cast<float>(w.x), static_cast<float>(w.y), 0.0f};
    }
    void ZoomBy(float factor) override { transform.zoom *= factor; }
    void ShowToolCursor(ToolCursor) override {}
    void ToolFeedbackChanged() override {}
    void CameraPlaced(const Vector&, const Vector&) override {}
    void ShowToolStatus(const std::string&) override {}
    MapDocView* DocumentView() override { return &m_view; }

private:
    MapDocView& m_view;
};

std::string Rmf(const CMapDoc& doc) {
    std::string out;
    EXPECT_EQ(WriteRmfData(*doc.World(), out), 0);
    return out;
}

} // namespace

TEST(RandomToolRunTest, UndoAllAndRedoAllGiveBackTheSavedBytes) {
    // The corpus lies beside the checkout; BRICKHAVEN_CORPUS names another place.
    const char* corpus = std::getenv("BRICKHAVEN_CORPUS");
    const std::string path =
        std::string(corpus ? corpus : BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "corpus map not found: " << path;
    }
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeMainFrame frame;
    FakeStatusPanes panes;
    context.Context().SetPrompts(&prompts);
    context.Context().mainFrame = &frame;
    context.Context().statusPanes = &panes;
    context.Context().options.undoLevels = 5000;
    CMapDoc doc;
    ASSERT_TRUE(doc.OpenDocument(path));
    doc.UndoHistory().memoryLoad = [] { return std::optional<int>(10); };
    FakeView view(false, 0, 1);
    view.invertVertical = true;
    doc.AddView(&view);
    FakeHost host(view);
    View2DToolMachine machine(doc, host);
    const std::string original = Rmf(doc);
    const std::string originalText = WorldSnapshot(*doc.World());

    std::mt19937 rng(14);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto randomPixel = [&] { return PixelPoint{pick(1000), pick(800)}; };
    auto drag = [&](PixelPoint from, PixelPoint to, ToolKeys keys = {}) {
        machine.LeftDown(from.x, from.y, keys);
        machine.Move((from.x + to.x) / 2, (from.y + to.y) / 2, keys, true);
        machine.Move(to.x, to.y, keys, true);
        machine.LeftUp(to.x, to.y, keys);
    };
    int changes = 0;
    for (int step = 0; step < 2000; ++step) {
        const std::size_t tracks = doc.UndoHistory().TrackCount();
        const int op = pick(8);
        if (op == 0) {
            frame.tool = TOOL_BLOCK;
            const PixelPoint a = randomPixel();
            drag(a, {a.x + 8 + pick(80), a.y + 8 + pick(80)});
            machine.Enter(false);
        } else if (op == 1 || doc.SelectedObjects().empty()) {
            frame.tool = TOOL_SELECTION;
            const auto& objects = doc.World()->VisibleObjects();
            const CMapClass* target =
                objects[static_cast<std::size_t>(pick(static_cast<int>(objects.size())))];
            const PixelPoint p = host.transform.WorldToClient(target->Bounds().mins);
            machine.LeftDown(p.x, p.y, {pick(2) == 0, false, false});
            machine.LeftUp(p.x, p.y, {});
        } else if (op <= 5) {
            frame.tool = TOOL_SELECTION;
            ToolBox& box = doc.Tools().selectionBox;
            const int mode = op - 1; // 2 move/scale, 3 scale, 4 rotate, 5 shear
            const int wanted = mode <= 3
                                   ? ToolBox::HandlesScale
                                   : (mode == 4 ? ToolBox::HandlesRotate : ToolBox::HandlesShear);
            while (box.HandleMode() != wanted) {
                box.CycleHandleMode();
            }
            const PixelRect r = host.transform.BoxToClient(doc.Selection().Bounds()).Grown(6);
            const PixelPoint corner{r.right, r.bottom};
            const PixelPoint middle{r.right, (r.top + r.bottom) / 2};
            const PixelPoint centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            PixelPoint from = mode == 2 ? centre : (mode == 5 ? middle : corner);
            drag(from, {from.x + pick(121) - 60, from.y + pick(121) - 60},
                 {false, pick(3) == 0, pick(4) == 0});
        } else if (op == 6) {
            OnAlign(doc, view, static_cast<AlignSide>(pick(4)));
        } else {
            OnFlip(doc, view, pick(2) == 0);
        }
        changes += doc.UndoHistory().TrackCount() != tracks ? 1 : 0;
    }
    EXPECT_GT(changes, 500);
    const std::string edited = Rmf(doc);
    EXPECT_NE(edited, original);
    while (doc.UndoHistory().CanUndo()) {
        doc.OnUndo();
    }
    EXPECT_TRUE(Rmf(doc) == original) << "undo all did not restore the map";
    EXPECT_EQ(SnapshotDifference(originalText, WorldSnapshot(*doc.World())), "");
    while (doc.RedoHistory().CanUndo()) {
        doc.OnRedo();
    }
    EXPECT_TRUE(Rmf(doc) == edited) << "redo all did not give back the edited map";
    doc.RemoveView(&view);
    context.Context().mainFrame = nullptr;
    context.Context().statusPanes = nullptr;
}
