#include "tools/ToolBox.h"
#include "render/ViewAxes.h"
#include "tools/CameraList.h"
#include "tools/EntityMarker.h"
#include "tools/ToolSnap.h"

#include <gtest/gtest.h>

namespace {

ToolView ViewOf(int type, float zoom = 1.0f, int grid = 16) {
    ToolView view;
    view.transform.axes = AxesForViewType(type);
    view.transform.zoom = zoom;
    view.transform.clientWidth = 800;
    view.transform.clientHeight = 600;
    view.gridSize = grid;
    view.snap = true;
    return view;
}

BoundBox Box(Vector lo, Vector hi) {
    BoundBox b;
    b.mins = lo;
    b.maxs = hi;
    return b;
}

ToolBox BlockBox(int type, const BoundBox& bounds) {
    ToolBox box(ToolBox::BlockKind);
    box.SetView(ViewOf(type));
    box.SetBounds(bounds);
    return box;
}

} // namespace

TEST(ToolSnapTest, RoundsToTheNearestGridLineHalvesAwayFromZero) {
    EXPECT_EQ(SnapToGridValue(7, 16, true), 0);
    EXPECT_EQ(SnapToGridValue(8, 16, true), 16);
    EXPECT_EQ(SnapToGridValue(-8, 16, true), -16);
    EXPECT_EQ(SnapToGridValue(-7, 16, true), 0);
    EXPECT_EQ(SnapToGridValue(40, 16, true), 48);
    EXPECT_EQ(SnapToGridValue(7, 16, false), 7);
    EXPECT_EQ(SnapToGridValue(7, 0, true), 7);
}

// In every view type the vertical axis is drawn inverted: the top of the screen is the
// maximum edge, so the codes swap top and bottom; left and right stay.
TEST(ToolBoxTest, PartCodesInAllThreeViewTypesNameWorldEdges) {
    for (int type : {VIEW2D_XY, VIEW2D_YZ, VIEW2D_XZ}) {
        SCOPED_TRACE(type);
        ToolBox box = BlockBox(type, Box({0, 0, 0}, {64, 64, 64}));
        // Screen top middle: world (32, 64) on the view's axes.
        EXPECT_EQ(box.HitTest(32, 66, false), BOXPART_BOTTOM);
        EXPECT_EQ(box.HitTest(32, -2, false), BOXPART_TOP);
        EXPECT_EQ(box.HitTest(-2, 32, false), BOXPART_LEFT);
        EXPECT_EQ(box.HitTest(66, 32, false), BOXPART_RIGHT);
        EXPECT_EQ(box.HitTest(66, 66, false), BOXPART_RIGHT | BOXPART_BOTTOM);
        EXPECT_EQ(box.HitTest(-2, -2, false), BOXPART_LEFT | BOXPART_TOP);
        EXPECT_EQ(box.HitTest(32, 32, false), BOXPART_INSIDE);
        EXPECT_EQ(box.HitTest(200, 32, false), -1);
    }
    // Without inversion the screen's top is the minimum edge.
    ToolBox box(ToolBox::BlockKind);
    ToolView upright = ViewOf(VIEW2D_XY);
    upright.transform.axes.invertVertical = false;
    box.SetView(upright);
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    EXPECT_EQ(box.HitTest(32, -2, false), BOXPART_TOP);
    EXPECT_EQ(box.HitTest(32, 66, false), BOXPART_BOTTOM);
}

TEST(ToolBoxTest, HandleModesRestrictWhatAPressGrabs) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    EXPECT_EQ(box.HitTest(32, 32, true), BOXPART_INSIDE);
    box.CycleHandleMode();
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesRotate);
    EXPECT_EQ(box.HitTest(32, 70, true), -1); // side middle
    EXPECT_EQ(box.HitTest(32, 32, true), -1); // inside
    EXPECT_EQ(box.HitTest(70, 70, true), BOXPART_RIGHT | BOXPART_BOTTOM);
    box.CycleHandleMode();
    EXPECT_EQ(box.HitTest(70, 70, true), -1); // corner
    EXPECT_EQ(box.HitTest(32, 32, true), -1);
    EXPECT_EQ(box.HitTest(32, 70, true), BOXPART_BOTTOM);
    EXPECT_EQ(box.Cursor(), ToolCursor::SizeWE);
    box.CycleHandleMode();
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesScale);
}

TEST(ToolBoxTest, RotatingByNinetyDegreesIsExact) {
    float x = 10.0f;
    float y = 0.0f;
    RotateToolVector(x, y, 90.0f);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 10.0f);
    RotateToolVector(x, y, 270.0f);
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(y, 0.0f);

    // A quarter turn dragged with the mouse about the centre of a box at the origin.
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({-64, -64, 0}, {64, 64, 64}));
    box.CycleHandleMode();
    ASSERT_TRUE(box.StartDrag(70, -70)); // bottom right corner in world terms
    box.UpdateDrag(70, 70, 0);           // a quarter turn counter-clockwise
    Vector p{10, 0, 5};
    box.TransformPoint(p);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 10.0f);
    EXPECT_EQ(p.z, 5.0f);
    EXPECT_EQ(box.StatusText(), " 270.00\u00B0");
}

TEST(ToolBoxTest, ConstrainedRotationStepsByFifteenDegrees) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({-64, -64, 0}, {64, 64, 64}));
    box.CycleHandleMode();
    ASSERT_TRUE(box.StartDrag(70, 70));
    box.UpdateDrag(-20, 100, TOOLDRAG_CONSTRAIN);
    EXPECT_EQ(static_cast<int>(box.Angle()) % 15, 0);
}

TEST(ToolBoxTest, ScalingByTheTopHandleKeepsTheOppositeEdge) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    ASSERT_TRUE(box.StartDrag(32, 70)); // screen top middle: the maximum Y edge
    EXPECT_EQ(box.GrabbedPart(), BOXPART_BOTTOM);
    box.UpdateDrag(32, 134, 0);
    EXPECT_EQ(box.StatusText(), " 64 x 128 ");
    box.EndDrag(true);
    EXPECT_EQ(box.Bounds().mins.y, 0.0f);
    EXPECT_EQ(box.Bounds().maxs.y, 128.0f);
    Vector low{10, 0, 0};
    Vector high{10, 64, 0};
    box.TransformPoint(low);
    box.TransformPoint(high);
    EXPECT_EQ(low.y, 0.0f);
    EXPECT_EQ(high.y, 128.0f);
    EXPECT_EQ(high.x, 10.0f);
}

TEST(ToolBoxTest, MovingSnapsWholeGridStepsOfTheMovementAndKeepsUnmovedAxes) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    ASSERT_TRUE(box.StartDrag(10, 10));
    box.UpdateDrag(10 + 23, 10 - 9, 0);
    EXPECT_EQ(box.Translation().x, 16.0f);
    EXPECT_EQ(box.Translation().y, -16.0f);
    box.UpdateDrag(10 + 23, 10 - 9, TOOLDRAG_NO_SNAP);
    EXPECT_EQ(box.Translation().x, 23.0f);
    box.EndDrag(false);
    EXPECT_EQ(box.Bounds().mins.x, 0.0f);

    // Grid 64, side view: a wall at z 16..240 dragged +64 in x (with a pixel's wobble in z)
    // moves in x only; its z stays off the grid exactly where it was.
    ToolBox wall(ToolBox::SelectionKind);
    wall.SetView(ViewOf(VIEW2D_XZ, 0.25f, 64));
    wall.SetBounds(Box({0, 0, 16}, {16, 128, 240}));
    ASSERT_TRUE(wall.StartDrag(8, 128));
    wall.UpdateDrag(8 + 64, 128 + 4, 0);
    EXPECT_EQ(wall.Translation().x, 64.0f);
    EXPECT_EQ(wall.Translation().z, 0.0f);
    wall.EndDrag(true);
    EXPECT_EQ(wall.Bounds().mins.z, 16.0f);
    EXPECT_EQ(wall.Bounds().maxs.z, 240.0f);
    EXPECT_EQ(wall.Bounds().mins.x, 64.0f);
    Vector corner{0, 0, 16};
    wall.TransformPoint(corner);
    EXPECT_EQ(corner.z, 16.0f);
    EXPECT_EQ(corner.x, 64.0f);
    // An off-grid block at z 16..64 pushed up 40 units moves a whole step (64), not onto a
    // grid line.
    ToolBox block(ToolBox::SelectionKind);
    block.SetView(ViewOf(VIEW2D_XZ, 0.25f, 64));
    block.SetBounds(Box({0, 0, 16}, {64, 64, 64}));
    ASSERT_TRUE(block.StartDrag(32, 40));
    block.UpdateDrag(32, 80, 0);
    EXPECT_EQ(block.Translation().z, 64.0f);
    EXPECT_EQ(block.Translation().x, 0.0f);
}

TEST(ToolBoxTest, ShearMovesTheGrabbedEdgeOnly) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    box.CycleHandleMode();
    box.CycleHandleMode();
    ASSERT_TRUE(box.StartDrag(32, 70)); // maximum Y edge
    box.UpdateDrag(32 + 32, 70, 0);
    EXPECT_EQ(box.StatusText(), " shear: 32 ");
    Vector top{0, 64, 0};
    Vector bottom{0, 0, 0};
    box.TransformPoint(top);
    box.TransformPoint(bottom);
    EXPECT_EQ(top.x, 32.0f);
    EXPECT_EQ(bottom.x, 0.0f);
}

TEST(ToolBoxTest, ANewBlockTakesItsDepthFromThePointAndTurnsInsideOutFreely) {
    ToolBox box(ToolBox::BlockKind);
    box.SetView(ViewOf(VIEW2D_XY, 1.0f, 8));
    box.StartNewAt({13, 20, 10});
    EXPECT_EQ(box.Bounds().mins.z, 8.0f);
    EXPECT_EQ(box.Bounds().maxs.z, 72.0f);
    box.UpdateDrag(-30, -30, 0); // past the start: the box turns inside out
    box.EndDrag(true);
    EXPECT_EQ(box.Bounds().mins.x, -32.0f);
    EXPECT_EQ(box.Bounds().maxs.x, 16.0f);
    EXPECT_EQ(box.Bounds().mins.y, -32.0f);
    EXPECT_EQ(box.Bounds().maxs.y, 24.0f);
    EXPECT_FALSE(box.IsEmpty());
}

TEST(ToolBoxTest, FeedbackColoursAppearAsDesignedOnWhite) {
    ToolBox box(ToolBox::SelectionKind);
    box.SetView(ViewOf(VIEW2D_XY));
    box.SetBounds(Box({0, 0, 0}, {64, 64, 64}));
    ToolDrawing drawing = box.Draw();
    ASSERT_EQ(drawing.shapes.size(), 9u); // the box and eight handles
    EXPECT_EQ(drawing.shapes[0].xorColor ^ kXorBase, 0xFF0000u);
    EXPECT_EQ(drawing.shapes[1].xorColor ^ kXorBase, 0x000000u);
    box.SetRubberBand(true);
    EXPECT_EQ(box.Draw().shapes[0].xorColor ^ kXorBase, 0x32FFFFu);
    ASSERT_TRUE(box.StartDrag(32, 32));
    drawing = box.Draw();
    ASSERT_EQ(drawing.shapes.size(), 1u);
    EXPECT_TRUE(drawing.shapes[0].dotted);
    EXPECT_EQ(drawing.shapes[0].xorColor ^ kXorBase, 0x0000FFu);
}

TEST(EntityMarkerTest, PlacedByADragOnTheGridAndHitWithinSixPixels) {
    EntityMarker marker;
    marker.SetView(ViewOf(VIEW2D_XY, 0.5f));
    EXPECT_TRUE(marker.IsEmpty());
    marker.StartNewAt({5, 5, 41});
    EXPECT_EQ(marker.Point().x, 0.0f);
    EXPECT_EQ(marker.Point().z, 48.0f);
    marker.UpdateDrag(100, 197, 0);
    marker.EndDrag(true);
    EXPECT_FALSE(marker.IsEmpty());
    EXPECT_EQ(marker.Point().x, 96.0f);
    EXPECT_EQ(marker.Point().y, 192.0f);
    EXPECT_EQ(marker.Point().z, 48.0f);
    EXPECT_EQ(marker.HitTest(108, 180, true), 1);
    EXPECT_EQ(marker.HitTest(109, 192, true), -1);
    // Alt places it exactly; a side view snaps its own two axes.
    ASSERT_TRUE(marker.StartDrag(96, 192));
    marker.UpdateDrag(-132, 190, TOOLDRAG_NO_SNAP);
    marker.EndDrag(true);
    EXPECT_EQ(marker.Point().x, -132.0f);
    marker.SetView(ViewOf(VIEW2D_XZ, 0.5f));
    ASSERT_TRUE(marker.StartDrag(-132, 48));
    marker.UpdateDrag(-131, 38, 0);
    marker.EndDrag(true);
    EXPECT_EQ(marker.Point().x, -128.0f);
    EXPECT_EQ(marker.Point().y, 190.0f);
    EXPECT_EQ(marker.Point().z, 32.0f);
    marker.Reset();
    EXPECT_TRUE(marker.IsEmpty());
}

TEST(CameraListTest, ANewCameraDragsItsLookAtAndEndsCanBeMovedLater) {
    CameraList cameras;
    cameras.SetView(ViewOf(VIEW2D_XY));
    cameras.StartNewAt({10.7f, 20, 30});
    cameras.UpdateDrag(200, 20, 0);
    cameras.EndDrag(true);
    ASSERT_EQ(cameras.Count(), 1);
    EXPECT_EQ(cameras.Current().position.x, 10.0f);
    EXPECT_EQ(cameras.Current().lookAt.x, 200.0f);
    EXPECT_EQ(cameras.HitTest(12, 22, true), 0);
    EXPECT_EQ(cameras.HitTest(198, 20, true), 1);
    EXPECT_EQ(cameras.HitTest(100, 100, true), -1);
    ASSERT_TRUE(cameras.StartDrag(11, 20));
    cameras.UpdateDrag(50, 60, 0);
    cameras.EndDrag(false);
    EXPECT_EQ(cameras.Current().position.x, 10.0f);
    EXPECT_EQ(cameras.Draw().shapes.size(), 2u);
}
