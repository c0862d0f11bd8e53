// The Clip and Vertex tools driven with mouse and keys in a child frame's 2D views: points and
// handles placed by clicks, the cut preview, Tab, Enter and Escape, refused moves, and undo.
#include "TwoBoxFrameTest.h"
#include "app/ChildFrame.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "tools/ClipTool.h"
#include "tools/DocumentTools.h"
#include "tools/VertexTool.h"
#include "views/MapView2D.h"
#include "views/View2DTools.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ShapingToolsTest : public TwoBoxFrameTest {
protected:
    static QPoint At(CMapView2D* view, float h, float v) {
        Vector point;
        point[view->HorizontalAxis()] = h;
        point[view->VerticalAxis()] = v;
        const PixelPoint p = view->WorldToClient(point);
        return {p.x, p.y};
    }
    static void Click(CMapView2D* view, QPoint p, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(view->viewport(), Qt::LeftButton, mods, p);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, mods, p);
    }
    static void Drag(CMapView2D* view, QPoint from, QPoint to) {
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i) {
            QTest::mouseMove(view->viewport(), from + (to - from) * i / 4);
        }
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    }
    void Key(int key) { QTest::keyClick(xy, static_cast<Qt::Key>(key)); }
    void SelectOnly(CMapClass* object) {
        doc->SelectObject(nullptr, SELECT_CLEAR);
        doc->SelectObject(object, SELECT_ADD);
        doc->SelectObject(nullptr, SELECT_UPDATE);
    }
    CMapClass* TopLevel(std::size_t index) const {
        auto it = doc->World()->Children().begin();
        std::advance(it, static_cast<long>(index));
        return *it;
    }
    int ShapesOfKind(CMapView2D* view, ToolShape::Kind kind) {
        QApplication::processEvents();
        view->viewport()->repaint();
        int count = 0;
        for (const ToolShape& shape : view->Tools().LastDrawing().shapes) {
            count += shape.kind == kind ? 1 : 0;
        }
        return count;
    }
};

} // namespace

TEST_F(ShapingToolsTest, ClipToolCutsTheSelectionAlongClickedPointsAsOneUndoStep) {
    auto* clip = static_cast<ClipTool*>(doc->Tools().Find(TOOL_CLIP));
    ASSERT_NE(clip, nullptr);
    SelectOnly(TopLevel(0));
    mainFrame.tool = TOOL_CLIP;
    const std::string before = Rmf();

    // Two clicks on the cube's diagonal (off the grid: they snap to its corners).
    Click(xy, At(xy, 3, -2));
    EXPECT_EQ(clip->PointCount(), 1);
    EXPECT_EQ(panes.panes[0], "Clip: click the second point.");
    Click(xy, At(xy, 62, 61));
    ASSERT_EQ(clip->PointCount(), 2);
    EXPECT_NE(panes.panes[0].find("Enter to clip, Tab: keep back"), std::string::npos);
    // The preview: the kept piece's five faces outlined in the view, and in the other view too.
    EXPECT_EQ(ShapesOfKind(xy, ToolShape::Outline), 5);
    EXPECT_GE(ShapesOfKind(xz, ToolShape::Outline), 1);
    Key(Qt::Key_Tab); // keep back
    Key(Qt::Key_Tab); // keep both
    EXPECT_EQ(clip->Keep(), ClipKeep::Both);
    EXPECT_EQ(xy->ViewType(), VIEW2D_XY); // the tool took Tab
    EXPECT_EQ(ShapesOfKind(xy, ToolShape::Outline), 10);

    Key(Qt::Key_Return);
    EXPECT_EQ(clip->PointCount(), 0);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Clip");
    ASSERT_EQ(doc->World()->Children().size(), 3u);
    int prisms = 0;
    for (CMapClass* child : doc->World()->Children()) {
        auto* solid = dynamic_cast<CMapSolid*>(child);
        prisms += solid && solid->FaceCount() == 5 ? 1 : 0;
    }
    EXPECT_EQ(prisms, 2);
    doc->OnUndo();
    EXPECT_EQ(Rmf(), before);

    // A third point in the front view tilts the plane; Escape drops every point, and Tab then
    // goes back to the view.
    SelectOnly(TopLevel(0));
    Click(xy, At(xy, 32, -64));
    Click(xy, At(xy, 32, 128));
    Click(xz, At(xz, 0, 64));
    ASSERT_EQ(clip->PointCount(), 3);
    ASSERT_TRUE(clip->CurrentPlane().has_value());
    EXPECT_NE(clip->CurrentPlane()->normal.z, 0.0);
    Key(Qt::Key_Escape);
    EXPECT_EQ(clip->PointCount(), 0);
    EXPECT_EQ(Rmf(), before);
    Key(Qt::Key_Tab);
    EXPECT_NE(xy->ViewType(), VIEW2D_XY);
}

TEST_F(ShapingToolsTest, VertexToolMovesChosenCornersAndRefusesAMoveThatBreaksConvexity) {
    auto* vertex = static_cast<VertexTool*>(doc->Tools().Find(TOOL_VERTEX));
    ASSERT_NE(vertex, nullptr);
    SelectOnly(TopLevel(0));
    mainFrame.tool = TOOL_VERTEX;
    // The cube's eight corners and twelve edge middles are drawn in the top view.
    EXPECT_EQ(ShapesOfKind(xy, ToolShape::Dot), 20);
    const std::string before = Rmf();

    // A click on the top view's corner chooses the two corners above each other there; a drag
    // pulls that edge out along the diagonal, snapped to the grid.
    Click(xy, At(xy, 64, 64));
    EXPECT_EQ(vertex->ChosenPositions(*doc).size(), 2u);
    Drag(xy, At(xy, 64, 64), At(xy, 120, 122));
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Vertex Move");
    auto* solid = dynamic_cast<CMapSolid*>(TopLevel(0));
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->Bounds().maxs.x, 128.0f);
    EXPECT_EQ(solid->Bounds().maxs.y, 128.0f);
    // The choice follows the corners to where they went.
    for (const Vector3d& p : vertex->ChosenPositions(*doc)) {
        EXPECT_EQ(p.x, 128.0);
        EXPECT_EQ(p.y, 128.0);
    }
    const std::string moved = Rmf();

    // Pulled on until an unmoved corner would end up inside an edge of a face: refused, the
    // map stays as it was and the message says why.
    Drag(xy, At(xy, 128, 128), At(xy, 128, 0));
    EXPECT_TRUE(Rmf() == moved);
    // The opposite edge pulled inside along the top and bottom faces: refused as well.
    Drag(xy, At(xy, 0, 0), At(xy, 64, 64));
    EXPECT_TRUE(Rmf() == moved);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Vertex Move");
    EXPECT_NE(panes.panes[0].find("convex"), std::string::npos);

    // A box around corners chooses them; Escape lets go of them.
    Drag(xy, At(xy, -20, -20), At(xy, 20, 80));
    EXPECT_EQ(vertex->ChosenPositions(*doc).size(), 4u);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(vertex->ChosenPositions(*doc).empty());
    doc->OnUndo();
    EXPECT_TRUE(Rmf() == before);
}
