#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class MapDocFileTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    fs::path dir;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        std::string pattern = (fs::temp_directory_path() / "mapdoc-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir); }

    void AddBox(CMapDoc& doc) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        doc.World()->AddChild(solid);
    }
};

TEST_F(MapDocFileTest, OpenReadsTheFileLogsItAndBecomesActive) {
    {
        CMapDoc source;
        AddBox(source);
        ASSERT_TRUE(source.SaveDocument((dir / "box.RMF").string()));
    }
    CMapDoc doc;
    ASSERT_TRUE(doc.OpenDocument((dir / "box.RMF").string()));
    EXPECT_EQ(doc.World()->Children().size(), 1u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), &doc);
    EXPECT_EQ(context.Context().messages.Lines().back().text,
              "Opened " + (dir / "box.RMF").string());
}

TEST_F(MapDocFileTest, AFailedSaveKeepsTheModifiedFlagAndTheOldFile) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetModified();
    EXPECT_FALSE(doc.SaveDocument((dir / "missing" / "x.rmf").string()));
    EXPECT_TRUE(doc.IsModified());
    // One message, naming the file and the system's reason.
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The OS reported an error saving the file: " + (dir / "missing" / "x.rmf").string() +
                  "\ncannot create a temporary file: No such file or directory");
}

TEST_F(MapDocFileTest, AFailedOpenIsOneMessageThatNamesTheFile) {
    const std::string missing = (dir / "gone.map").string();
    const std::string corrupt = (dir / "corrupt.rmf").string();
    std::ofstream(corrupt, std::ios::binary) << std::string("\x66\x66\x66\x3FRMF\x0A", 8);
    const std::string misnamed = (dir / "text.rmf").string();
    std::ofstream(misnamed) << "{\n\"classname\" \"worldspawn\"\n}\n";
    const std::pair<std::string, std::string> cases[] = {
        {missing,
         "The OS reported an error loading the file: " + missing + "\nNo such file or directory"},
        {corrupt, "Could not open " + corrupt + ":\nThe file is corrupt."},
        {misnamed, misnamed + " is not an RMF file; it looks like a MAP file.\n"
                              "Give it the extension .map to open it."}};
    for (const auto& [path, message] : cases) {
        prompts.shown.clear();
        CMapDoc doc;
        EXPECT_FALSE(doc.OpenDocument(path));
        ASSERT_EQ(prompts.shown.size(), 1u) << path;
        EXPECT_EQ(prompts.shown[0].text, message);
        EXPECT_EQ(&context.Context().GetPrompts(), &prompts);
    }
}

// The document knows the undo position of its last save: undo and redo that come back to it
// leave the map unmodified; a step taken after undoing past it, or a change that no undo step
// holds, makes that position unreachable.
TEST_F(MapDocFileTest, UndoBackToTheSavedPositionIsUnmodified) {
    CMapDoc doc;
    AddBox(doc);
    AddBox(doc);
    for (CMapClass* child : doc.World()->Children()) {
        doc.SelectObject(child, SELECT_ADD);
    }
    const std::string path = (dir / "level.rmf").string();
    ASSERT_TRUE(doc.SaveDocument(path));
    OnGroup(doc);
    EXPECT_TRUE(doc.IsModified());
    doc.OnUndo();
    EXPECT_FALSE(doc.IsModified());
    doc.OnRedo();
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.SaveDocument(path));
    doc.OnUndo();
    EXPECT_TRUE(doc.IsModified());
    doc.OnRedo();
    EXPECT_FALSE(doc.IsModified());
    doc.SelectObject(doc.World()->Children().front(), SELECT_CLEAR | SELECT_ADD);
    OnUngroup(doc);
    EXPECT_TRUE(doc.IsModified());
    doc.OnUndo();
    EXPECT_FALSE(doc.IsModified());

    // Undone past the save and then another step: the saved state is gone.
    doc.OnUndo();
    for (CMapClass* child : doc.World()->Children()) {
        doc.SelectObject(child, SELECT_ADD);
    }
    OnGroup(doc);
    doc.OnUndo();
    EXPECT_TRUE(doc.IsModified());
    doc.OnRedo();
    EXPECT_TRUE(doc.IsModified());

    // A change that no undo step holds stays a change whatever is undone.
    ASSERT_TRUE(doc.SaveDocument(path));
    doc.SetModified();
    doc.SelectObject(doc.World()->Children().front(), SELECT_CLEAR | SELECT_ADD);
    OnUngroup(doc);
    doc.OnUndo();
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
