#include "EditingTestSupport.h"

#include "editing/EditCommands.h"

namespace {

class DisplayCommandsTest : public EditingTest {};

TEST_F(DisplayCommandsTest, ApplyTextureReachesEverySolidOfTheSelection) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    auto* group = Add(new CMapGroup);
    auto* door = new CMapEntity;
    door->AddChild(MakeBox({100, 0, 0}, {164, 64, 64}));
    group->AddChild(door);
    CMapSolid* other = Add(MakeBox({300, 0, 0}, {364, 64, 64}));
    Editor().currentTexture = "brick7";
    Select({a, group});
    const std::string before = Snapshot();

    OnApplyCurrentTexture(*doc);

    for (CMapSolid* solid : {a, static_cast<CMapSolid*>(door->Children().front())}) {
        for (const CMapFace& face : solid->Faces()) {
            EXPECT_STREQ(face.TextureName(), "BRICK7");
        }
    }
    EXPECT_STREQ(other->Face(0).TextureName(), "WALL");
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Apply Texture");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(DisplayCommandsTest, HideAndShowAreTemporaryAndLeaveTheUndoHistoryAlone) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    OnShowHidden(*doc);
    EXPECT_TRUE(prompts.Showed("There are no temporarily hidden objects."));

    Select({a});
    top.updates.clear();
    view3d.updates.clear();
    OnHideSelected(*doc);
    EXPECT_FALSE(a->IsShown());
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_EQ(World().VisibleObjects(), std::vector<CMapClass*>{b});
    EXPECT_EQ(top.updates, (std::vector<int>{19, 6}));
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
    EXPECT_FALSE(doc->IsModified());
    // Hidden objects are not selected by Select all.
    doc->OnSelectAll();
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{b});

    top.updates.clear();
    OnShowHidden(*doc);
    EXPECT_TRUE(a->IsShown());
    EXPECT_EQ(World().VisibleObjects().size(), 2u);
    EXPECT_EQ(top.updates, (std::vector<int>{19, 6}));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DisplayCommandsTest, AlignFollowsTheViewsAxesAndInversion) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({100, 32, 16}, {132, 48, 32}));
    const std::string before = Snapshot();
    Select({a, b});
    // A top view as the 2D view draws it: world y grows upwards, so the vertical axis is
    // inverted.
    FakeView xy(false, 0, 1);
    xy.invertVertical = true;
    OnAlign(*doc, xy, AlignSide::Top);
    EXPECT_EQ(b->Bounds().maxs.y, 64.0f);
    EXPECT_EQ(b->Bounds().mins.x, 100.0f);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Align");
    EXPECT_TRUE(UndoRedoExact(before));
    doc->OnUndo();

    Select({a, b});
    OnAlign(*doc, xy, AlignSide::Bottom);
    EXPECT_EQ(b->Bounds().mins.y, 0.0f);
    doc->OnUndo();

    // The status bar gives the size of the selection after the move, not before it.
    Select({a, b});
    OnAlign(*doc, xy, AlignSide::Left);
    EXPECT_EQ(b->Bounds().mins.x, 0.0f);
    EXPECT_EQ(panes.panes[3], "64w 64l 64h");
    doc->OnUndo();

    // A side view (y across, z up), not inverted: Top goes to the minimum.
    FakeView yz(false, 1, 2);
    Select({a, b});
    OnAlign(*doc, yz, AlignSide::Top);
    EXPECT_EQ(b->Bounds().mins.z, 0.0f);
    EXPECT_EQ(b->Bounds().mins.y, 32.0f);
    doc->OnUndo();

    Select({a, b});
    OnAlign(*doc, xy, AlignSide::Right);
    EXPECT_EQ(a->Bounds().maxs.x, 132.0f);
    doc->OnUndo();
    xy.invertHorizontal = true;
    Select({a, b});
    OnAlign(*doc, xy, AlignSide::Right);
    EXPECT_EQ(b->Bounds().mins.x, 0.0f);
    EXPECT_EQ(doc->Selection().Bounds().mins.x, 0.0f);
    EXPECT_EQ(doc->Selection().Bounds().maxs.x, 64.0f);
}

TEST_F(DisplayCommandsTest, FlipMirrorsOnTheViewsAxisAboutTheSelectionCentre) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapEntity* light = Add(MakePointEntity("light", {200, 10, 20}));
    const std::string before = Snapshot();
    Select({a, light});
    FakeView xz(false, 0, 2);
    // Selection x: 0 .. 210 (the light's box is 10 units around its origin), centre 105.
    OnFlip(*doc, xz, true);
    EXPECT_EQ(a->Bounds().mins, Vector(146, 0, 0));
    EXPECT_EQ(a->Bounds().maxs, Vector(210, 64, 64));
    EXPECT_EQ(light->Origin(), Vector(10, 10, 20));
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Flip");
    EXPECT_TRUE(doc->IsModified());
    // The mirrored faces still face outwards.
    for (const CMapFace& face : a->Faces()) {
        const Vector center = a->Bounds().Center();
        EXPECT_GT(DotProduct(face.Point(0) - center, face.GetPlane().normal), 0.0f);
    }
    EXPECT_TRUE(UndoRedoExact(before));
    doc->OnUndo();

    Select({a, light});
    // Vertically in this view: z, about the centre of 0 .. 64.
    OnFlip(*doc, xz, false);
    EXPECT_EQ(a->Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(light->Origin(), Vector(200, 10, 44));
}

} // namespace
