#include "mapobjects/EditGameClass.h"
#include "session/EditorContext.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

namespace {

class MapClassTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    void SetUp() override { context.Context().SetActiveHistory(&history); }
};

TEST_F(MapClassTest, IdsCountFromOneInAFreshContext) {
    TestMapObject a, b;
    EXPECT_EQ(a.ObjectId(), 1u);
    EXPECT_EQ(b.ObjectId(), 2u);
    context.Context().nextObjectId = 0xFFFFFF;
    TestMapObject c, d;
    EXPECT_EQ(c.ObjectId(), 0xFFFFFFu);
    EXPECT_EQ(d.ObjectId(), 1u); // 24 bits, never 0
}

TEST_F(MapClassTest, NewObjectDefaults) {
    TestMapObject o;
    EXPECT_EQ(o.GetColor(), 0xDCDCDCu);
    EXPECT_EQ(o.WorldIndex(), 255);
    EXPECT_TRUE(o.IsShown());
    EXPECT_EQ(o.Parent(), nullptr);
    EXPECT_EQ(o.OwnVisGroups(), VisGroupIds{});
}

TEST_F(MapClassTest, AddChildTwiceKeepsOneEntryAndRecordsRelinks) {
    TestMapObject parent;
    auto* child = new TestMapObject(MakeBox({0, 0, 0}, {8, 8, 8}));
    parent.AddChild(child);
    parent.AddChild(child);
    EXPECT_EQ(parent.Children().size(), 1u);
    EXPECT_EQ(child->Parent(), &parent);
    EXPECT_EQ(history.Count(8), 1);
    EXPECT_EQ(parent.Bounds().maxs, Vector(8, 8, 8));
}

TEST_F(MapClassTest, RemoveChildShrinksBoundsAndLastRemovalLeavesEmptyBox) {
    TestMapObject parent;
    auto* a = new TestMapObject(MakeBox({0, 0, 0}, {8, 8, 8}));
    auto* b = new TestMapObject(MakeBox({100, 100, 100}, {108, 108, 108}));
    parent.AddChild(a);
    parent.AddChild(b);
    EXPECT_EQ(parent.Bounds().maxs, Vector(108, 108, 108));
    EXPECT_TRUE(parent.RemoveChild(b, true));
    EXPECT_EQ(parent.Bounds().maxs, Vector(8, 8, 8));
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(b->WorldIndex(), 255);
    EXPECT_FALSE(parent.RemoveChild(b, true));
    delete b;
    EXPECT_TRUE(parent.RemoveChild(a, true));
    delete a;
    EXPECT_TRUE(parent.Bounds().IsEmpty());
    EXPECT_EQ(parent.Bounds().mins, Vector(99999, 99999, 99999));
    EXPECT_EQ(parent.Bounds().maxs, Vector(-99999, -99999, -99999));
}

TEST_F(MapClassTest, MovingAChildToAnotherParentUnlinksItFromTheFirst) {
    TestMapObject first, second;
    auto* child = new TestMapObject;
    first.AddChild(child);
    second.AddChild(child);
    EXPECT_TRUE(first.Children().empty());
    EXPECT_EQ(second.Children().size(), 1u);
    EXPECT_EQ(child->Parent(), &second);
}

TEST_F(MapClassTest, ChildrenKeepTheirOrderThroughRemovals) {
    TestMapObject parent;
    std::vector<TestMapObject*> kids;
    for (int i = 0; i < 5; ++i) {
        kids.push_back(new TestMapObject);
        parent.AddChild(kids.back());
    }
    parent.RemoveChild(kids[0]);
    parent.RemoveChild(kids[2]);
    parent.RemoveChild(kids[4]);
    std::vector<CMapClass*> order(parent.Children().begin(), parent.Children().end());
    EXPECT_EQ(order, (std::vector<CMapClass*>{kids[1], kids[3]}));
    parent.AddChild(kids[0]);
    EXPECT_EQ(parent.Children().back(), kids[0]);
    delete kids[2];
    delete kids[4];
}

TEST_F(MapClassTest, ChangeVisGroupSlotRules) {
    TestMapObject o;
    EXPECT_EQ(o.ChangeVisGroup(5, 1), 1);
    EXPECT_EQ(o.ChangeVisGroup(6, 1), 1);
    EXPECT_EQ(o.OwnVisGroups(), (VisGroupIds{5, 6, 0, 0, 0, 0, 0, 0}));
    o.ChangeVisGroup(6, 2); // present, not first: swapped to the front
    EXPECT_EQ(o.OwnVisGroups(), (VisGroupIds{6, 5, 0, 0, 0, 0, 0, 0}));
    o.ChangeVisGroup(7, 2); // absent: first slot, old first moves to the first free slot
    EXPECT_EQ(o.OwnVisGroups(), (VisGroupIds{7, 5, 6, 0, 0, 0, 0, 0}));
    o.ChangeVisGroup(5, 0);
    EXPECT_EQ(o.OwnVisGroups(), (VisGroupIds{7, 0, 6, 0, 0, 0, 0, 0}));
    o.ChangeVisGroup(9, 1); // first free slot
    EXPECT_EQ(o.OwnVisGroups(), (VisGroupIds{7, 9, 6, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(o.IsInVisGroup(9));
    EXPECT_FALSE(o.IsInVisGroup(5));

    TestMapObject empty;
    empty.ChangeVisGroup(3, 2); // first slot is itself the first free one
    EXPECT_EQ(empty.OwnVisGroups(), (VisGroupIds{3, 0, 0, 0, 0, 0, 0, 0}));

    TestMapObject full;
    full.SetVisGroups(VisGroupIds{1, 2, 3, 4, 5, 6, 7, 8});
    full.ChangeVisGroup(9, 1);
    full.ChangeVisGroup(10, 2);
    EXPECT_EQ(full.OwnVisGroups(), (VisGroupIds{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_GE(history.Count(1), 3);
}

TEST_F(MapClassTest, MembersOfAGroupReportTheGroupsVisgroups) {
    TestWorldObject world;
    auto* group = new TestMapObject;
    auto* solid = new TestMapObject;
    world.AddChild(group);
    group->AddChild(solid);
    group->SetVisGroups(VisGroupIds{4, 0, 0, 0, 0, 0, 0, 0});
    solid->SetVisGroups(VisGroupIds{9, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(solid->GetVisGroups()[0], 4);
    EXPECT_TRUE(solid->IsInVisGroup(4));
    EXPECT_FALSE(solid->IsInVisGroup(9));
    EXPECT_EQ(group->GetVisGroups()[0], 4);
}

TEST_F(MapClassTest, SelectionTargetIsTheOutermostContainerBelowTheWorld) {
    TestWorldObject world;
    auto* outer = new TestMapObject;
    auto* inner = new TestMapObject;
    auto* solid = new TestMapObject;
    world.AddChild(outer);
    outer->AddChild(inner);
    inner->AddChild(solid);
    EXPECT_EQ(solid->GetSelectionTarget(false), outer);
    EXPECT_EQ(solid->GetSelectionTarget(true), solid);
    EXPECT_EQ(outer->GetSelectionTarget(false), outer);
    EXPECT_EQ(solid->TopLevelAncestor(), outer);
    TestMapObject detached;
    EXPECT_EQ(detached.GetSelectionTarget(false), &detached);
}

TEST_F(MapClassTest, RenderStateSelectionAndColours) {
    TestWorldObject world;
    auto* group = new TestMapObject;
    auto* child = new TestMapObject;
    world.AddChild(group);
    group->AddChild(child);
    group->SetRenderState(RENDER_SET_COLOR, 0x102030);
    EXPECT_EQ(group->GetColor(), 0x102030u);
    EXPECT_EQ(child->GetColor(), 0x102030u);
    group->SetRenderState(RENDER_SELECT, 0);
    EXPECT_TRUE(child->IsSelected());
    EXPECT_EQ(child->Color3D(), 0xDC0000u);
    // A colour change while selected keeps the selection colour.
    group->SetRenderState(RENDER_SET_COLOR, 0x405060);
    EXPECT_EQ(group->Color3D(), 0xDC0000u);
    EXPECT_EQ(group->GetColor(), 0x405060u);
    // Kind 16 leaves selected objects alone; kind 4 deselects.
    group->SetRenderState(RENDER_CLEAR_VISGROUP, 0);
    EXPECT_TRUE(group->IsSelected());
    group->SetRenderState(RENDER_DESELECT, 0);
    EXPECT_FALSE(group->IsSelected());
    EXPECT_FALSE(child->IsSelected());
    child->SetRenderState(RENDER_SET_COLOR, 0x111111);
    child->SetRenderState(RENDER_DESELECT, 0);
    EXPECT_EQ(child->Color3D(), 0x405060u); // a member shows its container's colour
}

TEST_F(MapClassTest, DeepClonesCopyTheSubtreeAndRecordNothingOnTheOriginal) {
    TestMapObject source;
    auto* a = new TestMapObject(MakeBox({0, 0, 0}, {1, 1, 1}));
    auto* b = new TestMapObject(MakeBox({-5, 0, 0}, {0, 2, 2}));
    source.AddChild(a);
    a->AddChild(b);
    a->CalcBounds(false);
    source.CalcBounds(false);
    TestMapObject copy;
    copy.AddDeepClonesOf(source);
    ASSERT_EQ(copy.Children().size(), 1u);
    CMapClass* ca = copy.Children().front();
    EXPECT_NE(ca, a);
    ASSERT_EQ(ca->Children().size(), 1u);
    EXPECT_EQ(copy.Bounds(), source.Bounds());

    TestMapObject shallow;
    shallow.AddClonesOf(source);
    ASSERT_EQ(shallow.Children().size(), 1u);
    EXPECT_TRUE(shallow.Children().front()->Children().empty());
}

TEST_F(MapClassTest, TransformationsRecordAndMarkForRebuild) {
    TestMapObject parent;
    auto* child = new TestMapObject;
    parent.AddChild(child);
    history.entries.clear();
    parent.TransMove({1, 2, 3});
    EXPECT_EQ(history.Count(1), 2); // parent and child
    EXPECT_TRUE(parent.NeedsRebuild());
    EXPECT_TRUE(child->NeedsRebuild());
}

TEST_F(MapClassTest, CopyFromTakesOwnDataOnly) {
    TestMapObject source(MakeBox({1, 1, 1}, {2, 2, 2}));
    source.SetVisGroups(VisGroupIds{3, 0, 0, 0, 0, 0, 0, 0});
    source.SetRenderState(RENDER_SET_COLOR, 0x123456);
    source.SetRenderState(RENDER_SELECT, 0);
    source.AddChild(new TestMapObject);
    TestMapObject target;
    target.CopyFrom(source);
    EXPECT_EQ(target.OwnVisGroups(), source.OwnVisGroups());
    EXPECT_EQ(target.GetColor(), 0x123456u);
    EXPECT_EQ(target.Bounds(), source.Bounds());
    EXPECT_FALSE(target.IsSelected());
    EXPECT_TRUE(target.NeedsRebuild());
    EXPECT_TRUE(target.Children().empty());
}

TEST(EditGameClassTest, KeyValuesAreCaseInsensitiveAndKeepTheirOrder) {
    ScopedEditorContext context;
    CEditGameClass k;
    k.SetKeyValue("Target", std::string("t1"));
    k.SetKeyValue("light", std::string("300"));
    k.SetKeyValue("wait", std::string("2"));
    k.SetKeyValue("TARGET", std::string("t2"));
    ASSERT_EQ(k.KeyValueCount(), 3);
    EXPECT_EQ(k.KeyValues()[0].key, "Target");
    EXPECT_EQ(k.GetKeyValue("target")->first, "t2");
    EXPECT_EQ(k.GetKeyValue("WAIT")->second, 2);
    k.SetKeyValue("LIGHT", std::nullopt);
    ASSERT_EQ(k.KeyValueCount(), 2);
    EXPECT_EQ(k.KeyValues()[1].key, "wait");
    EXPECT_FALSE(k.GetKeyValue("light"));
}

TEST(EditGameClassTest, FieldLimitsCutWithoutOverflow) {
    ScopedEditorContext context;
    CEditGameClass k;
    k.SetKeyValue(std::string(40, 'k'), std::string(2000, 'v'));
    ASSERT_EQ(k.KeyValueCount(), 1);
    EXPECT_EQ(k.KeyValues()[0].key.size(), 19u);
    EXPECT_EQ(k.KeyValues()[0].value.size(), 511u);
    k.SetClass(std::string(100, 'c'));
    EXPECT_EQ(k.ClassName().size(), 63u);
    EXPECT_EQ(k.GameClass(), nullptr);
}

} // namespace
