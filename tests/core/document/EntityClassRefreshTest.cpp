#include "document/EntityClassRefresh.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

TEST(EntityClassRefreshTest, EntitiesReadBeforeTheGameDataFindTheirClassesLater) {
    ScopedEditorContext context;
    RecordingHistory history;
    context.Context().SetActiveHistory(&history);
    CMapWorld world;
    auto* light = new CMapEntity;
    light->SetPointEntity(true);
    light->SetClass("light");
    light->SetOrigin({100, 0, 0});
    world.AddChild(light);
    auto* unknown = new CMapEntity;
    unknown->SetPointEntity(true);
    unknown->SetClass("not_in_game_data");
    world.AddChild(unknown);
    world.CalcBounds(true);
    EXPECT_EQ(light->GameClass(), nullptr);
    EXPECT_EQ(light->Bounds().maxs.x, 110.0f);

    FakeEntityClasses classes;
    EntityClassDef& def = classes.Add("light");
    def.boxMin = {-4, -4, -4};
    def.boxMax = {4, 4, 4};
    def.hasSize = true;
    context.Context().entityClasses = &classes;
    const std::size_t recorded = history.entries.size();

    EXPECT_EQ(RefreshUnknownEntityClasses(world), 1);
    EXPECT_EQ(light->GameClass(), &def);
    EXPECT_EQ(light->Bounds().maxs.x, 104.0f);
    EXPECT_EQ(unknown->GameClass(), nullptr);
    EXPECT_EQ(history.entries.size(), recorded); // no undo records
    EXPECT_EQ(&context.Context().ActiveHistory(), &history);
    EXPECT_EQ(RefreshUnknownEntityClasses(world), 0);
}
