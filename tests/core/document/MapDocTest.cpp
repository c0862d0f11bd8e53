#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "render/ViewAxes.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "tools/ToolCommands.h"

#include <gtest/gtest.h>

namespace {

CMapSolid* MakeCube(float x, float size = 64) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {x, 0, 0}, {x + size, size, size});
    EXPECT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    return solid;
}

class MapDocTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeStatusPanes panes;
    FakeMainFrame frame;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().statusPanes = &panes;
        context.Context().mainFrame = &frame;
    }
};

TEST_F(MapDocTest, ToggleAddsAndRemovesAndClearAddLeavesExactlyOne) {
    CMapDoc doc;
    CMapSolid* a = MakeCube(0);
    CMapSolid* b = MakeCube(100);
    doc.World()->AddChild(a);
    doc.World()->AddChild(b);
    doc.SelectObject(a, SELECT_TOGGLE);
    EXPECT_TRUE(a->IsSelected());
    doc.SelectObject(b, SELECT_ADD);
    EXPECT_EQ(doc.SelectedObjects().size(), 2u);
    doc.SelectObject(a, SELECT_TOGGLE);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{b});
    EXPECT_EQ(doc.Selection().Bounds().mins.x, 100.0f);
    doc.SelectObject(a, SELECT_ADD);
    doc.SelectObject(b, SELECT_CLEAR | SELECT_ADD);
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{b});
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
}

TEST_F(MapDocTest, SelectionUpdateTellsViewsAndWritesTheStatusPanes) {
    CMapDoc doc;
    FakeView top(false, 0, 1), view3d(true);
    doc.AddView(&top);
    doc.AddView(&view3d);
    CMapSolid* a = MakeCube(0);
    CMapSolid* b = MakeCube(100, 32);
    doc.World()->AddChild(a);
    doc.World()->AddChild(b);
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    EXPECT_EQ(panes.panes[1], "no selection.");
    EXPECT_EQ(panes.panes[3], "");
    doc.SelectObject(a, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(panes.panes[1], "solid with 6 faces");
    EXPECT_EQ(panes.panes[3], "64w 64l 64h");
    EXPECT_EQ(top.updates.back(), 5);
    EXPECT_EQ(view3d.updates.back(), 5);
    EXPECT_EQ(top.handleCodes.back(), 2);
    doc.SelectObject(b, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(panes.panes[1], "2 objects selected.");
    EXPECT_EQ(panes.panes[3], "132w 64l 64h");
    frame.faceMode = true;
    doc.UpdateStatusText();
    EXPECT_EQ(panes.panes[1], "0 faces selected");
    doc.SelectFace(&a->Face(0), a, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(panes.panes[1], "1 face selected");
    frame.faceMode = false;
    // A note in the message pane lasts until the map changes, is saved or goes away.
    doc.ShowNote("Autosaved Untitled");
    EXPECT_EQ(panes.panes[0], "Autosaved Untitled");
    doc.SetModified();
    EXPECT_EQ(panes.panes[0], "");
    {
        CMapDoc other;
        other.ShowNote("Autosaved Untitled");
        doc.ClearNote(); // not this map's note
        EXPECT_EQ(panes.panes[0], "Autosaved Untitled");
    }
    EXPECT_EQ(panes.panes[0], "");
}

// A light standing on a floor: a click on the light's drawn box picks the light first, and at
// a far zoom its box is as large as it is drawn (8 pixels), not its 4-pixel bounds.
TEST_F(MapDocTest, AClickOnAPointEntityPicksItBeforeTheSolidsUnderIt) {
    CMapDoc doc;
    CMapSolid* floor = MakeCube(-128, 256);
    doc.World()->AddChild(floor);
    auto* light = new CMapEntity;
    light->SetPointEntity(true);
    light->SetOrigin({124, 100, 300});
    doc.World()->AddChild(light);
    doc.World()->CalcBounds(true);
    doc.World()->UpdateVisibleObjects();
    const ViewAxes top = AxesForViewType(VIEW2D_XY);
    // World (126, 100): within the pick tolerance of the floor's edge at x 128 and inside the
    // light's box.
    ASSERT_TRUE(PickAt(doc, top, 0.25f, 126, 100, true));
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{light});
    ASSERT_EQ(doc.PickList().size(), 2u);
    EXPECT_EQ(doc.PickList()[1], floor);
    // 14 units off the light's centre: outside its 10-unit half size, inside the 16 units that
    // 4 pixels make at zoom 0.25.
    ASSERT_TRUE(PickAt(doc, top, 0.25f, 124 + 14, 100 + 14, true));
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{light});
    EXPECT_FALSE(PickAt(doc, top, 1.0f, 124 + 14, 100 + 14, true));
}

TEST_F(MapDocTest, FaceSelectionKeepsOwnersOnRemovalAndClearsBoth) {
    CMapDoc doc;
    CMapSolid* a = MakeCube(0);
    doc.World()->AddChild(a);
    doc.SelectFace(&a->Face(0), a, SELECT_ADD);
    doc.SelectFace(&a->Face(1), a, SELECT_ADD);
    EXPECT_EQ(doc.SelectedFaces().size(), 2u);
    EXPECT_EQ(doc.FaceOwners().size(), 1u);
    EXPECT_TRUE(a->Face(0).IsSelected());
    doc.SelectFace(&a->Face(0), a, SELECT_TOGGLE);
    EXPECT_FALSE(a->Face(0).IsSelected());
    EXPECT_EQ(doc.FaceOwners().size(), 1u);
    doc.SelectFace(nullptr, nullptr, SELECT_CLEAR);
    EXPECT_TRUE(doc.SelectedFaces().empty());
    EXPECT_TRUE(doc.FaceOwners().empty());
    EXPECT_FALSE(a->Face(1).IsSelected());
}

TEST_F(MapDocTest, GridLimitsAndStatus) {
    CMapDoc doc;
    FakeView top(false);
    doc.AddView(&top);
    EXPECT_EQ(doc.GridSize(), 64);
    for (int i = 0; i < 5; ++i) {
        doc.OnBiggerGrid();
    }
    EXPECT_EQ(doc.GridSize(), 512);
    top.updates.clear();
    doc.OnBiggerGrid();
    EXPECT_EQ(doc.GridSize(), 512);
    EXPECT_TRUE(top.updates.empty());
    doc.OnToggleSnap();
    EXPECT_EQ(panes.panes[5], " Snap: Off Grid: 512 ");

    context.Context().options.defaultGrid = 10;
    CMapDoc odd;
    odd.AddView(&top);
    odd.OnSmallerGrid();
    EXPECT_EQ(odd.GridSize(), 5);
    EXPECT_EQ(top.updates.back(), 17);
    odd.OnSmallerGrid();
    EXPECT_EQ(odd.GridSize(), 2);
    top.updates.clear();
    odd.OnSmallerGrid();
    EXPECT_EQ(odd.GridSize(), 2);
    EXPECT_TRUE(top.updates.empty());
    EXPECT_EQ(panes.panes[5], " Snap: On Grid: 2 ");
    odd.RemoveView(&top);
}

TEST_F(MapDocTest, PastePointComesFromTheTwoDViews) {
    CMapDoc doc;
    EXPECT_EQ(doc.GetPastePoint(), Vector(0, 0, 0));
    FakeView top(false, 0, 1, {128, -64, 999});
    FakeView camera(true);
    doc.AddView(&camera);
    doc.AddView(&top);
    EXPECT_EQ(doc.GetPastePoint(), Vector(128, -64, 0));
    FakeView side(false, 1, 2, {5, 7, 32});
    doc.AddView(&side);
    EXPECT_EQ(doc.GetPastePoint(), Vector(128, -64, 32)); // y already set by the top view
}

TEST_F(MapDocTest, PickListCyclesAndTogglesTheSelection) {
    CMapDoc doc;
    std::vector<CMapSolid*> solids;
    for (int i = 0; i < 3; ++i) {
        solids.push_back(MakeCube(100.0f * static_cast<float>(i)));
        doc.World()->AddChild(solids.back());
        doc.AddToPickList(solids.back());
    }
    doc.AddToPickList(solids[0]);
    EXPECT_EQ(doc.PickList().size(), 3u);
    for (int expected : {0, 1, 2, 0}) {
        doc.PickNext();
        EXPECT_EQ(doc.PickIndex(), expected);
        EXPECT_EQ(doc.SelectedObjects(),
                  std::vector<CMapClass*>{solids[static_cast<std::size_t>(expected)]});
    }
    doc.PickPrevious();
    EXPECT_EQ(doc.PickIndex(), 2);
    doc.ClearPickList();
    doc.PickNext();
    EXPECT_EQ(doc.PickIndex(), -1);
}

TEST_F(MapDocTest, ActivationSwitchesTheActiveHistoryAndTellsTheMainFrame) {
    auto first = std::make_unique<CMapDoc>();
    auto second = std::make_unique<CMapDoc>();
    EXPECT_EQ(CMapDoc::AllDocuments().size(), 2u);
    CMapDoc::SetActiveMapDoc(first.get());
    CMapDoc::SetActiveMapDoc(first.get());
    EXPECT_EQ(frame.activations.size(), 1u);
    EXPECT_EQ(&context.Context().ActiveHistory(), &first->UndoHistory());
    second.reset(); // a document that is not active closes: the active one stays
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), first.get());
    first.reset();
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), nullptr);
    EXPECT_EQ(frame.activations.back(), nullptr);
    EXPECT_EQ(&context.Context().ActiveHistory(), context.Context().fallbackHistory.get());
    EXPECT_TRUE(CMapDoc::AllDocuments().empty());
}

TEST_F(MapDocTest, SelectAllTakesVisibleTopLevelObjectsOnly) {
    CMapDoc doc;
    auto* group = new CMapGroup;
    group->AddChild(MakeCube(0));
    group->AddChild(MakeCube(100));
    doc.World()->AddChild(group);
    CMapSolid* hidden = MakeCube(300);
    doc.World()->AddChild(hidden);
    hidden->SetShown(false);
    doc.OnSelectAll();
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{group});
    doc.OnClearSelection();
    EXPECT_TRUE(doc.SelectedObjects().empty());
}

TEST_F(MapDocTest, UndoAndRedoThroughTheDocumentRestoreWorldAndSelection) {
    CMapDoc doc;
    CMapDoc::SetActiveMapDoc(&doc);
    CMapSolid* solid = MakeCube(0);
    doc.World()->AddChild(solid);
    doc.SelectObject(solid, SELECT_ADD | SELECT_UPDATE);

    doc.UndoHistory().MarkUndoPosition(doc.SelectedObjects(), "Delete");
    doc.SelectObject(nullptr, SELECT_CLEAR);
    doc.World()->RemoveChild(solid, true);
    context.Context().ActiveHistory().KeepForDestruction(solid);
    EXPECT_TRUE(doc.World()->Children().empty());

    doc.OnUndo();
    ASSERT_EQ(doc.World()->Children().size(), 1u);
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{solid});
    doc.OnRedo();
    EXPECT_TRUE(doc.World()->Children().empty());
    // The saved selection names the deleted solid: it must not be selected again.
    EXPECT_TRUE(doc.SelectedObjects().empty());
}

TEST_F(MapDocTest, CentreViewsOnSelectionCentresEveryTwoDView) {
    CMapDoc doc;
    FakeView top(false), front(false, 1, 2), camera(true);
    doc.AddView(&top);
    doc.AddView(&front);
    doc.AddView(&camera);
    doc.OnCenterViewsOnSelection();
    EXPECT_EQ(top.centeredOn.x, 99999.0f);
    CMapSolid* solid = MakeCube(0);
    doc.World()->AddChild(solid);
    doc.SelectObject(solid, SELECT_ADD);
    doc.OnCenterViewsOnSelection();
    EXPECT_EQ(top.centeredOn, Vector(32, 32, 32));
    EXPECT_EQ(front.centeredOn, Vector(32, 32, 32));
}

} // namespace
