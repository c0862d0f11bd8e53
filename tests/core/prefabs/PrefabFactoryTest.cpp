#include "PrefabTestSupport.h"

#include "document/MapDoc.h"
#include "prefabs/PrefabFactory.h"

namespace {

class PrefabFactoryTest : public PrefabTest {
protected:
    CPrefabLibrary* unreg = nullptr;
    void SetUp() override {
        PrefabTest::SetUp();
        unreg = Registry().LoadDefaultLibrary();
    }
};

TEST_F(PrefabFactoryTest, AddLibraryChecksTheNameAndNeverTakesAnExistingFile) {
    PrefabFactory factory;
    EXPECT_EQ(factory.SelectedLibrary(), unreg);
    prompts.answers = {Prompts::Answer::Ok, Prompts::Answer::Cancel};
    EXPECT_EQ(factory.AddLibrary("bad.name", ""), PrefabFactory::Result::AskAgain);
    EXPECT_EQ(factory.AddLibrary("bad\\name", ""), PrefabFactory::Result::Cancelled);
    WriteBytes(PrefabDir() + "/taken.ol", "keep me");
    EXPECT_EQ(factory.AddLibrary("taken", ""), PrefabFactory::Result::AskAgain);
    EXPECT_EQ(ReadBytes(PrefabDir() + "/taken.ol"), "keep me");
    EXPECT_EQ(Registry().Libraries().size(), 1u);

    ASSERT_EQ(factory.AddLibrary("My Stuff (2)", "mine"), PrefabFactory::Result::Done);
    CPrefabLibrary* mine = factory.SelectedLibrary();
    ASSERT_NE(mine, unreg);
    EXPECT_EQ(mine->Name(), "My Stuff (2)");
    EXPECT_EQ(mine->Description(), "mine");
    EXPECT_EQ(mine->Path(), PrefabDir() + "/My Stuff (2).ol");
    EXPECT_TRUE(factory.Changed());
    // Another library of the same name would share its file.
    EXPECT_EQ(factory.AddLibrary("My Stuff (2)", ""), PrefabFactory::Result::AskAgain);
    // Changing the selection saves the changed library.
    factory.SelectLibrary(unreg->Id());
    EXPECT_FALSE(factory.Changed());
    EXPECT_TRUE(std::filesystem::exists(mine->Path()));
}

TEST_F(PrefabFactoryTest, EditLibraryRenamesTheFileAndTakesTheDescription) {
    AddPrefab(*unreg, "a", BoxesMap(1));
    ASSERT_EQ(unreg->Save(), 0);
    PrefabFactory factory;
    ASSERT_EQ(factory.EditLibrary("general", "all sorts"), PrefabFactory::Result::Done);
    EXPECT_EQ(unreg->Path(), PrefabDir() + "/general.ol");
    EXPECT_FALSE(std::filesystem::exists(PrefabDir() + "/unreg.ol"));
    factory.Close();
    CPrefabLibrary reread;
    ASSERT_EQ(reread.Load(PrefabDir() + "/general.ol"), 1);
    EXPECT_EQ(reread.Description(), "all sorts");
    // Keeping the name is no clash with its own file.
    EXPECT_EQ(factory.EditLibrary("general", "again"), PrefabFactory::Result::Done);
}

TEST_F(PrefabFactoryTest, RemovingALibraryAsksThenDeletesItsFile) {
    ASSERT_EQ(unreg->Save(), 0);
    PrefabFactory factory;
    ASSERT_EQ(factory.AddLibrary("second", ""), PrefabFactory::Result::Done);
    factory.SelectLibrary(unreg->Id());
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    EXPECT_FALSE(factory.RemoveLibrary());
    EXPECT_TRUE(std::filesystem::exists(PrefabDir() + "/unreg.ol"));
    EXPECT_TRUE(factory.RemoveLibrary());
    EXPECT_EQ(prompts.shown.back().text,
              "Are you sure you want to delete this library from\nyour hard drive?");
    EXPECT_FALSE(std::filesystem::exists(PrefabDir() + "/unreg.ol"));
    ASSERT_EQ(Registry().Libraries().size(), 1u);
    EXPECT_EQ(factory.SelectedLibrary()->Name(), "second");
}

TEST_F(PrefabFactoryTest, RemovingPrefabsAsksOnceAndSavesTheLibrary) {
    CPrefab* a = AddPrefab(*unreg, "a", BoxesMap(1));
    CPrefab* b = AddPrefab(*unreg, "b", BoxesMap(1));
    AddPrefab(*unreg, "c", BoxesMap(1));
    PrefabFactory factory;
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(factory.RemovePrefabs({a->Id(), b->Id()}));
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Are you sure you want to delete these items?");
    ASSERT_EQ(unreg->PrefabCount(), 1);
    CPrefabLibrary reread;
    ASSERT_EQ(reread.Load(unreg->Path()), 1);
    ASSERT_EQ(reread.PrefabCount(), 1);
    EXPECT_EQ(reread.Prefabs()[0]->Name(), "c");
}

TEST_F(PrefabFactoryTest, PrefabEditsMarkTheLibraryChangedAndCloseSavesIt) {
    CPrefab* a = AddPrefab(*unreg, "a", BoxesMap(1));
    ASSERT_EQ(unreg->Save(), 0);
    PrefabFactory factory;
    prompts.answers = {Prompts::Answer::Cancel};
    EXPECT_EQ(factory.EditPrefab(*a, "no.dots", "x"), PrefabFactory::Result::Cancelled);
    EXPECT_EQ(a->Name(), "a");
    EXPECT_EQ(factory.EditPrefab(*a, "Arch", std::string(600, 'n')), PrefabFactory::Result::Done);
    EXPECT_EQ(a->Notes().size(), 500u);
    factory.RenamePrefab(*a, std::string(35, 'L'));
    EXPECT_EQ(a->Name(), std::string(30, 'L'));
    EXPECT_TRUE(factory.Changed());
    factory.Close();
    CPrefabLibrary reread;
    ASSERT_EQ(reread.Load(unreg->Path()), 1);
    EXPECT_EQ(reread.Prefabs()[0]->Name(), std::string(30, 'L'));
}

TEST_F(PrefabFactoryTest, PrefabDataSavesAChangedLibraryAndOpensAPrefabDocument) {
    CPrefab* a = AddPrefab(*unreg, "a", BoxesMap(2));
    PrefabFactory factory;
    factory.SetChanged();
    CMapDoc doc;
    ASSERT_TRUE(factory.OpenPrefabData(*a, doc));
    EXPECT_TRUE(std::filesystem::exists(unreg->Path()));
    EXPECT_TRUE(doc.IsPrefabDocument());
    EXPECT_EQ(doc.World()->Children().size(), 2u);
}

} // namespace
