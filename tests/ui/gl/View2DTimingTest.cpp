// Times whole repaints of the 2D views on a real display: the corpus's E1M1 in a child frame
// as the editor shows it, and a map of 60,000 brushes at the smallest keyboard zoom. The
// figures are printed; the limits are loose so a busy machine does not fail the test.
#include "app/ChildFrame.h"
#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/ShapeTemplate.h"
#include "render/View2DTransform.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "views/MapView2D.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

struct Figures {
    double paintMs;   // inside the view's paint handler: drawing and copying to the window
    double repaintMs; // the whole synchronous repaint
};

Figures TimeRepaints(CMapView2D& view, int rounds = 7) {
    std::vector<double> paint;
    std::vector<double> whole;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        view.viewport()->repaint();
        whole.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        paint.push_back(view.LastPaintMilliseconds());
    }
    std::sort(paint.begin(), paint.end());
    std::sort(whole.begin(), whole.end());
    return {paint[paint.size() / 2], whole[whole.size() / 2]};
}

void Print(const char* what, const CMapView2D& view, const Figures& f) {
    std::printf("[ timing ] %-28s view %dx%d zoom %.5f: paint %.2f ms, repaint %.2f ms\n", what,
                view.viewport()->width(), view.viewport()->height(),
                static_cast<double>(view.Zoom()), f.paintMs, f.repaintMs);
}

} // namespace

TEST(View2DTimingTest, RepaintFiguresForE1M1AndSixtyThousandBrushes) {
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    context.Context().SetPrompts(&prompts);

    const std::string e1m1 = std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    if (std::filesystem::exists(e1m1)) {
        auto document = std::make_unique<CMapDoc>();
        ASSERT_TRUE(document->OpenDocument(e1m1));
        CChildFrame frame(std::move(document));
        frame.resize(1600, 860); // a maximised frame on a 1600 x 1000 screen
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        QApplication::processEvents();
        for (CMapView2D* view : frame.Views2D()) {
            const Figures f = TimeRepaints(*view);
            Print("E1M1 at zoom 0.25", *view, f);
            EXPECT_LT(f.paintMs, 250.0);
        }
        CMapView2D* top = frame.Views2D().front();
        top->SetZoom(kZoomOutLimit);
        top->CenterOnPoint(std::nullopt, std::nullopt);
        Print("E1M1 zoomed out", *top, TimeRepaints(*top));
        // The same view with the 3D pane replaced: the 3D picture has a window of its own, so
        // the figures should match the ones above.
        frame.SetActiveCell({0, 0});
        frame.OnView2D(0);
        QApplication::processEvents();
        CMapView2D* bottom = frame.Views2D().back();
        Print("E1M1, no 3D pane", *bottom, TimeRepaints(*bottom));
    } else {
        std::printf("[ timing ] corpus map missing: E1M1 skipped\n");
    }

    auto document = std::make_unique<CMapDoc>();
    CMapWorld& world = *document->World();
    CBlockShape block;
    for (int row = 0; row < 240; ++row) {
        for (int column = 0; column < 250; ++column) {
            BoundBox box;
            box.mins = {-4000.0f + column * 32.0f, -3840.0f + row * 32.0f, 0.0f};
            box.maxs = {box.mins.x + 24.0f, box.mins.y + 24.0f, 16.0f + (row + column) % 4 * 16.0f};
            auto* solid = new CMapSolid;
            block.SetFromBox(box);
            ASSERT_TRUE(block.BuildSolid(*solid));
            solid->CalcBounds();
            world.AddChild(solid);
        }
    }
    world.CalcBounds();
    world.UpdateVisibleObjects();
    ASSERT_EQ(world.VisibleObjects().size(), 60000u);
    CMapView2D view(*document);
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetZoom(kZoomOutLimit);
    view.CenterOnPoint(std::nullopt, std::nullopt);
    const Figures tiled = TimeRepaints(view);
    Print("60,000 brushes zoomed out", view, tiled);
    EXPECT_LT(tiled.paintMs, 1000.0);
}
