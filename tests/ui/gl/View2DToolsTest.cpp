// The 2D tools driven with real mouse and key events in a child frame: drawing a block,
// picking, moving, the handle modes, the rubber band, Escape and the face count check.
#include "views/View2DTools.h"
#include "TwoBoxFrameTest.h"
#include "app/ChildFrame.h"
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "tools/DocumentTools.h"
#include "tools/NewObjectBarModel.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class View2DToolsTest : public TwoBoxFrameTest {
protected:
    QPoint At(float x, float y) const {
        const PixelPoint p = xy->WorldToClient(Vector{x, y, 0});
        return {p.x, p.y};
    }
    QWidget* Port() const { return xy->viewport(); }
    void Press(QPoint p, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(Port(), Qt::LeftButton, mods, p);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseRelease(Port(), Qt::LeftButton, mods, p);
    }
    void MoveTo(QPoint p) { QTest::mouseMove(Port(), p); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Press(from, mods);
        const QPoint step = (to - from) / 4;
        for (int i = 1; i < 4; ++i) {
            MoveTo(from + step * i);
        }
        MoveTo(to);
        Release(to, mods);
    }
    void Click(QPoint p, Qt::KeyboardModifiers mods = {}) {
        Press(p, mods);
        Release(p, mods);
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(xy, static_cast<Qt::Key>(key), mods);
    }
    int TopLevelCount() const { return static_cast<int>(doc->World()->Children().size()); }
    CMapClass* TopLevel(int index) const {
        int i = 0;
        for (CMapClass* child : doc->World()->Children()) {
            if (i++ == index) {
                return child;
            }
        }
        return nullptr;
    }
};

} // namespace

TEST_F(View2DToolsTest, DrawingABlockAndPressingEnterAddsOneSnappedSolid) {
    mainFrame.tool = TOOL_BLOCK;
    Drag(At(-60, 250), At(-3, 131));
    const BoundBox box = doc->Tools().blockBox.Bounds();
    EXPECT_FALSE(doc->Tools().blockBox.IsEmpty());
    EXPECT_EQ(box.mins.x, -64.0f);
    EXPECT_EQ(box.maxs.x, 0.0f);
    EXPECT_EQ(box.mins.y, 128.0f);
    EXPECT_EQ(box.maxs.y, 256.0f);
    EXPECT_EQ(box.maxs.z - box.mins.z, 64.0f);
    Key(Qt::Key_Return);
    ASSERT_EQ(TopLevelCount(), 3);
    const BoundBox made = TopLevel(2)->Bounds();
    EXPECT_EQ(made.mins.x, -64.0f);
    EXPECT_EQ(made.maxs.y, 256.0f);
    EXPECT_TRUE(doc->Tools().blockBox.IsEmpty());
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "New Object");
    EXPECT_TRUE(doc->SelectedObjects().empty());
}

TEST_F(View2DToolsTest, ClickSelectsDragMovesByGridStepsAndUndoRestoresTheBytes) {
    const std::string before = Rmf();
    Click(At(0, 32));
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    CMapClass* box = doc->SelectedObjects().front();
    EXPECT_EQ(box->Bounds().mins.x, 0.0f);
    Drag(At(32, 32), At(32 + 70, 32 - 20));
    EXPECT_EQ(box->Bounds().mins.x, 64.0f);
    EXPECT_EQ(box->Bounds().mins.y, 0.0f);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Translation");
    Drag(At(96, 32), At(96, 32 + 100));
    EXPECT_EQ(box->Bounds().mins.y, 128.0f);
    EXPECT_EQ(static_cast<int>(box->Bounds().mins.x) % 64, 0);
    doc->OnUndo();
    doc->OnUndo();
    EXPECT_EQ(Rmf(), before);
}

TEST_F(View2DToolsTest, ThreeClicksOnTheSelectionReturnToScaleMode) {
    Click(At(0, 32));
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    const ToolBox& box = doc->Tools().selectionBox;
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesScale);
    Click(At(32, 32));
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesRotate);
    Click(At(32, 32));
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesShear);
    Click(At(32, 32));
    EXPECT_EQ(box.HandleMode(), ToolBox::HandlesScale);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
}

TEST_F(View2DToolsTest, RubberBandSelectsOverlappingWithEnterAndEnclosedWithShiftEnter) {
    doc->OnSmallerGrid();
    doc->OnSmallerGrid();             // 16: the band ends inside the second box
    Drag(At(-40, 200), At(150, -40)); // encloses the first box, overlaps the second
    EXPECT_TRUE(doc->Tools().rubberBand);
    EXPECT_TRUE(doc->SelectedObjects().empty());
    Key(Qt::Key_Return);
    EXPECT_EQ(doc->SelectedObjects().size(), 2u);
    EXPECT_FALSE(doc->Tools().rubberBand);

    doc->OnClearSelection();
    Drag(At(-40, 200), At(150, -40));
    Key(Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    EXPECT_EQ(doc->SelectedObjects().front()->Bounds().maxs.x, 64.0f);
}

TEST_F(View2DToolsTest, EscapeDuringADragLeavesTheSelectionAsItWas) {
    Click(At(0, 32));
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    const std::string before = Rmf();
    Press(At(32, 32));
    MoveTo(At(100, 32));
    MoveTo(At(200, 32));
    EXPECT_TRUE(xy->Tools().Dragging(*xy));
    Key(Qt::Key_Escape);
    Release(At(200, 32));
    EXPECT_EQ(Rmf(), before);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
    EXPECT_EQ(doc->SelectedObjects().size(), 1u);
}

TEST_F(View2DToolsTest, ACylinderOfThirtyThreeFacesShowsTheRangeMessageAndCreatesNothing) {
    mainFrame.tool = TOOL_BLOCK;
    NewObjectBarModel& bar = NewObjectBar();
    bar.SetTool(TOOL_BLOCK);
    bar.SelectObject(PRIMITIVE_CYLINDER);
    bar.SetFaceCountText("33");
    Drag(At(-128, 256), At(-64, 128));
    Key(Qt::Key_Return);
    EXPECT_TRUE(prompts.Showed("The face count for a cylinder must be in the range of 3 to 32."));
    EXPECT_EQ(TopLevelCount(), 2);
    EXPECT_TRUE(doc->Tools().blockBox.IsEmpty());

    bar.SetFaceCountText("32");
    Drag(At(-128, 256), At(-64, 128));
    Key(Qt::Key_Return);
    ASSERT_EQ(TopLevelCount(), 3);
    EXPECT_EQ(static_cast<CMapSolid*>(TopLevel(2))->FaceCount(), 34);
}

TEST_F(View2DToolsTest, AnEmptyBoxIsRefusedAndTheEntityToolPlacesAnItem) {
    mainFrame.tool = TOOL_BLOCK;
    Drag(At(-128, 256), At(-128, 128));
    Key(Qt::Key_Return);
    EXPECT_TRUE(prompts.Showed("The box is empty."));
    EXPECT_EQ(TopLevelCount(), 2);

    mainFrame.tool = TOOL_ENTITY;
    Drag(At(-100, 300), At(-90, 310));
    EXPECT_FALSE(doc->Tools().marker.IsEmpty());
    Key(Qt::Key_Return);
    ASSERT_EQ(TopLevelCount(), 3);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "New Item");
    EXPECT_EQ(TopLevel(2)->GetColor(), (100u << 16) | 60u);
}

TEST_F(View2DToolsTest, PageUpAndPageDownStepThroughWhatLiesUnderTheClick) {
    // A box right above the first one: the top view shows both under the same edge.
    AddBox(*doc->World(), {0, 0, 128}, {64, 64, 192});
    doc->World()->CalcBounds(true);
    doc->World()->UpdateVisibleObjects();
    CMapClass* lower = TopLevel(0);
    CMapClass* upper = TopLevel(2);
    Click(At(0, 32));
    ASSERT_EQ(doc->PickList().size(), 2u);
    ASSERT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{lower});
    Key(Qt::Key_PageUp);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{upper});
    Key(Qt::Key_PageUp);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{lower});
    Key(Qt::Key_PageDown);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{upper});
    // Stepping selects; it changes nothing in the map.
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
}

TEST_F(View2DToolsTest, TheCameraToolHandsItsCameraToThe3DViewOnRelease) {
    CMapView3D* view3D = frame->View3D();
    ASSERT_NE(view3D, nullptr);
    mainFrame.tool = TOOL_CAMERA;
    Press(At(-192, 0));
    MoveTo(At(-192, 64));
    MoveTo(At(-192, 192));
    EXPECT_NE(view3D->Model().Camera().Position().x, -192.0f); // taken on release only
    Release(At(-192, 192));
    const Camera3D& camera = view3D->Model().Camera();
    EXPECT_EQ(camera.Position().x, -192.0f);
    EXPECT_EQ(camera.Position().y, 0.0f);
    // It looks along +y, the way the drag went.
    EXPECT_NEAR(camera.Forward().x, 0.0f, 1e-5f);
    EXPECT_NEAR(camera.Forward().y, 1.0f, 1e-5f);
    EXPECT_EQ(TopLevelCount(), 2); // a camera is no map object
}

TEST_F(View2DToolsTest, MagnifyZoomsInOnALeftClickAndOutOnARightClick) {
    mainFrame.tool = TOOL_MAGNIFY;
    const float zoom = xy->Zoom();
    Click(At(32, 32));
    EXPECT_FLOAT_EQ(xy->Zoom(), zoom * 1.2f);
    QTest::mouseClick(Port(), Qt::RightButton, {}, At(32, 32));
    EXPECT_NEAR(xy->Zoom(), zoom, 1e-4f);
    // Magnify never selects or draws.
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_TRUE(doc->Tools().blockBox.IsEmpty());
    // Over the view the pointer shows the tool's own picture.
    MoveTo(At(40, 40));
    EXPECT_EQ(Port()->cursor().shape(), Qt::BitmapCursor);
}

namespace {

bool HasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// The feedback as the user sees it: a block being drawn (blue dotted outline), the selection
// box (red) with its black handles in each mode, the cyan rubber band. With BRICKHAVEN_SHOTS
// set the pictures are written there.
TEST_F(View2DToolsTest, FeedbackShowsTheDesignedColours) {
    const QString shots = qEnvironmentVariable("BRICKHAVEN_SHOTS");
    auto grab = [&](const char* name) {
        QApplication::processEvents();
        const QImage image = xy->viewport()->grab().toImage();
        if (!shots.isEmpty()) {
            image.save(shots + "/" + name + ".png");
        }
        return image;
    };
    mainFrame.tool = TOOL_BLOCK;
    Press(At(-120, 250));
    MoveTo(At(-80, 200));
    MoveTo(At(-10, 140));
    EXPECT_TRUE(HasColour(grab("block_drawing"), qRgb(0, 0, 255)));
    Release(At(-10, 140));
    EXPECT_FALSE(HasColour(grab("block_drawn"), qRgb(0, 0, 255)));

    mainFrame.tool = TOOL_SELECTION;
    Click(At(0, 32));
    const QImage scale = grab("selection_scale");
    EXPECT_TRUE(HasColour(scale, qRgb(255, 0, 0)));
    Click(At(32, 32));
    EXPECT_TRUE(HasColour(grab("selection_rotate"), qRgb(255, 0, 0)));
    Click(At(32, 32));
    EXPECT_TRUE(HasColour(grab("selection_shear"), qRgb(255, 0, 0)));

    doc->OnClearSelection();
    Drag(At(-140, 200), At(-100, 150));
    EXPECT_TRUE(HasColour(grab("rubber_band"), qRgb(50, 255, 255)));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(HasColour(grab("after_escape"), qRgb(50, 255, 255)));
}
