#include "EditingTestSupport.h"

#include "common/ToolId.h"
#include "editing/EditCommands.h"

namespace {

class GroupCommandsTest : public EditingTest {};

TEST_F(GroupCommandsTest, GroupWithNothingSelectedSaysSoAndChangesNothing) {
    Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    const std::string before = Snapshot();
    OnGroup(*doc);
    EXPECT_TRUE(prompts.Showed("No objects are selected."));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(doc->UndoHistory().CanUndo());
}

TEST_F(GroupCommandsTest, GroupGetsTheSelectionAndARandomColourAndIsSelected) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    CMapSolid* c = Add(MakeBox({200, 0, 0}, {264, 64, 64}));
    Select({b, a});
    const std::string before = Snapshot();
    RandomGenerator expected = Editor().random;

    OnGroup(*doc);

    ASSERT_EQ(World().Children().size(), 2u);
    EXPECT_EQ(World().Children().front(), c);
    CMapClass* group = World().Children().back();
    ASSERT_TRUE(group->IsType(kTypeMapGroup));
    ASSERT_EQ(group->Children().size(), 2u);
    EXPECT_EQ(group->Children().front(), b);
    EXPECT_EQ(group->Children().back(), a);
    EXPECT_EQ(group->GetColor(), expected.Next() % 65535u);
    EXPECT_EQ(group->Bounds().maxs.x, 164.0f);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{group});
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Group");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(GroupCommandsTest, UngroupPassesMembershipsAndColourOnAndSelectsTheChildren) {
    World().AddVisGroup({"walls", 0x112233, 3, true});
    auto* group = Add(new CMapGroup);
    CMapSolid* a = MakeBox({0, 0, 0}, {64, 64, 64});
    auto* entity = new CMapEntity;
    entity->SetClass("func_door");
    entity->AddChild(MakeBox({100, 0, 0}, {164, 64, 64}));
    group->AddChild(a);
    group->AddChild(entity);
    group->SetVisGroups({3, 0, 0, 0, 0, 0, 0, 0});
    group->SetRenderState(RENDER_SET_COLOR, 0x445566);
    CMapSolid* loose = Add(MakeBox({300, 0, 0}, {364, 64, 64}));
    Select({group, loose});
    const std::string before = Snapshot();

    OnUngroup(*doc);

    ASSERT_EQ(World().Children().size(), 3u);
    EXPECT_EQ(a->Parent(), &World());
    EXPECT_EQ(entity->Parent(), &World());
    EXPECT_EQ(a->OwnVisGroups()[0], 3);
    EXPECT_EQ(a->GetColor(), 0x445566u);
    // The colour reaches the entity's own solid as well.
    EXPECT_EQ(entity->Children().front()->GetColor(), 0x445566u);
    EXPECT_EQ(doc->SelectedObjects(), (std::vector<CMapClass*>{loose, a, entity}));
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Ungroup");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(GroupCommandsTest, UngroupingANestedGroupMovesItsChildrenToTheOuterGroup) {
    auto* outer = Add(new CMapGroup);
    auto* inner = new CMapGroup;
    outer->AddChild(MakeBox({0, 0, 0}, {64, 64, 64}));
    outer->AddChild(inner);
    CMapSolid* a = MakeBox({100, 0, 0}, {164, 64, 64});
    CMapSolid* b = MakeBox({200, 0, 0}, {264, 64, 64});
    inner->AddChild(a);
    inner->AddChild(b);
    const std::string before = Snapshot();
    Select({inner});

    OnUngroup(*doc);

    EXPECT_EQ(a->Parent(), outer);
    EXPECT_EQ(b->Parent(), outer);
    EXPECT_EQ(outer->Children().size(), 3u);
    EXPECT_EQ(World().Children().size(), 1u);
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(GroupCommandsTest, TieToEntityWithAPointEntityCreatesANewEntityWithoutAsking) {
    CMapEntity* light = Add(MakePointEntity("light", {500, 0, 0}));
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    auto* group = Add(new CMapGroup);
    CMapSolid* b = MakeBox({100, 0, 0}, {164, 64, 64});
    group->AddChild(b);
    Select({light, a, group});
    const std::string before = Snapshot();

    OnTieToEntity(*doc);

    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    auto* entity = static_cast<CMapEntity*>(doc->SelectedObjects().front());
    ASSERT_TRUE(entity->IsType(kTypeMapEntity));
    EXPECT_NE(entity, light);
    EXPECT_EQ(entity->ClassName(), "func_wall");
    EXPECT_FALSE(entity->IsPointEntity());
    EXPECT_EQ(entity->Parent(), &World());
    EXPECT_EQ(a->Parent(), entity);
    EXPECT_EQ(b->Parent(), entity);
    EXPECT_EQ(light->Parent(), &World());
    EXPECT_EQ(light->Origin(), Vector(500, 0, 0));
    EXPECT_EQ(properties.shows, 1);
    EXPECT_EQ(panes.panes[1], entity->GetDescription());
    EXPECT_EQ(properties.sets.back(), std::vector<CMapClass*>{entity});
    EXPECT_EQ(top.updates.back(), UPDATE_REDRAW | UPDATE_3D_ONLY);
    EXPECT_NE(std::find(top.updates.begin(), top.updates.end(), UPDATE_REDRAW | UPDATE_2D_ONLY),
              top.updates.end());
    EXPECT_EQ(frame.tool, TOOL_SELECTION);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "toEntity");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(GroupCommandsTest, TieToEntityAsksAboutAnExistingSolidEntity) {
    auto* door = Add(new CMapEntity);
    door->SetClass("func_door");
    door->AddChild(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* a = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    Select({a, door});
    const std::string before = Snapshot();
    const std::string question =
        "You have selected an existing entity (a 'func_door'.)\nWould you like to add the "
        "selected solids to the existing entity?\nIf you select 'No', a new entity will be "
        "created.";

    prompts.answers = {Prompts::Answer::Yes};
    OnTieToEntity(*doc);
    EXPECT_TRUE(prompts.Showed(question));
    EXPECT_EQ(a->Parent(), door);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{door});
    EXPECT_EQ(properties.shows, 0);
    EXPECT_TRUE(UndoRedoExact(before));
    doc->OnUndo();

    Select({a, door});
    prompts.answers = {Prompts::Answer::No};
    OnTieToEntity(*doc);
    EXPECT_NE(a->Parent(), door);
    EXPECT_NE(a->Parent(), &World());
    EXPECT_EQ(door->Children().size(), 1u);
}

TEST_F(GroupCommandsTest, TieToEntityRemovesTheGroupsItEmpties) {
    auto* outer = Add(new CMapGroup);
    auto* inner = new CMapGroup;
    CMapSolid* a = MakeBox({0, 0, 0}, {64, 64, 64});
    inner->AddChild(a);
    outer->AddChild(inner);
    CMapSolid* b = MakeBox({100, 0, 0}, {164, 64, 64});
    outer->AddChild(b);
    // A group that keeps a member is kept.
    auto* mixed = Add(new CMapGroup);
    CMapSolid* c = MakeBox({200, 0, 0}, {264, 64, 64});
    mixed->AddChild(c);
    CMapEntity* light = MakePointEntity("light", {232, 32, 100});
    mixed->AddChild(light);
    const std::string before = Snapshot();
    Select({outer, mixed});

    OnTieToEntity(*doc);

    auto* entity = static_cast<CMapEntity*>(doc->SelectedObjects().front());
    EXPECT_EQ(a->Parent(), entity);
    EXPECT_EQ(b->Parent(), entity);
    EXPECT_EQ(c->Parent(), entity);
    EXPECT_EQ(outer->Parent(), nullptr);
    EXPECT_EQ(inner->Parent(), nullptr);
    EXPECT_EQ(mixed->Parent(), &World());
    EXPECT_EQ(mixed->Children().size(), 1u);
    EXPECT_EQ(light->Parent(), mixed);
    EXPECT_EQ(World().Children().size(), 2u);
    EXPECT_EQ(StaleBounds(World()), "");
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "toEntity");
    EXPECT_TRUE(UndoRedoExact(before));
    doc->OnUndo();
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(a->Parent(), inner);
}

// A group's solids include those of the brush entities inside it; an entity that gives up its
// last solid goes with its group instead of staying behind with nothing to show or compile.
TEST_F(GroupCommandsTest, TieToEntityRemovesABrushEntityItEmpties) {
    auto* group = Add(new CMapGroup);
    auto* door = new CMapEntity;
    door->SetClass("func_door");
    door->SetKeyValue("targetname", "gate");
    CMapSolid* leaf = MakeBox({0, 0, 0}, {64, 64, 64});
    door->AddChild(leaf);
    group->AddChild(door);
    CMapSolid* wall = MakeBox({100, 0, 0}, {164, 64, 64});
    group->AddChild(wall);
    const std::string before = Snapshot();
    Select({group});

    OnTieToEntity(*doc);

    auto* entity = static_cast<CMapEntity*>(doc->SelectedObjects().front());
    EXPECT_EQ(leaf->Parent(), entity);
    EXPECT_EQ(wall->Parent(), entity);
    EXPECT_EQ(door->Parent(), nullptr);
    EXPECT_EQ(group->Parent(), nullptr);
    ASSERT_EQ(World().Children().size(), 1u);
    EXPECT_EQ(World().Children().front(), entity);
    EXPECT_EQ(StaleBounds(World()), "");
    EXPECT_TRUE(UndoRedoExact(before));
    doc->OnUndo();
    EXPECT_EQ(door->Parent(), group);
    EXPECT_EQ(leaf->Parent(), door);
    ASSERT_TRUE(door->GetKeyValue("targetname"));
    EXPECT_EQ(door->GetKeyValue("targetname")->first, "gate");
}

TEST_F(GroupCommandsTest, TieToEntityWithoutSolidsRefuses) {
    CMapEntity* light = Add(MakePointEntity("light", {0, 0, 0}));
    Select({light});
    const std::string before = Snapshot();
    OnTieToEntity(*doc);
    EXPECT_TRUE(prompts.Showed("There are no eligible selected objects."));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
}

TEST_F(GroupCommandsTest, MoveToWorldReleasesTheSolidsOfSolidEntitiesOnly) {
    auto* door = Add(new CMapEntity);
    door->SetClass("func_door");
    CMapSolid* a = MakeBox({0, 0, 0}, {64, 64, 64});
    CMapSolid* b = MakeBox({100, 0, 0}, {164, 64, 64});
    door->AddChild(a);
    door->AddChild(b);
    door->SetVisGroups({2, 5, 0, 0, 0, 0, 0, 0});
    CMapEntity* light = Add(MakePointEntity("light", {0, 0, 200}));
    Select({door, light});
    const std::string before = Snapshot();

    OnMoveToWorld(*doc);

    EXPECT_EQ(a->Parent(), &World());
    EXPECT_EQ(b->Parent(), &World());
    EXPECT_EQ(a->OwnVisGroups()[1], 5);
    EXPECT_EQ(light->Parent(), &World());
    EXPECT_EQ(World().Children().size(), 3u);
    EXPECT_EQ(doc->SelectedObjects(), (std::vector<CMapClass*>{a, b}));
    EXPECT_EQ(panes.panes[1], "2 objects selected.");
    EXPECT_EQ(properties.sets.back(), (std::vector<CMapClass*>{a, b}));
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "toWorld");
    EXPECT_TRUE(UndoRedoExact(before));
}

} // namespace
