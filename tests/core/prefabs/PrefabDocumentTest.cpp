#include "PrefabTestSupport.h"

#include "document/MapDoc.h"
#include "mapobjects/MapGroup.h"
#include "prefabs/PrefabDocument.h"
#include "support/FakeViews.h"

namespace {

class PrefabDocumentTest : public PrefabDocumentFixture {};

TEST_F(PrefabDocumentTest, OpeningCopiesThePrefabsObjectsAndNamesTheDocument) {
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    EXPECT_TRUE(doc.IsPrefabDocument());
    EXPECT_EQ(doc.PrefabId(), prefab->Id());
    EXPECT_EQ(doc.PrefabLibraryId(), library->Id());
    EXPECT_EQ(doc.Path(), "b");
    EXPECT_EQ(doc.Title(), "b");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.SaveMenuText(), "Update Prefab\tCtrl+S");
    ASSERT_EQ(doc.World()->Children().size(), 2u);
    EXPECT_NE(doc.World()->Children().front(), prefab->Map()->Children().front());
    EXPECT_EQ(doc.World()->VisibleObjects().size(), 2u);
    EXPECT_FALSE(doc.UndoHistory().CanUndo());
}

TEST_F(PrefabDocumentTest, UpdatePrefabStoresTheMapIntoTheLibraryAndAsksToClose) {
    const std::string before = ReadBytes(library->Path());
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    int closeRequests = 0;
    doc.closeRequested = [&closeRequests] { ++closeRequests; };
    AddBox(doc);
    ASSERT_TRUE(doc.SaveDocument(doc.Path())); // whatever the path: into the library
    EXPECT_EQ(closeRequests, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(prefab->Map()->Children().size(), 3u);
    // The document keeps its own world; the prefab has a copy.
    EXPECT_EQ(doc.World()->Children().size(), 3u);
    EXPECT_NE(prefab->Map()->Children().front(), doc.World()->Children().front());

    CPrefabLibrary reread;
    ASSERT_EQ(reread.Load(library->Path()), 1);
    ASSERT_EQ(reread.PrefabCount(), 3);
    EXPECT_EQ(reread.Prefabs()[1]->Name(), "b");
    EXPECT_NE(ReadBytes(library->Path()), before);
    CPrefabLibrary* fresh = Registry().LoadLibrary(library->Path());
    ASSERT_TRUE(fresh->Prefabs()[1]->EnsureLoaded());
    EXPECT_EQ(fresh->Prefabs()[1]->Map()->Children().size(), 3u);
}

TEST_F(PrefabDocumentTest, ARemovedPrefabIsStoredAsANewOne) {
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    library->RemovePrefab(prefab->Id()).reset();
    AddBox(doc);
    ASSERT_TRUE(doc.UpdatePrefab());
    ASSERT_EQ(library->PrefabCount(), 3);
    CPrefab* stored = library->Prefabs()[2].get();
    EXPECT_EQ(stored->Name(), "b");
    EXPECT_EQ(doc.PrefabId(), stored->Id());
    EXPECT_EQ(stored->Map()->Children().size(), 3u);
}

TEST_F(PrefabDocumentTest, ADeletedLibraryTurnsTheDocumentIntoAnOrdinaryOne) {
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    int closeRequests = 0;
    doc.closeRequested = [&closeRequests] { ++closeRequests; };
    Registry().DestroyLibrary(library->Id());
    AddBox(doc);
    EXPECT_FALSE(doc.SaveDocument(doc.Path()));
    EXPECT_EQ(closeRequests, 0);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The library this prefab object belongs to has been\ndeleted. This document will "
              "now behave as a regular file\ndocument.");
    EXPECT_FALSE(doc.IsPrefabDocument());
    EXPECT_EQ(doc.Path(), "Prefab1.rmf");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.World()->Children().size(), 3u);
    EXPECT_EQ(doc.SaveMenuText(), "&Save\tCtrl+S");
}

TEST_F(PrefabDocumentTest, ExportingAPrefabDocumentWritesAMapFileAndStoresNothing) {
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    AddBox(doc);
    const std::string before = ReadBytes(library->Path());
    const std::string out = (root / "b.map").string();
    ASSERT_TRUE(doc.ExportMap(out, false));
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(ReadBytes(library->Path()), before);
    EXPECT_TRUE(doc.IsPrefabDocument());
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
