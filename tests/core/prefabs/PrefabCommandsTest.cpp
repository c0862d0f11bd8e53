#include "PrefabTestSupport.h"

#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "prefabs/PrefabCommands.h"
#include "support/FakeViews.h"

namespace {

class PrefabCommandsTest : public PrefabTest {
protected:
    FakeMainFrame frame;
    void SetUp() override {
        PrefabTest::SetUp();
        context.Context().mainFrame = &frame;
    }
    CPrefabLibrary& Library() { return *Registry().LoadDefaultLibrary(); }
};

TEST_F(PrefabCommandsTest, OneObjectIsInsertedAsItselfAtThePastePoint) {
    CPrefab* prefab = AddPrefab(Library(), "one", BoxesMap(1, 100));
    CMapDoc doc;
    FakeView top(false, 0, 1, Vector{512, -256, 0});
    doc.AddView(&top);
    CMapClass* inserted = InsertPrefab(doc, prefab);
    ASSERT_NE(inserted, nullptr);
    EXPECT_TRUE(inserted->IsType(kTypeMapSolid));
    EXPECT_EQ(inserted->Parent(), doc.World());
    // Same size, centred on the paste point (z stays 0 with only a top view).
    EXPECT_EQ(inserted->Bounds().Size(), (Vector{16, 16, 16}));
    EXPECT_EQ(inserted->Bounds().Center(), (Vector{512, -256, 0}));
    EXPECT_EQ(doc.SelectedObjects(), std::vector<CMapClass*>{inserted});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(top.updates.back(), UPDATE_OBJECTS);
    EXPECT_EQ(doc.UndoHistory().CurrentName(), "Insert Prefab");
    // The prefab's own map is untouched.
    EXPECT_EQ(prefab->Map()->Children().front()->Bounds().mins.x, 100.0f);

    doc.OnUndo();
    EXPECT_TRUE(doc.World()->Children().empty());
    doc.OnRedo();
    EXPECT_EQ(doc.World()->Children().size(), 1u);
}

TEST_F(PrefabCommandsTest, SeveralObjectsAreInsertedAsOneGroup) {
    auto map = BoxesMap(2);
    auto* entity = new CMapEntity;
    entity->SetClass("info_player_start");
    entity->SetPointEntity(true);
    entity->SetOrigin({8, 8, 40});
    map->AddChild(entity);
    map->CalcBounds(false);
    CPrefab* prefab = AddPrefab(Library(), "three", std::move(map));
    CMapDoc doc;
    CMapClass* inserted = InsertPrefab(doc, prefab);
    ASSERT_NE(inserted, nullptr);
    EXPECT_TRUE(inserted->IsType(kTypeMapGroup));
    ASSERT_EQ(inserted->Children().size(), 3u);
    EXPECT_EQ(doc.World()->Children().size(), 1u);
    EXPECT_EQ(inserted->Bounds().Center(), (Vector{0, 0, 0}));
    doc.OnUndo();
    EXPECT_TRUE(doc.World()->Children().empty());
}

TEST_F(PrefabCommandsTest, InstancesAreScaledAndMovedIntoTheBox) {
    CPrefab* prefab = AddPrefab(Library(), "two", BoxesMap(2)); // 0..48 x 0..16 x 0..16
    BoundBox box;
    box.mins = {100, 100, 100};
    box.maxs = {196, 132, 108};
    std::unique_ptr<CMapClass> object(prefab->CreateInBox(box));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->Bounds(), box);
    const CMapClass* second = *std::next(object->Children().begin());
    EXPECT_EQ(second->Bounds().mins, (Vector{164, 100, 100}));
}

TEST_F(PrefabCommandsTest, NothingIsInsertedWithoutAPrefabOrAMap) {
    CMapDoc doc;
    EXPECT_EQ(InsertPrefab(doc, nullptr), nullptr);
    auto prefab = std::make_unique<CPrefab>();
    CPrefab* lost = Library().AddPrefab(std::move(prefab));
    EXPECT_EQ(InsertPrefab(doc, lost), nullptr);
    CPrefab* empty = AddPrefab(Library(), "empty", std::make_unique<CMapWorld>());
    EXPECT_EQ(InsertPrefab(doc, empty), nullptr);
    EXPECT_TRUE(doc.World()->Children().empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(PrefabCommandsTest, InsertedObjectGetsTheDefaultVisGroups) {
    std::vector<CMapClass*> given;
    context.Context().applyDefaultVisGroups = [&given](CMapClass& object) {
        given.push_back(&object);
    };
    CMapDoc doc;
    CMapClass* inserted = InsertPrefab(doc, AddPrefab(Library(), "one", BoxesMap(1)));
    EXPECT_EQ(given, std::vector<CMapClass*>{inserted});
}

TEST_F(PrefabCommandsTest, CreatePrefabStoresCopiesOfTheSelectionAndSavesTheLibrary) {
    CMapDoc doc;
    CMapClass* a = Box({0, 0, 0}, {16, 16, 16});
    CMapClass* b = Box({64, 0, 0}, {80, 16, 16});
    doc.World()->AddChild(a);
    doc.World()->AddChild(b);
    int refreshed = 0;
    Registry().librariesChanged = [&refreshed] { ++refreshed; };
    EXPECT_EQ(CreatePrefab(doc, "pair", "two boxes", Library()), nullptr);

    doc.SelectObject(a, SELECT_ADD);
    doc.SelectObject(b, SELECT_ADD);
    const std::size_t tracks = doc.UndoHistory().TrackCount();
    CPrefab* prefab = CreatePrefab(doc, "pair", "two boxes", Library());
    ASSERT_NE(prefab, nullptr);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(doc.UndoHistory().TrackCount(), tracks);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(prefab->Name(), "pair");
    EXPECT_EQ(prefab->Notes(), "two boxes");
    EXPECT_EQ(Registry().Cache().front(), prefab);
    ASSERT_EQ(prefab->Map()->Children().size(), 2u);
    EXPECT_NE(prefab->Map()->Children().front(), a);
    EXPECT_EQ(prefab->Map()->Children().back()->Bounds().mins.x, 64.0f);
    EXPECT_EQ(doc.World()->Children().size(), 2u);

    CPrefabLibrary reread;
    ASSERT_EQ(reread.Load(Library().Path()), 1);
    ASSERT_EQ(reread.PrefabCount(), 1);
    EXPECT_EQ(reread.Prefabs()[0]->Name(), "pair");
}

} // namespace
