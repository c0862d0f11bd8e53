#include "PrefabTestSupport.h"

#include "document/MapFiles.h"
#include "gamedata/ByteSource.h"

#include <unistd.h>

namespace {

class PrefabLibraryFileTest : public PrefabTest {
protected:
    // Loads a fresh library object from path; the result of Load in result.
    std::unique_ptr<CPrefabLibrary> Reload(const std::string& path, int* result = nullptr) {
        auto library = std::make_unique<CPrefabLibrary>();
        const int loaded = library->Load(path);
        if (result) {
            *result = loaded;
        }
        return library;
    }
    static std::string Entry(const std::string& file, int index) {
        return file.substr(Le32(file, 31) + static_cast<std::size_t>(index) * 544, 544);
    }
    static std::string DataOf(const std::string& file, int index) {
        const std::string entry = Entry(file, index);
        return file.substr(Le32(entry, 0), Le32(entry, 4));
    }
};

TEST_F(PrefabLibraryFileTest, EmptyLibraryIsHeaderAndDescriptionOnly) {
    CPrefabLibrary library;
    library.SetName("empty");
    library.SetDescription("nothing here");
    ASSERT_EQ(library.Save(), 0);
    EXPECT_EQ(library.Path(), PrefabDir() + "/empty.ol");
    const std::string bytes = ReadBytes(library.Path());
    ASSERT_EQ(bytes.size(), 543u);
    EXPECT_EQ(bytes.substr(0, 27), std::string("Brickhaven Prefab Library\r\n"));
    EXPECT_EQ(Le32(bytes, 27), 0x3DCCCCCDu); // 0.1f
    EXPECT_EQ(Le32(bytes, 31), 543u);
    EXPECT_EQ(Le32(bytes, 35), 0u);
    EXPECT_EQ(bytes.substr(39, 13), std::string("nothing here\0", 13));
    EXPECT_EQ(bytes.substr(52), std::string(543 - 52, '\0'));
    EXPECT_EQ(library.DirectoryOffset(), 543u);
}

TEST_F(PrefabLibraryFileTest, SavedLibraryLoadsLazilyWithNamesNotesAndMaps) {
    const std::string path = MakeLibraryFile();
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(Le32(bytes, 35), 3u);
    ASSERT_EQ(bytes.size(), Le32(bytes, 31) + 3 * 544u);
    const std::string entry = Entry(bytes, 1);
    EXPECT_EQ(entry.substr(8, 2), std::string("b\0", 2));
    EXPECT_EQ(entry.substr(39, 10), std::string("two boxes\0", 10));
    EXPECT_EQ(Le32(entry, 540), 0u);
    // Each block is the RMF stream of the prefab's map.
    EXPECT_EQ(DataOf(bytes, 0).substr(0, 7), std::string("\x66\x66\x66\x3F"
                                                         "RMF"));
    EXPECT_EQ(Le32(Entry(bytes, 0), 0), 543u);

    int result = 0;
    auto library = Reload(path, &result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(library->Name(), "stuff");
    EXPECT_EQ(library->Description(), "three prefabs");
    ASSERT_EQ(library->PrefabCount(), 3);
    for (const auto& prefab : library->Prefabs()) {
        EXPECT_FALSE(prefab->IsLoaded()) << prefab->Name();
        EXPECT_EQ(prefab->LibraryId(), library->Id());
    }
    CPrefab& c = *library->Prefabs()[2];
    EXPECT_EQ(c.Name(), "c");
    EXPECT_EQ(c.Notes(), "three boxes");
    Registry().AddLibrary(std::move(library));
    ASSERT_TRUE(c.EnsureLoaded());
    EXPECT_EQ(c.Map()->Children().size(), 3u);
    float x = 0;
    for (const CMapClass* child : c.Map()->Children()) {
        EXPECT_EQ(child->Bounds().mins, (Vector{x, 0, 0}));
        EXPECT_EQ(child->Bounds().maxs, (Vector{x + 16, 16, 16}));
        x += 32;
    }
}

TEST_F(PrefabLibraryFileTest, SavingAfterOneChangeCopiesTheOtherPrefabsUnchanged) {
    // A prefab larger than one copy chunk, so copying takes several.
    auto library = std::make_unique<CPrefabLibrary>();
    library->SetName("big");
    AddPrefab(*library, "large", BoxesMap(120));
    AddPrefab(*library, "small", BoxesMap(1));
    AddPrefab(*library, "last", BoxesMap(2));
    ASSERT_EQ(library->Save(), 0);
    const std::string path = library->Path();
    const std::string before = ReadBytes(path);
    ASSERT_GT(Le32(Entry(before, 0), 4), CPrefabLibrary::kCopyChunk);
    library.reset();

    CPrefabLibrary* reloaded = Registry().LoadLibrary(path);
    ASSERT_NE(reloaded, nullptr);
    CPrefab* small = reloaded->Prefabs()[1].get();
    ASSERT_TRUE(small->EnsureLoaded());
    small->SetMap(BoxesMap(4, 500));
    ASSERT_EQ(reloaded->Save(), 0);

    const std::string after = ReadBytes(path);
    EXPECT_FALSE(reloaded->Prefabs()[0]->IsLoaded());
    EXPECT_FALSE(reloaded->Prefabs()[2]->IsLoaded());
    EXPECT_EQ(DataOf(after, 0), DataOf(before, 0));
    EXPECT_EQ(DataOf(after, 2), DataOf(before, 2));
    EXPECT_NE(DataOf(after, 1), DataOf(before, 1));
    // The directory follows the new sizes: the last block moved.
    EXPECT_GT(Le32(Entry(after, 1), 4), Le32(Entry(before, 1), 4));
    EXPECT_EQ(Le32(Entry(after, 2), 0), Le32(Entry(after, 1), 0) + Le32(Entry(after, 1), 4));
    EXPECT_EQ(Le32(after, 31), Le32(Entry(after, 2), 0) + Le32(Entry(after, 2), 4));
    EXPECT_EQ(after.size(), Le32(after, 31) + 3 * 544u);
    // The library reads its new file: the others still load, at their new places.
    EXPECT_EQ(reloaded->Prefabs()[2]->Offset(), Le32(Entry(after, 2), 0));
    ASSERT_TRUE(reloaded->Prefabs()[2]->EnsureLoaded());
    EXPECT_EQ(reloaded->Prefabs()[2]->Map()->Children().size(), 2u);
}

TEST_F(PrefabLibraryFileTest, SaveAsTakesTheNewPathAndName) {
    const std::string path = MakeLibraryFile();
    CPrefabLibrary* library = Registry().LoadLibrary(path);
    ASSERT_NE(library, nullptr);
    const std::string other = (root / "copy.of.lib.ol").string();
    ASSERT_EQ(library->Save(other), 0);
    EXPECT_EQ(library->Path(), other);
    EXPECT_EQ(library->Name(), "copy");
    EXPECT_EQ(ReadBytes(other), ReadBytes(path));
}

// Reads fine while the library loads, then fails every read (a disk that went away).
class FailingSource : public ByteSource {
public:
    explicit FailingSource(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        if (failing || offset > m_bytes.size() || count > m_bytes.size() - offset) {
            return false;
        }
        std::memcpy(buffer, m_bytes.data() + offset, count);
        return true;
    }
    bool failing = false;

private:
    std::string m_bytes;
};

TEST_F(PrefabLibraryFileTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = MakeLibraryFile();
    const std::string before = ReadBytes(path);
    auto source = std::make_unique<FailingSource>(before);
    FailingSource* raw = source.get();
    CPrefabLibrary library;
    ASSERT_EQ(library.Load(std::move(source), path), 1);
    raw->failing = true;
    prompts.shown.clear();
    EXPECT_EQ(library.Save(), -1);
    EXPECT_TRUE(prompts.Showed("Couldn't Load prefab to Save it."));
    EXPECT_EQ(ReadBytes(path), before);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PrefabDir())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(PrefabLibraryFileTest, SaveWorksWhateverTheCurrentFolder) {
    // The temporary file goes beside the library: a current folder that no longer exists
    // does not matter.
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path gone = root / "gone";
    std::filesystem::create_directory(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    std::filesystem::remove(gone);
    CPrefabLibrary library;
    library.SetName("elsewhere");
    AddPrefab(library, "a", BoxesMap(1));
    const int result = library.Save();
    ASSERT_EQ(chdir(previous.c_str()), 0);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(std::filesystem::exists(PrefabDir() + "/elsewhere.ol"));
}

TEST_F(PrefabLibraryFileTest, PrefabWithoutMapOrDataIsLeftOutWithTheMessage) {
    CPrefabLibrary library;
    library.SetName("partly");
    auto empty = std::make_unique<CPrefab>();
    empty->SetName("nothing");
    library.AddPrefab(std::move(empty));
    AddPrefab(library, "kept", BoxesMap(1));
    ASSERT_EQ(library.Save(), 0);
    EXPECT_TRUE(prompts.Showed("Couldn't Load prefab to Save it."));
    const std::string bytes = ReadBytes(library.Path());
    EXPECT_EQ(Le32(bytes, 35), 1u);
    EXPECT_EQ(Entry(bytes, 0).substr(8, 5), std::string("kept\0", 5));
}

TEST_F(PrefabLibraryFileTest, LongNamesNotesAndDescriptionAreCutToTheirFields) {
    CPrefabLibrary library;
    library.SetName("long");
    library.SetDescription(std::string(700, 'd'));
    AddPrefab(library, std::string(40, 'n'), BoxesMap(1), std::string(600, 'o'));
    ASSERT_EQ(library.Save(), 0);
    const std::string bytes = ReadBytes(library.Path());
    EXPECT_EQ(bytes.substr(39, 501), std::string(500, 'd') + '\0');
    const std::string entry = Entry(bytes, 0);
    EXPECT_EQ(entry.substr(8, 31), std::string(30, 'n') + '\0');
    EXPECT_EQ(entry.substr(39, 501), std::string(500, 'o') + '\0');
}

// --- files that are not sound ---

class HostileLibraryTest : public PrefabLibraryFileTest {
protected:
    std::string good;
    void SetUp() override {
        PrefabLibraryFileTest::SetUp();
        good = ReadBytes(MakeLibraryFile());
    }
    static void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
        std::memcpy(bytes.data() + at, &value, 4);
    }
    std::size_t EntryAt(int index) const {
        return Le32(good, 31) + static_cast<std::size_t>(index) * 544;
    }
    // Loads bytes as a library: the result, and the library when it loaded.
    std::unique_ptr<CPrefabLibrary> Load(const std::string& bytes, int& result) {
        auto library = std::make_unique<CPrefabLibrary>();
        result =
            library->Load(std::make_unique<MemoryByteSource>(
                              reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                          "hostile.ol");
        return library;
    }
};

TEST_F(HostileLibraryTest, FilesThatAreNotLibrariesOrAreCutShortAreRefused) {
    int result = 0;
    for (std::size_t length : {std::size_t(0), std::size_t(10), std::size_t(27), std::size_t(100),
                               std::size_t(542), good.size() - 1, good.size() - 544}) {
        Load(good.substr(0, length), result);
        EXPECT_EQ(result, -1) << length;
    }
    std::string wrongHeader = good;
    wrongHeader[10] = 'x';
    Load(wrongHeader, result);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(HostileLibraryTest, DirectoryOutsideTheFileOrHugeCountsAreRefused) {
    int result = 0;
    for (std::uint32_t offset : {0xFFFFFFFFu, static_cast<std::uint32_t>(good.size() + 1)}) {
        std::string bytes = good;
        Put32(bytes, 31, offset);
        Load(bytes, result);
        EXPECT_EQ(result, -1);
    }
    for (std::uint32_t count : {4u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::string bytes = good;
        Put32(bytes, 35, count);
        Load(bytes, result);
        EXPECT_EQ(result, -1) << count;
    }
    // Fewer entries than the directory holds is a sound file.
    std::string fewer = good;
    Put32(fewer, 35, 1);
    auto library = Load(fewer, result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(library->PrefabCount(), 1);
}

TEST_F(HostileLibraryTest, DamagedEntriesAreLeftOutAndTheRestLoads) {
    std::string bytes = good;
    Put32(bytes, EntryAt(0) + 4, static_cast<std::uint32_t>(good.size())); // size too large
    Put32(bytes, EntryAt(1) + 0, 0xFFFFFFF0u);                             // offset outside
    int result = 0;
    auto library = Load(bytes, result);
    ASSERT_EQ(result, 1);
    ASSERT_EQ(library->PrefabCount(), 1);
    EXPECT_EQ(library->Prefabs()[0]->Name(), "c");

    std::string names = good;
    std::memset(names.data() + EntryAt(0) + 8, 'x', 31);   // name without terminator
    std::memset(names.data() + EntryAt(1) + 39, 'y', 501); // notes without terminator
    Put32(names, EntryAt(2) + 540, 1);                     // another kind
    library = Load(names, result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(library->PrefabCount(), 0);
    ASSERT_FALSE(context.Context().messages.Lines().empty());
    EXPECT_NE(context.Context().messages.Lines().back().text.find("3 damaged prefab entries"),
              std::string::npos);
}

TEST_F(HostileLibraryTest, UnterminatedDescriptionIsCutAndAnEmptyNameBecomesPrefab) {
    std::string bytes = good;
    std::memset(bytes.data() + 39, 'q', 504);
    bytes[EntryAt(0) + 8] = '\0';
    int result = 0;
    auto library = Load(bytes, result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(library->Description(), std::string(500, 'q'));
    EXPECT_EQ(library->Prefabs()[0]->Name(), "Prefab");
}

TEST_F(HostileLibraryTest, GarbageMapDataFailsToLoadWithAMessage) {
    std::string bytes = good;
    const std::uint32_t dataAt = Le32(good, EntryAt(1));
    std::memset(bytes.data() + dataAt, 0x7F, 16);
    int result = 0;
    CPrefabLibrary* library = Registry().AddLibrary(Load(bytes, result));
    ASSERT_EQ(result, 1);
    CPrefab* b = library->Prefabs()[1].get();
    EXPECT_FALSE(b->EnsureLoaded());
    EXPECT_FALSE(b->IsLoaded());
    EXPECT_FALSE(prompts.shown.empty());
    EXPECT_TRUE(library->Prefabs()[2]->EnsureLoaded());
}

} // namespace
