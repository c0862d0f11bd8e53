#include "PrefabTestSupport.h"

#include <cstdlib>

namespace {

class PrefabRegistryTest : public PrefabTest {};

TEST_F(PrefabRegistryTest, PrefabFolderIsBesideTheProgramWhenWritable) {
    EXPECT_EQ(PrefabDir(), (root / "prefabs").string());
    EXPECT_TRUE(std::filesystem::is_directory(root / "prefabs"));
}

// A program "folder" that is a file (nothing can be created below it) and a system-wide
// install below /usr (the package manager's, even for root) both use the user's data folder.
TEST_F(PrefabRegistryTest, PrefabFolderFallsBackToTheUserDataFolder) {
    const std::filesystem::path program = root / "program-file";
    WriteBytes(program, "x");
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    std::vector<std::string> dirs;
    for (const std::string& folder : {program.string(), std::string("/usr/share/brickhaven")}) {
        context.Context().programDirectory = folder;
        Registry().ResetPrefabDirectory();
        dirs.push_back(PrefabDir());
    }
    if (saved) {
        setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
    for (const std::string& dir : dirs) {
        EXPECT_EQ(dir, (root / "data" / "Brickhaven" / "prefabs").string());
        EXPECT_TRUE(std::filesystem::is_directory(dir));
    }
    EXPECT_FALSE(std::filesystem::exists("/usr/share/brickhaven/prefabs"));
}

TEST_F(PrefabRegistryTest, DefaultLibraryIsLoadedOnceAndStartsEmptyWithoutAFile) {
    CPrefabLibrary* first = Registry().LoadDefaultLibrary();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name(), "unreg");
    EXPECT_EQ(first->Path(), PrefabDir() + "/unreg.ol");
    EXPECT_FALSE(std::filesystem::exists(first->Path()));
    EXPECT_EQ(Registry().LoadDefaultLibrary(), first);
    EXPECT_EQ(Registry().Libraries().size(), 1u);

    AddPrefab(*first, "kept", BoxesMap(1));
    ASSERT_EQ(first->Save(), 0);
    Registry().DestroyLibrary(first->Id());
    CPrefabLibrary* loaded = Registry().LoadDefaultLibrary();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->PrefabCount(), 1);

    // A file of that name that is not a library is neither loaded nor replaced.
    Registry().DestroyLibrary(loaded->Id());
    WriteBytes(PrefabDir() + "/unreg.ol", "not a library");
    EXPECT_EQ(Registry().LoadDefaultLibrary(), nullptr);
    EXPECT_EQ(ReadBytes(PrefabDir() + "/unreg.ol"), "not a library");
}

TEST_F(PrefabRegistryTest, IdentifiersAreUniqueAndFindable) {
    CPrefabLibrary* one = Registry().LoadDefaultLibrary();
    CPrefabLibrary* two = Registry().AddLibrary(std::make_unique<CPrefabLibrary>());
    EXPECT_NE(one->Id(), two->Id());
    CPrefab* a = AddPrefab(*one, "a", BoxesMap(1));
    CPrefab* b = AddPrefab(*two, "b", BoxesMap(1));
    EXPECT_NE(a->Id(), b->Id());
    EXPECT_EQ(Registry().FindPrefab(b->Id()), b);
    EXPECT_EQ(Registry().FindLibrary(two->Id()), two);
    EXPECT_EQ(b->LibraryId(), two->Id());
    std::unique_ptr<CPrefab> removed = two->RemovePrefab(b->Id());
    ASSERT_EQ(removed.get(), b);
    EXPECT_EQ(removed->LibraryId(), CPrefab::kNoLibrary);
    EXPECT_EQ(Registry().FindPrefab(b->Id()), nullptr);
    EXPECT_EQ(two->RemovePrefab(b->Id()), nullptr);
}

TEST_F(PrefabRegistryTest, LoadCacheUnloadsTheOldestWhenFullAndCanBeSwitchedOff) {
    const std::string path = MakeLibraryFile();
    CPrefabLibrary* library = Registry().LoadLibrary(path);
    ASSERT_NE(library, nullptr);
    CPrefab* a = library->Prefabs()[0].get();
    CPrefab* b = library->Prefabs()[1].get();
    CPrefab* c = library->Prefabs()[2].get();
    Registry().cacheSize = 2;
    ASSERT_TRUE(a->EnsureLoaded());
    ASSERT_TRUE(b->EnsureLoaded());
    ASSERT_TRUE(a->EnsureLoaded()); // a to the front again
    ASSERT_TRUE(c->EnsureLoaded()); // b, at the end, goes
    EXPECT_TRUE(a->IsLoaded());
    EXPECT_FALSE(b->IsLoaded());
    EXPECT_TRUE(c->IsLoaded());
    EXPECT_EQ(Registry().Cache(), (std::list<CPrefab*>{c, a}));

    Registry().SetCacheEnabled(false);
    ASSERT_TRUE(b->EnsureLoaded());
    EXPECT_TRUE(a->IsLoaded());
    EXPECT_EQ(Registry().Cache().size(), 2u);
    Registry().SetCacheEnabled(true);

    // A changed map that the file does not hold yet is never dropped.
    c->SetMap(BoxesMap(5));
    Registry().UnloadAll();
    EXPECT_FALSE(a->IsLoaded());
    EXPECT_FALSE(b->IsLoaded());
    EXPECT_TRUE(c->IsLoaded());
    ASSERT_EQ(library->Save(), 0);
    EXPECT_TRUE(c->Unload());
    ASSERT_TRUE(c->EnsureLoaded());
    EXPECT_EQ(c->Map()->Children().size(), 5u);
}

TEST_F(PrefabRegistryTest, DestroyedPrefabsLeaveTheCache) {
    CPrefabLibrary* library = Registry().LoadLibrary(MakeLibraryFile());
    CPrefab* a = library->Prefabs()[0].get();
    ASSERT_TRUE(a->EnsureLoaded());
    EXPECT_EQ(Registry().Cache().size(), 1u);
    library->RemovePrefab(a->Id()).reset();
    EXPECT_TRUE(Registry().Cache().empty());
    ASSERT_TRUE(library->Prefabs()[0]->EnsureLoaded());
    Registry().DestroyLibrary(library->Id());
    EXPECT_TRUE(Registry().Cache().empty());
}

TEST_F(PrefabRegistryTest, RenameMovesTheFileButNeverOverAnExistingOne) {
    const std::string path = MakeLibraryFile("old");
    CPrefabLibrary* library = Registry().LoadLibrary(path);
    ASSERT_NE(library, nullptr);
    const std::string bytes = ReadBytes(path);
    WriteBytes(PrefabDir() + "/taken.ol", "someone else's");
    EXPECT_FALSE(library->Rename("taken"));
    EXPECT_TRUE(prompts.Showed("A file named taken.ol already exists in the prefab folder."));
    EXPECT_EQ(ReadBytes(PrefabDir() + "/taken.ol"), "someone else's");
    EXPECT_EQ(library->Path(), path);
    EXPECT_EQ(library->Name(), "old");

    ASSERT_TRUE(library->Rename("My Stuff (2)"));
    EXPECT_EQ(library->Name(), "My Stuff (2)");
    EXPECT_EQ(library->Path(), PrefabDir() + "/My Stuff (2).ol");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(ReadBytes(library->Path()), bytes);
    // The open file moved along: prefabs still load.
    ASSERT_TRUE(library->Prefabs()[1]->EnsureLoaded());

    // A library not written yet takes the name unless a file has it.
    CPrefabLibrary fresh;
    fresh.SetName("fresh");
    EXPECT_FALSE(fresh.Rename("taken"));
    EXPECT_TRUE(fresh.Rename("newer"));
    EXPECT_EQ(fresh.Path(), PrefabDir() + "/newer.ol");
}

TEST_F(PrefabRegistryTest, APrefabMovedToAnotherLibraryTakesItsLoadedMapAlong) {
    CPrefabLibrary* from = Registry().LoadLibrary(MakeLibraryFile("from"));
    CPrefabLibrary* to = Registry().AddLibrary(std::make_unique<CPrefabLibrary>());
    to->SetName("to");
    ASSERT_TRUE(from->Prefabs()[2]->EnsureLoaded());
    CPrefab* moved = to->AddPrefab(from->RemovePrefab(from->Prefabs()[2]->Id()));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->LibraryId(), to->Id());
    EXPECT_FALSE(moved->HasStoredData());
    EXPECT_FALSE(moved->Unload());
    ASSERT_EQ(to->Save(), 0);
    EXPECT_TRUE(moved->Unload());
    ASSERT_TRUE(moved->EnsureLoaded());
    EXPECT_EQ(moved->Map()->Children().size(), 3u);
}

} // namespace
