#include "render/View2DTransform.h"
#include "common/ToolId.h"
#include "document/UpdateHint.h"
#include "render/ViewAxes.h"
#include "session/EditorContext.h"
#include "tools/View2DContextMenu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

View2DTransform Transform(int type, float zoom, int scrollH = 0, int scrollV = 0, int width = 800,
                          int height = 600) {
    View2DTransform t;
    t.axes = AxesForViewType(type);
    t.zoom = zoom;
    t.scrollH = scrollH;
    t.scrollV = scrollV;
    t.clientWidth = width;
    t.clientHeight = height;
    return t;
}

} // namespace

TEST(ViewAxesTest, TypesShowTheirAxesWithUpwardsUpAndCycleWithTab) {
    EXPECT_EQ(AxesForViewType(VIEW2D_XY), (ViewAxes{false, true, 0, 1, 2}));
    EXPECT_EQ(AxesForViewType(VIEW2D_YZ), (ViewAxes{false, true, 1, 2, 0}));
    EXPECT_EQ(AxesForViewType(VIEW2D_XZ), (ViewAxes{false, true, 0, 2, 1}));
    EXPECT_EQ(AxesForViewType(7), AxesForViewType(VIEW2D_XY));

    EXPECT_EQ(NextViewType(0), 1);
    EXPECT_EQ(NextViewType(1), 2);
    EXPECT_EQ(NextViewType(2), 0);
    EXPECT_EQ(PreviousViewType(0), 2);
    EXPECT_EQ(PreviousViewType(2), 1);
    EXPECT_EQ(PreviousViewType(1), 0);
}

TEST(ViewAxesTest, NewViewsTakeTheirTypesFromTheCounterInTurn) {
    ScopedEditorContext context;
    EXPECT_EQ(TakeInitialViewType(), 0);
    EXPECT_EQ(TakeInitialViewType(), 1);
    EXPECT_EQ(TakeInitialViewType(), 2);
    EXPECT_EQ(TakeInitialViewType(), 0); // a fourth view starts over
}

TEST(View2DTransformTest, ProjectsWithTruncationAndAnInvertedVerticalAxis) {
    View2DTransform t = Transform(VIEW2D_XY, 1.0f);
    EXPECT_EQ(t.WorldToClient({100, 100, 0}), (PixelPoint{100, -100}));
    EXPECT_EQ(t.ClientToWorld(100, -100), (PixelPoint{100, 100}));

    // Truncation toward zero on both sides of the origin, then the scroll offset.
    t = Transform(VIEW2D_XZ, 0.25f, -400, -300);
    EXPECT_EQ(t.WorldToClient({-70.9f, 5, 3.9f}), (PixelPoint{-17 + 400, 0 + 300}));
    EXPECT_EQ(t.WorldToClient({70.9f, 5, -3.9f}), (PixelPoint{17 + 400, 0 + 300}));

    // Back from pixels: add the scroll, divide, truncate, then negate the inverted axis.
    t = Transform(VIEW2D_YZ, 0.3f, -50, -30);
    EXPECT_EQ(t.ClientToWorld(10, 10), (PixelPoint{-133, 66}));

    const BoundBox box{{-64, -32, 0}, {64, 32, 128}};
    t = Transform(VIEW2D_XY, 0.5f);
    EXPECT_EQ(t.BoxToClient(box), (PixelRect{-32, -16, 32, 16}));
}

TEST(View2DTransformTest, HugeAndBrokenCoordinatesStayWithinThePixelRange) {
    View2DTransform t = Transform(VIEW2D_XY, 8.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(t.WorldToClient({1e30f, -1e30f, 0}), (PixelPoint{kPixelLimit, kPixelLimit}));
    EXPECT_EQ(t.WorldToClient({nan, 0, 0}).x, 0);
    t.zoom = 1e-30f;
    EXPECT_EQ(t.ClientToWorld(5, 5), (PixelPoint{kPixelLimit, -kPixelLimit}));
}

TEST(View2DTransformTest, ZoomKeysRespectTheirLimitsBeforeMultiplying) {
    EXPECT_FLOAT_EQ(*ZoomInStep(7.9f), 9.48f);
    EXPECT_FALSE(ZoomInStep(8.0f));
    EXPECT_FALSE(ZoomInStep(9.48f));
    EXPECT_FLOAT_EQ(*ZoomOutStep(0.04f), 0.04f * 0.8333333f);
    EXPECT_FALSE(ZoomOutStep(0.03125f));
    EXPECT_FALSE(ZoomOutStep(0.02f));
    EXPECT_EQ(DigitZoom(4), 1.0f);
    EXPECT_EQ(DigitZoom(1), 0.25f);
    EXPECT_EQ(DigitZoom(9), 2.25f);
    EXPECT_EQ(ZoomText(9.48f), " Zoom: 9.48 ");
    EXPECT_EQ(ZoomText(0.25f), " Zoom: 0.25 ");
}

TEST(View2DTransformTest, ZoomKeepsTheWorldPointUnderThePointer) {
    // w = trunc(150 / 0.25) = 600; trunc(trunc(600 - 50 / 0.3) x 0.3) = trunc(433 x 0.3) = 129.
    EXPECT_EQ(ScrollAfterZoom(100, 50, 0.25f, 0.3f), 129);
    for (float from : {0.25f, 1.0f, 3.3f}) {
        for (float to : {0.03125f, 0.5f, 2.0f, 7.9f}) {
            for (int scroll : {-900, -3, 0, 250}) {
                const int kept = 321;
                const float before = static_cast<float>(scroll + kept) / from;
                const int after = ScrollAfterZoom(scroll, kept, from, to);
                const float now = static_cast<float>(after + kept) / to;
                EXPECT_NEAR(now, before, 2.0f + 1.0f / to) << from << " " << to << " " << scroll;
            }
        }
    }
}

TEST(View2DTransformTest, ScrollRangesAndCentring) {
    EXPECT_EQ(ScrollRangeForZoom(0.25f).minimum, -1024);
    EXPECT_EQ(ScrollRangeForZoom(0.25f).maximum, 1024);
    EXPECT_EQ(ScrollRangeForZoom(0.3f).minimum, -1228);
    EXPECT_EQ(ScrollRangeForZoom(0.3f).maximum, 1228);
    // Clamped to the maximum itself, not maximum minus the page.
    EXPECT_EQ(ClampScroll(5000, ScrollRangeForZoom(0.25f)), 1024);
    EXPECT_EQ(ClampScroll(-5000, ScrollRangeForZoom(0.25f)), -1024);

    // The centred point lands in the middle of the client area on both axes.
    View2DTransform t = Transform(VIEW2D_XY, 0.25f);
    t.scrollH = ScrollToCenter(0.0f, false, 800, 0.25f);
    t.scrollV = ScrollToCenter(100.0f, true, 600, 0.25f);
    EXPECT_EQ(t.scrollH, -400);
    EXPECT_EQ(t.WorldToClient({0, 100, 0}), (PixelPoint{400, 300}));
}

TEST(View2DTransformTest, PositionTextRoundsTowardZeroToTheGridUnlessExact) {
    EXPECT_EQ(PositionText(-70, 70, 64, false), " @-64, 64 ");
    EXPECT_EQ(PositionText(-70, 70, 64, true), " @-70, 70 ");
    EXPECT_EQ(PositionText(-63, 63, 64, false), " @0, 0 ");
    EXPECT_EQ(PositionText(5, 6, 0, false), " @5, 6 ");
}

TEST(View2DTransformTest, AutoScrollOnlyWithTheMouseHeldOutsideTheClientArea) {
    EXPECT_EQ(AutoScrollStepFor(-1, 10, 100, 80, true), (ScrollStep{20, 0}));
    EXPECT_EQ(AutoScrollStepFor(100, 80, 100, 80, true), (ScrollStep{-20, -20}));
    EXPECT_EQ(AutoScrollStepFor(50, -5, 100, 80, true), (ScrollStep{0, 20}));
    EXPECT_TRUE(AutoScrollStepFor(50, 40, 100, 80, true).IsZero());
    EXPECT_TRUE(AutoScrollStepFor(-50, 40, 100, 80, false).IsZero());
}

TEST(View2DContextMenuTest, MenuFollowsToolAndWhatThePointHits) {
    View2DMenuState s;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::View);
    s.panning = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::None);
    s = {};
    s.tool = TOOL_MAGNIFY;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::None);
    s = {};
    s.insideClient = false;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::None);

    s = {};
    s.selectionEmpty = false;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::None);
    s.hitsSelection = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::Selection);
    s.rubberBandPending = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::View);

    s = {};
    s.tool = TOOL_BLOCK;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::View);
    s.blockBoxDrawn = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::None);
    s.hitsBlockBox = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::Creation);

    s = {};
    s.tool = TOOL_ENTITY;
    s.entityMarkerPlaced = true;
    s.hitsEntityMarker = true;
    EXPECT_EQ(ChooseView2DMenu(s), View2DMenu::Creation);
}

TEST(View2DContextMenuTest, HitTestsInPixelsAndWorldUnits) {
    View2DTransform t = Transform(VIEW2D_XY, 1.0f, -100, -100);
    const BoundBox box{{0, 0, 0}, {10, 10, 10}};
    EXPECT_TRUE(PixelHitsBox(t, box, 105, 95, 0));
    EXPECT_FALSE(PixelHitsBox(t, box, 118, 95, 0));
    EXPECT_TRUE(PixelHitsBox(t, box, 118, 95, 8));
    EXPECT_FALSE(PixelHitsBox(t, BoundBox{}, 0, 0, 100));

    t.zoom = 0.5f; // tolerance trunc(6 / 0.5) = 12 world units
    EXPECT_TRUE(HitsEntityMarker(t, {100, 200, 0}, 112, 188));
    EXPECT_FALSE(HitsEntityMarker(t, {100, 200, 0}, 113, 200));
}
