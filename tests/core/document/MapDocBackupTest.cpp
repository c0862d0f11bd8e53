#include "document/MapDoc.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MapDocBackupTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    fs::path dir;
    CMapDoc doc;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        std::string pattern = (fs::temp_directory_path() / "backup-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir); }

    void AddBoxes(int count) {
        for (int i = 0; i < count; ++i) {
            auto* solid = new CMapSolid;
            const float x = static_cast<float>(i) * 80;
            AddBoxPlanes(*solid, {x, 0, 0}, {x + 64, 64, 64});
            ASSERT_TRUE(solid->CreateFromPlanes());
            solid->CalcBounds();
            doc.World()->AddChild(solid);
        }
        doc.SetModified();
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
};

TEST_F(MapDocBackupTest, TheFirstBackupOfARunKeepsTheFileAsItWasBeforeTheRun) {
    for (const char* name : {"level.rmf", "level.map"}) {
        const std::string path = Path(name);
        const std::string backup = path + ".bak";
        AddBoxes(1);
        ASSERT_TRUE(doc.SaveDocument(path));
        EXPECT_FALSE(fs::exists(backup)) << "a new file has nothing to keep";
        const std::string first = Contents(path);
        AddBoxes(1);
        ASSERT_TRUE(doc.SaveDocument(path));
        EXPECT_EQ(Contents(backup), first);
        EXPECT_NE(Contents(path), first);
        // Later saves of the run leave the backup alone.
        AddBoxes(1);
        ASSERT_TRUE(doc.SaveDocument(path));
        EXPECT_EQ(Contents(backup), first);
    }
    // A file opened in this run: however often it is saved, its backup is the file as it
    // was opened, even when an older backup was there.
    const std::string opened = Path("opened.map");
    std::ofstream(opened, std::ios::binary)
        << "{\n\"classname\" \"worldspawn\"\n\"wad\" \"gfx/base.wad\"\n}\n";
    std::ofstream(opened + ".bak") << "an older backup";
    const std::string original = Contents(opened);
    CMapDoc reopened;
    ASSERT_TRUE(reopened.OpenDocument(opened));
    for (int i = 0; i < 3; ++i) {
        reopened.SetModified();
        ASSERT_TRUE(reopened.SaveDocument(opened));
        EXPECT_EQ(Contents(opened + ".bak"), original);
    }
    // The map's own WAD list came through the saves.
    EXPECT_NE(Contents(opened).find("\"wad\" \"gfx/base.wad\"\n"), std::string::npos)
        << Contents(opened);
}

TEST_F(MapDocBackupTest, TheSettingTurnsBackupsOff) {
    context.Context().options.keepBackup = false;
    AddBoxes(1);
    ASSERT_TRUE(doc.SaveDocument(Path("level.rmf")));
    AddBoxes(1);
    ASSERT_TRUE(doc.SaveDocument(Path("level.rmf")));
    EXPECT_FALSE(fs::exists(Path("level.rmf.bak")));
}

// A save that runs out of room half-way (the file size limit stands in for a full disk)
// leaves the map file and the backup of the save before it as they were.
TEST_F(MapDocBackupTest, AnInterruptedSaveLeavesTheOldFileAndTheBackupIntact) {
    const std::string path = Path("level.rmf");
    AddBoxes(1);
    ASSERT_TRUE(doc.SaveDocument(path));
    const std::string first = Contents(path);
    AddBoxes(1);
    ASSERT_TRUE(doc.SaveDocument(path));
    const std::string second = Contents(path);
    AddBoxes(200);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = second.size() + 100;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = doc.SaveDocument(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc.IsModified());
    const std::vector<std::string> messages = prompts.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
    // The system's reason is in the message, not only in the message window.
    EXPECT_NE(messages[0].find(std::strerror(EFBIG)), std::string::npos) << messages[0];
    EXPECT_EQ(Contents(path), second);
    EXPECT_EQ(Contents(path + ".bak"), first);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++files;
    }
    EXPECT_EQ(files, 2) << "no temporary file is left";
}

} // namespace
