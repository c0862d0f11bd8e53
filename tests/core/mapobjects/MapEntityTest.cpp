#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/SolidBuilders.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

namespace {

class MapEntityTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    FakeEntityClasses classes;

    void SetUp() override {
        context.Context().SetActiveHistory(&history);
        context.Context().entityClasses = &classes;
        EntityClassDef& start = classes.Add("info_player_start");
        start.boxMin = {-16, -16, -24};
        start.boxMax = {16, 16, 32};
        start.color = 0x00FF00u | 0x20u; // red 0x20 in the low byte, green 0xFF
        classes.Add("func_door").isSolid = true;
    }

    static std::unique_ptr<CMapEntity> PointEntity(const Vector& origin) {
        auto entity = std::make_unique<CMapEntity>();
        entity->SetPointEntity(true);
        entity->SetOrigin(origin);
        return entity;
    }
};

TEST_F(MapEntityTest, PointEntityBoundsFollowItsClass) {
    auto entity = PointEntity({100, 50, 10});
    EXPECT_EQ(entity->Bounds().mins, Vector(90, 40, 0));
    EXPECT_EQ(entity->Bounds().maxs, Vector(110, 60, 20));
    const std::uint32_t before = entity->GetColor();

    entity->SetClass("info_player_start");
    EXPECT_EQ(entity->Bounds().mins, Vector(84, 34, -14));
    EXPECT_EQ(entity->Bounds().maxs, Vector(116, 66, 42));
    EXPECT_NE(entity->GetColor(), before);
    EXPECT_EQ(entity->GetColor(), 0x20FF00u);
    EXPECT_EQ(entity->GetDescription(), "info_player_start");
    EXPECT_FALSE(entity->IsScalable());
    EXPECT_FALSE(entity->HasTexturedFaces());
    EXPECT_EQ(entity->GetSize(), 220);
}

TEST_F(MapEntityTest, TheSameClassNameAgainChangesNothing) {
    auto entity = PointEntity({0, 0, 0});
    entity->SetClass("info_player_start");
    entity->SetRenderState(RENDER_SET_COLOR, 0x123456);
    entity->SetBounds(MakeBox({1, 1, 1}, {2, 2, 2}));
    history.entries.clear();
    entity->SetClass("info_player_start");
    EXPECT_EQ(entity->GetColor(), 0x123456u);
    EXPECT_EQ(entity->Bounds(), MakeBox({1, 1, 1}, {2, 2, 2}));
    EXPECT_EQ(history.Count(1), 1); // recorded all the same

    // Class names compare with case: another spelling is another (unknown) class.
    entity->SetClass("Info_Player_Start");
    EXPECT_EQ(entity->GameClass(), nullptr);
    EXPECT_EQ(entity->ClassName(), "Info_Player_Start");
    EXPECT_EQ(entity->GetColor(), 0x123456u);
}

TEST_F(MapEntityTest, SolidEntitiesIgnoreOrigins) {
    CMapEntity entity;
    entity.SetClass("func_door");
    entity.SetOrigin({500, 500, 500});
    EXPECT_EQ(entity.Origin(), Vector(0, 0, 0));
    EXPECT_TRUE(entity.Bounds().IsEmpty());
    EXPECT_TRUE(entity.IsScalable());
    EXPECT_TRUE(entity.HasTexturedFaces());
}

TEST_F(MapEntityTest, PointEntityTransformationsMoveTheOrigin) {
    auto entity = PointEntity({10, 20, 30});
    entity->TransMove({5, 5, 5});
    EXPECT_EQ(entity->Origin(), Vector(15, 25, 35));
    EXPECT_TRUE(entity->NeedsRebuild());
    EXPECT_EQ(entity->Bounds().mins, Vector(5, 15, 25));

    entity->TransScale({5, 5, 5}, {2, 1, 0.5f});
    EXPECT_EQ(entity->Origin(), Vector(25, 25, 20));

    entity->TransFlip({0, 99999, 10});
    EXPECT_EQ(entity->Origin(), Vector(-25, 25, 0));

    entity->TransRotate({0, 0, 0}, {0, 0, 90});
    EXPECT_EQ(entity->Origin(), Vector(-25, -25, 0));
    EXPECT_EQ(entity->Bounds().maxs, Vector(-15, -15, 10));

    struct Lift : PointTransform {
        void TransformPoint(Vector& p) const override { p.z += 64; }
    };
    entity->TransformByTool(Lift{});
    EXPECT_EQ(entity->Origin(), Vector(-25, -25, 64));
    EXPECT_EQ(entity->Bounds().mins, Vector(-35, -35, 54));
}

TEST_F(MapEntityTest, RotatingASolidEntityTurnsItsSolids) {
    CMapWorld world;
    auto* entity = new CMapEntity;
    entity->SetClass("func_door");
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 32, 16});
    ASSERT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    entity->AddChild(solid);
    world.AddChild(entity);
    history.entries.clear();

    entity->TransRotate({0, 0, 0}, {0, 0, 90});
    EXPECT_EQ(solid->Bounds().mins, Vector(-32, 0, 0));
    EXPECT_EQ(solid->Bounds().maxs, Vector(0, 64, 16));
    EXPECT_EQ(entity->Bounds(), solid->Bounds());
    EXPECT_EQ(history.entries.front().object, entity);
    EXPECT_GE(history.Count(1), 2);
}

TEST_F(MapEntityTest, CloneCopiesKeyvaluesOriginAndFlagsWithoutRecordingChanges) {
    auto entity = PointEntity({8, 8, 8});
    entity->SetClass("info_player_start");
    entity->SetAngle(90);
    entity->SetSpawnFlags(3);
    entity->SetKeyValue("target", std::string("t1"));
    entity->SetReserved(0);
    history.entries.clear();

    std::unique_ptr<CMapClass> copy(entity->Clone());
    auto* clone = dynamic_cast<CMapEntity*>(copy.get());
    ASSERT_NE(clone, nullptr);
    ASSERT_EQ(history.entries.size(), 1u);
    EXPECT_EQ(history.entries[0].kind, 4);
    EXPECT_EQ(clone->ClassName(), "info_player_start");
    EXPECT_EQ(clone->GameClass(), entity->GameClass());
    EXPECT_EQ(clone->Angle(), 90);
    EXPECT_EQ(clone->SpawnFlags(), 3u);
    EXPECT_EQ(clone->GetKeyValue("TARGET")->first, "t1");
    EXPECT_TRUE(clone->IsPointEntity());
    EXPECT_EQ(clone->Origin(), Vector(8, 8, 8));
    EXPECT_EQ(clone->Bounds(), entity->Bounds());
    EXPECT_EQ(clone->GetColor(), entity->GetColor());
    EXPECT_TRUE(clone->NeedsRebuild());
}

TEST_F(MapEntityTest, ObjectMemoryCountsLiveEntities) {
    const auto start = context.Context().objectMemory;
    {
        CMapEntity a;
        CMapEntity b;
        EXPECT_EQ(context.Context().objectMemory, start + 440);
    }
    EXPECT_EQ(context.Context().objectMemory, start);
}

TEST_F(MapEntityTest, PointEntityIsShownAsABoxInItsClassColour) {
    auto unknown = PointEntity({0, 0, 0});
    FakeRenderFrame frame;
    ASSERT_TRUE(unknown->BuildRenderObjects(frame, true));
    ASSERT_EQ(frame.meshes.size(), 1u);
    EXPECT_EQ(frame.meshes[0]->polygons, 6);
    EXPECT_EQ(frame.meshes[0]->owner, unknown.get());
    EXPECT_EQ(frame.meshes[0]->color, (180u << 16) | 220u);
    ASSERT_NE(unknown->DisplayBox(), nullptr);
    EXPECT_EQ(unknown->DisplayBox()->Bounds(), unknown->Bounds());

    auto start = PointEntity({0, 0, 0});
    start->SetClass("info_player_start");
    ASSERT_TRUE(start->BuildRenderObjects(frame, true));
    EXPECT_EQ(frame.meshes.back()->color, 0x20FF00u);
    EXPECT_FALSE(start->NeedsRebuild());
}

} // namespace
