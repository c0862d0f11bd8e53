#include "properties/PropertiesApply.h"
#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "properties/ClassInfoState.h"
#include "properties/SpawnFlagsState.h"
#include "properties/VisGroupRows.h"
#include "support/FakeViews.h"
#include "support/PropertiesGameData.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Check = VisGroupRows::Check;

VisGroupIds Ids(std::initializer_list<std::uint8_t> ids) {
    VisGroupIds result{};
    std::size_t i = 0;
    for (std::uint8_t id : ids) {
        result[i++] = id;
    }
    return result;
}

std::vector<VisGroup> Groups(std::initializer_list<std::uint8_t> ids) {
    std::vector<VisGroup> groups;
    for (std::uint8_t id : ids) {
        groups.push_back(VisGroup{"g" + std::to_string(id), 0x102030u * id, id, true});
    }
    return groups;
}

TEST(VisGroupRowsTest, OneObjectLoadsTwoStatesAndItsFirstGroupAsTheDefault) {
    VisGroupRows rows;
    rows.Refill(Groups({1, 3, 7}));
    rows.Load(Ids({7, 1}));
    EXPECT_EQ(rows.CheckAt(0), Check::On);
    EXPECT_EQ(rows.CheckAt(1), Check::Off);
    EXPECT_EQ(rows.CheckAt(2), Check::On);
    EXPECT_EQ(rows.DefaultRow(), 2);
    // Writing what was loaded changes nothing.
    EXPECT_EQ(rows.Write(Ids({7, 1})), Ids({7, 1}));

    rows.SetCheck(1, Check::On);
    rows.SetDefaultRow(1);
    rows.SetCheck(0, Check::Off);
    EXPECT_EQ(rows.Write(Ids({7, 1})), Ids({3, 7}));
}

TEST(VisGroupRowsTest, SeveralObjectsShowDifferencesAsMixedAndLeaveThemAlone) {
    VisGroupRows rows;
    rows.Refill(Groups({1, 3}));
    rows.Load(Ids({3, 1}));
    rows.Merge(Ids({1}));
    EXPECT_EQ(rows.CheckAt(0), Check::On);
    EXPECT_EQ(rows.CheckAt(1), Check::Mixed);
    EXPECT_EQ(rows.DefaultRow(), -1);
    EXPECT_EQ(rows.Write(Ids({3, 1})), Ids({3, 1}));
    EXPECT_EQ(rows.Write(Ids({1})), Ids({1}));
    // Refilling (after the groups were edited) forgets the checks until loaded again.
    rows.Refill(Groups({1, 3, 5}));
    EXPECT_EQ(rows.CheckAt(0), Check::Off);
}

TEST(VisGroupRowsTest, ChangeVisGroupIdsDoesWhatAnObjectDoes) {
    ScopedEditorContext scoped;
    std::mt19937 random(7);
    CMapSolid solid;
    VisGroupIds ids{};
    for (int step = 0; step < 2000; ++step) {
        const auto id = static_cast<std::uint8_t>(1 + random() % 10);
        const int mode = static_cast<int>(random() % 3);
        solid.ChangeVisGroup(id, mode);
        ids = ChangeVisGroupIds(ids, id, mode);
        ASSERT_EQ(ids, solid.OwnVisGroups()) << "step " << step;
    }
}

TEST(SelectionKindTest, PagesFollowWhatIsSelected) {
    ScopedEditorContext scoped;
    CMapWorld world;
    CMapEntity entity;
    CMapSolid solid;
    using P = PropertyPage;
    EXPECT_EQ(PagesFor(SelectionKindOf({})), std::vector<P>{P::NoProperties});
    EXPECT_EQ(PagesFor(SelectionKindOf({&entity})),
              (std::vector<P>{P::ClassInfo, P::Flags, P::VisGroups}));
    EXPECT_EQ(PagesFor(SelectionKindOf({&world})), std::vector<P>{P::ClassInfo});
    EXPECT_EQ(PagesFor(SelectionKindOf({&solid})), std::vector<P>{P::VisGroups});
    EXPECT_EQ(PagesFor(SelectionKindOf({&entity, &solid})), std::vector<P>{P::VisGroups});
    EXPECT_EQ(GameClassPart(&solid), nullptr);
    EXPECT_EQ(GameClassPart(&entity), static_cast<CEditGameClass*>(&entity));
}

class PropertiesApplyTest : public ::testing::Test {
protected:
    ScopedEditorContext scoped;
    ScriptedPrompts prompts;
    FakeStatusPanes panes;
    FakeMainFrame frame;
    PropertiesGameData data{scoped.Context()};
    std::unique_ptr<CMapDoc> doc;
    CMapEntity* light = nullptr;

    void SetUp() override {
        ASSERT_TRUE(data.loaded);
        scoped.Context().SetPrompts(&prompts);
        scoped.Context().statusPanes = &panes;
        scoped.Context().mainFrame = &frame;
        doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        light = new CMapEntity;
        light->SetPointEntity(true);
        light->SetClass("light");
        light->SetKeyValue("light", "200");
        light->SetOrigin({0, 0, 0});
        doc->World()->AddChild(light);
        doc->SetModified(false);
    }
    void TearDown() override { doc.reset(); }

    std::string Value(const std::string& key) {
        auto value = light->GetKeyValue(key);
        return value ? value->first : "<none>";
    }
};

TEST_F(PropertiesApplyTest, AKeyEditIsOneUndoStepThatUndoTakesBack) {
    ClassInfoState page;
    page.Load(*light, &data.set);
    page.SetRowValue(1, "450"); // Brightness
    const std::size_t tracksBefore = doc->UndoHistory().TrackCount();
    EXPECT_EQ(ApplyObjectProperties(*doc, {light}, {&page, nullptr, nullptr}), 1);
    EXPECT_EQ(Value("light"), "450");
    EXPECT_EQ(Value("style"), "0"); // the default came along
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoHistory().TrackCount(), tracksBefore + 1);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Properties");

    doc->OnUndo();
    EXPECT_EQ(Value("light"), "200");
    EXPECT_EQ(Value("style"), "<none>");
    doc->OnRedo();
    EXPECT_EQ(Value("light"), "450");
}

TEST_F(PropertiesApplyTest, ApplyingWhatIsAlreadyThereRecordsNothing) {
    light->SetKeyValue("style", "0");
    light->SetKeyValue("targetname", "lamp");
    ClassInfoState page;
    page.Load(*light, &data.set);
    SpawnFlagsState flags;
    flags.Load(*light);
    VisGroupRows rows;
    rows.Refill(doc->World()->VisGroups());
    rows.Load(light->GetVisGroups());
    const std::size_t tracksBefore = doc->UndoHistory().TrackCount();
    EXPECT_EQ(ApplyObjectProperties(*doc, {light}, {&page, &flags, &rows}), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->UndoHistory().TrackCount(), tracksBefore);
}

TEST_F(PropertiesApplyTest, MixedVisGroupsOfTwoObjectsStayAsTheyWere) {
    CMapWorld& world = *doc->World();
    for (std::uint8_t id : {3, 5}) {
        world.AddVisGroup(VisGroup{"g", 0x00FF00u, id, true});
    }
    world.RebuildVisGroupIndex();
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {64, 0, 0}, {128, 64, 64});
    ASSERT_TRUE(solid->CreateFromPlanes());
    world.AddChild(solid);
    light->SetVisGroups(Ids({3}));
    solid->SetVisGroups(Ids({5}));

    VisGroupRows rows;
    rows.Refill(world.VisGroups());
    rows.LoadObjects({light, solid});
    EXPECT_EQ(rows.CheckAt(0), Check::Mixed);
    EXPECT_EQ(rows.CheckAt(1), Check::Mixed);
    EXPECT_EQ(ApplyObjectProperties(*doc, {light, solid}, {nullptr, nullptr, &rows}), 0);
    EXPECT_EQ(light->OwnVisGroups(), Ids({3}));
    EXPECT_EQ(solid->OwnVisGroups(), Ids({5}));

    rows.SetCheck(1, Check::On);
    EXPECT_EQ(ApplyObjectProperties(*doc, {light, solid}, {nullptr, nullptr, &rows}), 1);
    EXPECT_EQ(light->OwnVisGroups(), Ids({3, 5}));
    EXPECT_EQ(solid->OwnVisGroups(), Ids({5}));
    doc->OnUndo();
    EXPECT_EQ(light->OwnVisGroups(), Ids({3}));
}

TEST_F(PropertiesApplyTest, AClassChangeMovesTheEntityToTheNewClassAndFlagsFollow) {
    ClassInfoState page;
    page.Load(*light, &data.set);
    page.SetClassText("info_player_start");
    SpawnFlagsState flags;
    flags.Load(*light);
    flags.SetChecked(0, true);
    EXPECT_EQ(ApplyObjectProperties(*doc, {light}, {&page, &flags, nullptr}), 1);
    EXPECT_EQ(light->ClassName(), "info_player_start");
    EXPECT_EQ(light->GameClass(), data.set.FindClass("info_player_start"));
    EXPECT_EQ(light->SpawnFlags(), 1u);
    doc->OnUndo();
    EXPECT_EQ(light->ClassName(), "light");
    EXPECT_EQ(light->SpawnFlags(), 0u);
}

TEST_F(PropertiesApplyTest, TheWorldsKeyvaluesAreEditedAndUndone) {
    CMapWorld& world = *doc->World();
    world.SetClass("worldspawn");
    ClassInfoState page;
    page.Load(world, &data.set);
    page.SetRowValue(0, "The Slipgate");
    EXPECT_EQ(ApplyObjectProperties(*doc, {&world}, {&page, nullptr, nullptr}), 1);
    ASSERT_TRUE(world.GetKeyValue("message"));
    EXPECT_EQ(world.GetKeyValue("message")->first, "The Slipgate");
    doc->OnUndo();
    EXPECT_FALSE(world.GetKeyValue("message"));
}

} // namespace
