#include "autosave/AutosaveManager.h"
#include "autosave/AutosaveRecovery.h"

#include "AutosaveTestSupport.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

using namespace autosave_test;

namespace {

class AutosaveManagerTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    TempFolder folder;
    AutosaveSchedule::TimePoint now{};
    std::unique_ptr<AutosaveManager> manager;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().options.autosaveInterval = 300;
        manager = std::make_unique<AutosaveManager>(folder / "autosave", [this] { return now; });
    }

    static void AddBox(CMapDoc& doc, float x) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {x, 0, 0}, {x + 64, 64, 64});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        doc.World()->AddChild(solid);
        doc.SetModified();
    }

    // Ticks past one interval and waits for the worker.
    void RunPastInterval() {
        manager->Tick();
        now += std::chrono::seconds(300);
        manager->Tick();
        manager->WaitIdle();
    }

    std::vector<std::string> Files(const CMapDoc& doc) {
        return manager->Store().Files(manager->KeyOf(doc));
    }

    static int SolidCount(const std::string& rmf) {
        CMapWorld world;
        EXPECT_EQ(ReadRmfFile(world, rmf), 0);
        return static_cast<int>(world.Children().size());
    }
};

TEST_F(AutosaveManagerTest, AModifiedMapIsWrittenAsRmfAfterTheIntervalAndOnlyWhenItChanged) {
    CMapDoc doc;
    const std::string path = folder / "room.rmf";
    doc.SetPath(path);
    AddBox(doc, 0);
    manager->Tick();
    now += std::chrono::seconds(299);
    EXPECT_FALSE(manager->Tick());
    now += std::chrono::seconds(1);
    EXPECT_TRUE(manager->Tick());
    manager->WaitIdle();
    ASSERT_EQ(Files(doc).size(), 1u);
    EXPECT_EQ(SolidCount(Files(doc)[0]), 1);
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), nullptr); // autosave never activates a document
    EXPECT_TRUE(doc.IsModified());

    now += std::chrono::seconds(3000);
    EXPECT_FALSE(manager->Tick()); // nothing new
    AddBox(doc, 100);
    RunPastInterval();
    ASSERT_EQ(Files(doc).size(), 2u);
    EXPECT_EQ(SolidCount(Files(doc)[1]), 2);
    AutosaveEntry entry;
    ASSERT_TRUE(manager->Store().Find(manager->KeyOf(doc), entry));
    EXPECT_EQ(entry.mapPath, path);

    // The user closes the map (saved or not): its autosaves go.
    manager->DocumentClosed(doc);
    manager->WaitIdle();
    EXPECT_TRUE(manager->Store().List().empty());
}

TEST_F(AutosaveManagerTest, IntervalZeroWritesNothing) {
    context.Context().options.autosaveInterval = 0;
    CMapDoc doc;
    AddBox(doc, 0);
    RunPastInterval();
    now += std::chrono::hours(10);
    manager->Tick();
    manager->WaitIdle();
    EXPECT_TRUE(manager->Store().List().empty());
}

TEST_F(AutosaveManagerTest, UntitledMapsAndSaveAsUnderANewName) {
    CMapDoc doc;
    AddBox(doc, 0);
    RunPastInterval();
    const std::string untitledKey = manager->KeyOf(doc);
    EXPECT_EQ(untitledKey.rfind("Untitled-", 0), 0u);
    ASSERT_EQ(manager->Store().Files(untitledKey).size(), 1u);

    // Saved under a name: the untitled autosaves are in the file now and go.
    ASSERT_TRUE(doc.SaveDocument(folder / "named.rmf"));
    doc.SetPathAfterSave(folder / "named.rmf");
    AddBox(doc, 100);
    RunPastInterval();
    EXPECT_TRUE(manager->Store().Files(untitledKey).empty());
    EXPECT_EQ(manager->KeyOf(doc), AutosaveStore::KeyForMap(folder / "named.rmf"));
    EXPECT_EQ(Files(doc).size(), 1u);
}

TEST_F(AutosaveManagerTest, AutosavesLeftForLaterAreNotTouchedByANewRunOnTheSameMap) {
    const std::string path = folder / "shared.rmf";
    const std::string oldKey = AutosaveStore::KeyForMap(path);
    std::string error;
    ASSERT_TRUE(manager->Store().Write(oldKey, path, "crashed work", error));
    OrphanAutosaves(manager->Store().Directory(), oldKey, path);

    CMapDoc first;
    CMapDoc second; // the same map opened twice
    for (CMapDoc* doc : {&first, &second}) {
        doc->SetPath(path);
        AddBox(*doc, 0);
    }
    const std::string firstKey = manager->KeyOf(first);
    EXPECT_NE(firstKey, oldKey);
    EXPECT_NE(manager->KeyOf(second), firstKey);
    EXPECT_NE(manager->KeyOf(second), oldKey);
    manager->DocumentClosed(first);
    manager->WaitIdle();
    ASSERT_EQ(manager->Store().Files(oldKey).size(), 1u);
    EXPECT_EQ(ReadFile(manager->Store().Files(oldKey)[0]), "crashed work");
}

TEST_F(AutosaveManagerTest, ARecoveredMapIsModifiedBelongsToItsPathAndContinuesItsAutosaves) {
    const std::string path = folder / "level.map";
    WriteFile(path, "// the map as last saved\n");
    SetAge(path, 1000);
    {
        CMapDoc doc;
        doc.SetPath(path);
        AddBox(doc, 0);
        AddBox(doc, 100);
        RunPastInterval();
        OrphanAutosaves(manager->Store().Directory(), manager->KeyOf(doc), path);
    }
    manager = std::make_unique<AutosaveManager>(folder / "autosave", [this] { return now; });
    const std::vector<AutosaveEntry> entries = manager->Store().Recoverable();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(RecoverListLine(entries[0]).rfind(path + "\t" + entries[0].file + "\t", 0), 0u);
    EXPECT_NE(DescribeAutosave(entries[0]).find(path + " (autosaved "), std::string::npos);

    CMapDoc recovered;
    ASSERT_TRUE(OpenRecoveredMap(recovered, entries[0]));
    manager->Adopt(recovered, entries[0].key);
    EXPECT_EQ(recovered.Path(), path);
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_EQ(recovered.World()->Children().size(), 2u);
    EXPECT_TRUE(manager->Store().Recoverable().empty()); // this run holds it now
    RunPastInterval();
    EXPECT_EQ(manager->Store().Files(entries[0].key).size(), 2u);

    // Save writes to the original path, as MAP text by its name.
    ASSERT_TRUE(recovered.SaveDocument(recovered.Path()));
    EXPECT_EQ(ReadFile(path).substr(0, 1), "{");
    EXPECT_EQ(ReadFile(path + ".bak"), "// the map as last saved\n");
    manager->DocumentClosed(recovered);
    manager->WaitIdle();
    EXPECT_TRUE(manager->Store().List().empty());
}

TEST_F(AutosaveManagerTest, AnUnreadableAutosaveIsNotRecovered) {
    AutosaveEntry entry;
    entry.key = "broken";
    entry.mapPath = folder / "broken.rmf";
    entry.file = folder / "broken.000001.rmf";
    WriteFile(entry.file, "not a map");
    CMapDoc doc;
    EXPECT_FALSE(OpenRecoveredMap(doc, entry));
    // One message that names the unreadable file.
    const std::vector<std::string> messages = prompts.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(entry.file), std::string::npos) << messages[0];
}

} // namespace
