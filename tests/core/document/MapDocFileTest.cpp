#include "common/EditorContext.h"
#include "document/MapDoc.h"
#include "mapobjects/MapWorld.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Head(const fs::path& p, std::size_t n) {
    std::ifstream in(p, std::ios::binary);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

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

TEST_F(MapDocFileTest, SaveAsPicksTheFormatByTheNameAndTheFilter) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetModified();
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level").string(), 1});
    ASSERT_TRUE(doc.OnSaveAs());
    EXPECT_EQ(doc.Path(), (dir / "level.map").string());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Head(dir / "level.map", 1), "{");

    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level.txt").string(), 0});
    ASSERT_TRUE(doc.OnSaveAs());
    EXPECT_EQ(Head(dir / "level.txt", 1), "{"); // only "rmf" selects RMF

    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level2").string(), 0});
    ASSERT_TRUE(doc.OnSaveAs());
    EXPECT_EQ(Head(dir / "level2.rmf", 8), std::string("\x66\x66\x66\x3F"
                                                       "RMF\x0A",
                                                       8));
}

TEST_F(MapDocFileTest, ExportNeverChangesTheModifiedFlag) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetPath((dir / "room.rmf").string());
    for (bool modified : {true, false}) {
        doc.SetModified(modified);
        prompts.checks.push_back(true);
        prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "export").string(), 0});
        ASSERT_TRUE(doc.OnExport());
        EXPECT_TRUE(prompts.lastCheckOffered);
        EXPECT_EQ(doc.IsModified(), modified);
        EXPECT_EQ(Head(dir / "export.map", 1), "{");
        EXPECT_EQ(doc.Path(), (dir / "room.rmf").string());
    }
    EXPECT_EQ(prompts.shown.back().text, (dir / "room.map").string()); // suggested name
    EXPECT_TRUE(CMapDoc::ExportVisibleOnly()); // the box's state is remembered
}

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

} // namespace
