#include "mapobjects/MapWorld.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/TreeWalk.h"
#include "mapobjects/VisibilityTest.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/SolidBuilders.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

namespace {

class MapWorldTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    void SetUp() override { context.Context().SetActiveHistory(&history); }

    static CMapSolid* Cube(const Vector& lo, const Vector& hi) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, lo, hi);
        EXPECT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        return solid;
    }
    static CMapEntity* PointEntity() {
        auto* entity = new CMapEntity;
        entity->SetPointEntity(true);
        entity->SetOrigin({0, 0, 0});
        return entity;
    }
    static VisGroup Group(std::uint8_t id, bool visible, std::uint32_t color = 0) {
        VisGroup group;
        group.name = "group " + std::to_string(id);
        group.id = id;
        group.visible = visible;
        group.color = color;
        return group;
    }
};

TEST_F(MapWorldTest, WorldsTakeTheFirstFreeSlot) {
    auto first = std::make_unique<CMapWorld>();
    auto second = std::make_unique<CMapWorld>();
    EXPECT_EQ(first->WorldIndex(), 0);
    EXPECT_EQ(second->WorldIndex(), 1);
    first.reset();
    CMapWorld third;
    EXPECT_EQ(third.WorldIndex(), 0);

    auto* solid = new CMapSolid;
    second->AddChild(solid);
    EXPECT_EQ(solid->WorldIndex(), 1);
    EXPECT_EQ(solid->OwningWorld(), second.get());

    std::vector<std::unique_ptr<CMapWorld>> many;
    for (int i = 0; i < 254; ++i) {
        many.push_back(std::make_unique<CMapWorld>());
    }
    auto overflow = std::make_unique<CMapWorld>(); // every slot taken
    EXPECT_EQ(overflow->WorldIndex(), 0);
    overflow.reset(); // leaves index 0 to the world that holds it
    many.clear();
    EXPECT_EQ(CMapWorld().WorldIndex(), 2);
    EXPECT_EQ(third.WorldIndex(), 0);
}

TEST_F(MapWorldTest, NewWorldIsWorldspawnAndClonesEmpty) {
    CMapWorld world;
    EXPECT_EQ(world.ClassName(), "worldspawn");
    EXPECT_TRUE(world.IsWorld());
    EXPECT_EQ(world.Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(world.Bounds().maxs, Vector(0, 0, 0));
    EXPECT_EQ(world.DisplayFilterFlags(), 0u);
    EXPECT_FALSE(world.TexturesShown());
    world.AddVisGroup(Group(1, true));
    world.AddChild(new CMapSolid);
    std::unique_ptr<CMapClass> clone(world.Clone());
    auto* copy = dynamic_cast<CMapWorld*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Children().empty());
    EXPECT_EQ(copy->VisGroupCount(), 0);
    EXPECT_NE(copy->WorldIndex(), world.WorldIndex());
}

TEST_F(MapWorldTest, VisGroupLookupGoesThroughTheIdIndex) {
    CMapWorld world;
    int index = 0;
    for (int id = 0; id < 256; ++id) {
        EXPECT_EQ(world.FindVisGroup(static_cast<std::uint8_t>(id), &index), nullptr);
        EXPECT_EQ(index, -1);
    }
    world.AddVisGroup(Group(7, true, 0x112233));
    world.AddVisGroup(Group(3, false));
    ASSERT_NE(world.FindVisGroup(3, &index), nullptr);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(world.FindVisGroup(7)->color, 0x112233u);

    // Edited in place: found again only after the index is rebuilt.
    world.VisGroupAt(0).id = 9;
    world.RebuildVisGroupIndex();
    EXPECT_EQ(world.FindVisGroup(7), nullptr);
    EXPECT_EQ(world.FindVisGroup(9)->color, 0x112233u);

    world.ReplaceVisGroups({Group(200, true), Group(100, true)});
    EXPECT_EQ(world.FindVisGroup(9), nullptr);
    ASSERT_NE(world.FindVisGroup(100, &index), nullptr);
    EXPECT_EQ(index, 1);

    // Objects take the colour of their first visgroup.
    world.VisGroupAt(1).color = 0xABCDEF;
    auto* solid = new CMapSolid;
    world.AddChild(solid);
    solid->SetVisGroups(VisGroupIds{100, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(solid->GetColor(), 0xABCDEFu);
}

TEST_F(MapWorldTest, VisibleObjectsListSolidsBeforeEntities) {
    CMapWorld world;
    auto* doorEntity = new CMapEntity;
    CMapSolid* doorSolid = Cube({0, 0, 0}, {8, 8, 8});
    doorEntity->AddChild(doorSolid);
    world.AddChild(doorEntity);
    CMapSolid* plain = Cube({16, 0, 0}, {24, 8, 8});
    world.AddChild(plain);
    auto* group = new CMapGroup;
    CMapSolid* grouped = Cube({32, 0, 0}, {40, 8, 8});
    CMapEntity* light = PointEntity();
    group->AddChild(grouped);
    group->AddChild(light);
    world.AddChild(group);

    world.UpdateVisibleObjects(0);
    EXPECT_EQ(world.VisibleObjects(),
              (std::vector<CMapClass*>{doorSolid, plain, grouped, doorEntity, light}));

    world.UpdateVisibleObjects(FILTER_HIDE_ITEMS);
    EXPECT_EQ(world.VisibleObjects(),
              (std::vector<CMapClass*>{doorSolid, plain, grouped, doorEntity}));
    // -1 keeps the stored flags.
    group->SetShown(false);
    world.UpdateVisibleObjects();
    EXPECT_EQ(world.DisplayFilterFlags(), static_cast<std::uint32_t>(FILTER_HIDE_ITEMS));
    EXPECT_EQ(world.VisibleObjects(), (std::vector<CMapClass*>{doorSolid, plain, doorEntity}));
}

TEST_F(MapWorldTest, TemporarilyHiddenContainerHidesItsMembersUnderAnyFlags) {
    CMapWorld world;
    auto* group = new CMapGroup;
    auto* inner = new CMapGroup;
    CMapSolid* solid = Cube({0, 0, 0}, {8, 8, 8});
    inner->AddChild(solid);
    group->AddChild(inner);
    world.AddChild(group);
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, 0));
    group->SetShown(false);
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, 0));
    EXPECT_FALSE(PassesVisibilityTest(*group, world, 0));
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_HIDE_ITEMS));
    // Only the top-level ancestor's flag counts.
    group->SetShown(true);
    inner->SetShown(false);
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, 0));
}

TEST_F(MapWorldTest, VisgroupFilteringRules) {
    CMapWorld world;
    world.AddVisGroup(Group(3, false));
    world.AddVisGroup(Group(7, true));
    CMapSolid* solid = Cube({0, 0, 0}, {8, 8, 8});
    world.AddChild(solid);

    solid->SetVisGroups(VisGroupIds{3, 7, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, FILTER_VISGROUPS));
    world.VisGroupAt(1).visible = false;
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_VISGROUPS));
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, 0));
    world.VisGroupAt(1).visible = true;

    // A first slot of 0 hides, whatever follows; so does no visgroup at all.
    solid->SetVisGroups(VisGroupIds{0, 7, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_VISGROUPS));
    solid->SetVisGroups(VisGroupIds{});
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_VISGROUPS));
    // An id no group has counts as switched off.
    solid->SetVisGroups(VisGroupIds{42, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_VISGROUPS));

    // A member of a group is judged by the group's memberships.
    auto* group = new CMapGroup;
    world.AddChild(group);
    CMapSolid* member = Cube({0, 0, 0}, {8, 8, 8});
    group->AddChild(member);
    member->SetVisGroups(VisGroupIds{7, 0, 0, 0, 0, 0, 0, 0});
    group->SetVisGroups(VisGroupIds{3, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(PassesVisibilityTest(*member, world, FILTER_VISGROUPS));
    group->SetVisGroups(VisGroupIds{7, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(PassesVisibilityTest(*member, world, FILTER_VISGROUPS));
}

TEST_F(MapWorldTest, RegionFilterUsesTheFirstActiveRecord) {
    CMapWorld world;
    CMapSolid* solid = Cube({0, 0, 0}, {64, 64, 64});
    world.AddChild(solid);
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_REGION));

    world.FilterRecords().push_back({{-1000, -1000, -1000}, {1000, 1000, 1000}, false, 1});
    world.FilterRecords().push_back({{0, 0, 0}, {64, 64, 64}, true, 1});
    world.FilterRecords().push_back({{-1000, -1000, -1000}, {1000, 1000, 1000}, true, 1});
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, FILTER_REGION)); // inside, touching
    world.FilterRecords()[1].maxs.z = 63;
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_REGION));
    world.FilterRecords()[1].mode = 0; // overlap
    EXPECT_TRUE(PassesVisibilityTest(*solid, world, FILTER_REGION));
    world.FilterRecords()[1].mins = {64, 0, 0}; // only touching: no strict overlap
    world.FilterRecords()[1].maxs = {128, 64, 64};
    EXPECT_FALSE(PassesVisibilityTest(*solid, world, FILTER_REGION));
}

TEST_F(MapWorldTest, ShowTexturesRetexturesShownSolids) {
    FakeTextures textures;
    textures.Add("WALL", 64, 64);
    context.Context().textures = &textures;
    context.Context().currentTexture = "WALL";
    RecordingStatusPanes panes;
    context.Context().statusPanes = &panes;

    CMapWorld world;
    CMapSolid* shown = Cube({0, 0, 0}, {64, 64, 64});
    CMapSolid* notShown = Cube({100, 0, 0}, {164, 64, 64});
    world.AddChild(shown);
    world.AddChild(notShown);
    FakeRenderFrame frame;
    ASSERT_TRUE(shown->BuildRenderObjects(frame, true));
    auto& mesh = *frame.meshes[0];
    shown->Face(2).SetFaceRenderState(RENDER_SELECT);
    history.entries.clear();

    world.ShowTextures(true);
    EXPECT_TRUE(world.TexturesShown());
    EXPECT_EQ(history.Count(1), 1);
    EXPECT_EQ(panes.texts,
              (std::vector<std::pair<int, std::string>>{{0, "Loading textures..."}, {0, ""}}));
    EXPECT_EQ(mesh.color, 0xFFFFFFu); // textured solids are drawn white
    ASSERT_NE(mesh.faces[0]->texture, nullptr);
    EXPECT_EQ(mesh.faces[0]->coords.size(), 4u);
    EXPECT_EQ(mesh.faces[2]->color, 0xDC0000u);
    EXPECT_TRUE(notShown->Face(0).TextureCoordinates().empty());

    // A texture name set while shown textured is projected at once.
    shown->Face(1).SetTextureName("wall");
    EXPECT_EQ(mesh.faces[1]->textureCalls, 2);

    world.ShowTextures(false);
    EXPECT_FALSE(world.TexturesShown());
    EXPECT_EQ(mesh.clearTextures, 1);
    EXPECT_EQ(mesh.faces[0]->texture, nullptr);
    EXPECT_EQ(mesh.color, shown->GetColor());
    EXPECT_EQ(mesh.faces[2]->color, 0xDC0000u);
}

TEST_F(MapWorldTest, TreeWalkIsPreOrderAndStopsOnRequest) {
    CMapWorld world;
    auto* group = new CMapGroup;
    CMapSolid* a = Cube({0, 0, 0}, {8, 8, 8});
    CMapSolid* b = Cube({0, 0, 0}, {8, 8, 8});
    CMapSolid* c = Cube({0, 0, 0}, {8, 8, 8});
    group->AddChild(a);
    group->AddChild(b);
    world.AddChild(group);
    world.AddChild(c);

    std::vector<CMapClass*> seen;
    EXPECT_TRUE(EnumChildren(world, [&seen](CMapClass* o) {
        seen.push_back(o);
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<CMapClass*>{group, a, b, c}));

    seen.clear();
    EXPECT_FALSE(EnumChildren(
        world,
        [&seen](CMapClass* o) {
            seen.push_back(o);
            return seen.size() < 2;
        },
        kTypeMapSolid));
    EXPECT_EQ(seen, (std::vector<CMapClass*>{a, b}));
}

TEST_F(MapWorldTest, GroupDescriptionAndClone) {
    CMapGroup group;
    group.AddChild(new CMapSolid);
    group.AddChild(new CMapSolid);
    group.SetRenderState(RENDER_SET_COLOR, 0x010203);
    EXPECT_EQ(group.GetDescription(), "group of 2 objects");
    EXPECT_EQ(group.GetSize(), 96);
    std::unique_ptr<CMapClass> copy(group.Clone());
    EXPECT_TRUE(copy->IsType(kTypeMapGroup));
    EXPECT_TRUE(copy->Children().empty());
    EXPECT_EQ(copy->GetColor(), 0x010203u);
    EXPECT_EQ(history.Count(4), 1);
}

TEST_F(MapWorldTest, DeeplyNestedGroupsAreWalkedWithoutRecursion) {
    CMapWorld world;
    CMapClass* parent = &world;
    for (int i = 0; i < 50000; ++i) {
        auto* group = new CMapGroup;
        parent->AddChild(group);
        parent = group;
    }
    int count = 0;
    EnumChildren(world, [&count](CMapClass*) {
        ++count;
        return true;
    });
    EXPECT_EQ(count, 50000);
    // Take the chain apart from the bottom, so destruction does not recurse either.
    while (parent != &world) {
        CMapClass* up = parent->Parent();
        up->RemoveChild(parent, false);
        delete parent;
        parent = up;
    }
}

} // namespace
