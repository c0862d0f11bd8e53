#include "app/DocumentSaving.h"
#include "core/prefabs/PrefabTestSupport.h"
#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/PrefabDocument.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Head(const fs::path& p, std::size_t n) {
    std::ifstream in(p, std::ios::binary);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Scripted prompts that also keep what each save dialog offered.
struct SaveDialogPrompts : ScriptedPrompts {
    struct Offer {
        std::string caption;
        std::string filter;
        std::string initialPath;
        std::string checkText;
    };
    std::vector<Offer> offers;

    std::optional<FileChoice> ChooseSaveFile(const std::string& caption, const std::string& filter,
                                             const std::string& initialPath,
                                             const std::string& checkText, bool* checked) override {
        offers.push_back({caption, filter, initialPath, checkText});
        return ScriptedPrompts::ChooseSaveFile(caption, filter, initialPath, checkText, checked);
    }
};

class DocumentSavingTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    SaveDialogPrompts prompts;
    QTemporaryDir directory;
    fs::path dir;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        dir = directory.path().toStdString();
    }

    static void AddBox(CMapDoc& doc) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        doc.World()->AddChild(solid);
    }
};

TEST_F(DocumentSavingTest, SaveAsPicksTheFormatByTheNameAndTheFilter) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetModified();
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level").string(), 1});
    ASSERT_TRUE(DocumentSaving::SaveAs(doc));
    EXPECT_EQ(doc.Path(), (dir / "level.map").string());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Head(dir / "level.map", 1), "{");

    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level.txt").string(), 0});
    ASSERT_TRUE(DocumentSaving::SaveAs(doc));
    EXPECT_EQ(Head(dir / "level.txt", 1), "{"); // only "rmf" selects RMF

    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "level2").string(), 0});
    ASSERT_TRUE(DocumentSaving::SaveAs(doc));
    EXPECT_EQ(Head(dir / "level2.rmf", 8), std::string("\x66\x66\x66\x3F"
                                                       "RMF\x0A",
                                                       8));
}

TEST_F(DocumentSavingTest, ExportNeverChangesTheModifiedFlag) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetPath((dir / "room.rmf").string());
    for (bool modified : {true, false}) {
        doc.SetModified(modified);
        prompts.checks.push_back(true);
        prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "export").string(), 0});
        ASSERT_TRUE(DocumentSaving::Export(doc));
        EXPECT_TRUE(prompts.lastCheckOffered);
        EXPECT_EQ(doc.IsModified(), modified);
        EXPECT_EQ(Head(dir / "export.map", 1), "{");
        EXPECT_EQ(doc.Path(), (dir / "room.rmf").string());
    }
    EXPECT_EQ(prompts.shown.back().text, (dir / "room.map").string()); // suggested name
    EXPECT_TRUE(DocumentSaving::ExportVisibleOnly()); // the box's state is remembered
}

// Exporting an untitled map first saves it, but under an RMF name of its own: the exported
// MAP file never becomes the document, so a later Save keeps groups and visgroups.
TEST_F(DocumentSavingTest, ExportOfAnUntitledMapKeepsTheDocumentOnItsOwnRmfFile) {
    CMapDoc doc;
    AddBox(doc);
    doc.SetModified();
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "room.map").string(), 1});
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "room.map").string(), 0});
    ASSERT_TRUE(DocumentSaving::Export(doc));
    EXPECT_EQ(doc.Path(), (dir / "room.rmf").string());
    EXPECT_EQ(Head(dir / "room.rmf", 8).substr(4), "RMF\x0A");
    EXPECT_EQ(Head(dir / "room.map", 1), "{");
    AddBox(doc);
    doc.SetModified();
    ASSERT_TRUE(DocumentSaving::Save(doc)); // no dialog: the document's file is the RMF
    EXPECT_TRUE(prompts.saveChoices.empty());
    EXPECT_EQ(Head(dir / "room.rmf", 8).substr(4), "RMF\x0A");
    EXPECT_EQ(doc.Path(), (dir / "room.rmf").string());

    // Save of another untitled map: a plain name gets ".rmf" whatever filter was chosen.
    CMapDoc other;
    AddBox(other);
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "hall").string(), 1});
    ASSERT_TRUE(DocumentSaving::Save(other));
    EXPECT_EQ(other.Path(), (dir / "hall.rmf").string());
}

// What each dialog offers and suggests, which saves reach the recent-file list, and the export
// writing the dialect of the filter chosen (the map's own comes first).
TEST_F(DocumentSavingTest, TheDialogsOfferTheFormatsAndExportWritesTheChosenDialect) {
    CMapDoc doc;
    AddBox(doc);
    doc.World()->SetDialect(MapDialect::TextureAxes);
    doc.SetModified();
    std::vector<std::string> recent;
    doc.recentFileAdded = [&recent](const std::string& path) { recent.push_back(path); };

    prompts.saveChoices.push_back(std::nullopt);
    EXPECT_FALSE(DocumentSaving::Save(doc));
    EXPECT_TRUE(doc.Path().empty());
    EXPECT_TRUE(doc.IsModified());
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "hall.v2.MAP").string(), 1});
    ASSERT_TRUE(DocumentSaving::Save(doc)); // untitled: RMF, ".map" replaced
    EXPECT_EQ(doc.Path(), (dir / "hall.v2.rmf").string());
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "hall.map").string(), 0});
    ASSERT_TRUE(DocumentSaving::SaveAs(doc));
    EXPECT_EQ(Head(dir / "hall.map", 1), "{");

    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "axes").string(), 0});
    ASSERT_TRUE(DocumentSaving::Export(doc));
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "standard").string(), 1});
    ASSERT_TRUE(DocumentSaving::Export(doc));
    doc.World()->SetDialect(MapDialect::Standard);
    prompts.saveChoices.push_back(Prompts::FileChoice{(dir / "axes2.map").string(), 1});
    ASSERT_TRUE(DocumentSaving::Export(doc));
    EXPECT_NE(ReadAll(dir / "axes.map").find("[ "), std::string::npos);
    EXPECT_EQ(ReadAll(dir / "standard.map").find('['), std::string::npos);
    EXPECT_NE(ReadAll(dir / "axes2.map").find("[ "), std::string::npos);
    EXPECT_EQ(doc.Path(), (dir / "hall.map").string());
    EXPECT_EQ(recent, (std::vector<std::string>{(dir / "hall.v2.rmf").string(),
                                                (dir / "hall.map").string()}));

    const std::string rmfOnly = "Brickhaven Maps (*.rmf)";
    const std::string both = "Brickhaven Maps (*.rmf);;Quake Maps (*.map)";
    const std::string axesFirst =
        "Quake Maps, 220 dialect with texture axes (*.map);;Quake Maps (*.map)";
    const std::string standardFirst =
        "Quake Maps (*.map);;Quake Maps, 220 dialect with texture axes (*.map)";
    const std::string hall = (dir / "hall").string();
    const std::string visible = "Save &Visible objects only";
    ASSERT_EQ(prompts.offers.size(), 6u);
    const SaveDialogPrompts::Offer expected[] = {
        {"Save As", rmfOnly, "", ""},
        {"Save As", rmfOnly, "", ""},
        {"Save As", both, hall, ""},
        {"Export to Quake MAP", axesFirst, hall + ".map", visible},
        {"Export to Quake MAP", axesFirst, hall + ".map", visible},
        {"Export to Quake MAP", standardFirst, hall + ".map", visible}};
    for (std::size_t i = 0; i < prompts.offers.size(); ++i) {
        EXPECT_EQ(prompts.offers[i].caption, expected[i].caption) << i;
        EXPECT_EQ(prompts.offers[i].filter, expected[i].filter) << i;
        EXPECT_EQ(prompts.offers[i].initialPath, expected[i].initialPath) << i;
        EXPECT_EQ(prompts.offers[i].checkText, expected[i].checkText) << i;
    }
}

TEST_F(DocumentSavingTest, SaveModifiedAsksAndHonoursCancel) {
    CMapDoc doc;
    EXPECT_TRUE(DocumentSaving::SaveModified(doc));
    doc.SetModified();
    prompts.answers = {Prompts::Answer::Cancel, Prompts::Answer::No};
    EXPECT_FALSE(DocumentSaving::SaveModified(doc));
    EXPECT_EQ(prompts.shown.back().text, "Save changes to Untitled?");
    EXPECT_TRUE(DocumentSaving::SaveModified(doc));
}

// Prefab documents: Save and the question before closing store into the prefab's library.
class PrefabDocumentSavingTest : public PrefabDocumentFixture {};

TEST_F(PrefabDocumentSavingTest, SaveModifiedAsksAboutThePrefab) {
    CMapDoc doc;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    EXPECT_TRUE(DocumentSaving::SaveModified(doc));
    EXPECT_TRUE(prompts.shown.empty());
    AddBox(doc);
    prompts.answers = {Prompts::Answer::Cancel, Prompts::Answer::No, Prompts::Answer::Yes};
    EXPECT_FALSE(DocumentSaving::SaveModified(doc));
    EXPECT_EQ(prompts.shown.back().text, "Do you want to save the changes to this prefab object?");
    EXPECT_EQ(prompts.shown.back().kind, "yesnocancel");
    EXPECT_TRUE(DocumentSaving::SaveModified(doc));
    EXPECT_EQ(prefab->Map()->Children().size(), 2u);
    EXPECT_TRUE(DocumentSaving::SaveModified(doc));
    EXPECT_EQ(prefab->Map()->Children().size(), 3u);
    EXPECT_FALSE(doc.IsModified());
}

// With the library gone, neither Save nor the question before closing stores anything: each
// document becomes an ordinary one of its own name and stays open.
TEST_F(PrefabDocumentSavingTest, ADeletedLibraryKeepsEveryDocumentOpen) {
    CMapDoc doc;
    CMapDoc other;
    ASSERT_TRUE(OpenPrefabDocument(doc, *prefab));
    ASSERT_TRUE(OpenPrefabDocument(other, *library->Prefabs()[0]));
    Registry().DestroyLibrary(library->Id());
    AddBox(doc);
    EXPECT_FALSE(DocumentSaving::Save(doc));
    ASSERT_EQ(prompts.shown.size(), 1u); // the library's message, no file dialog
    EXPECT_EQ(prompts.shown[0].kind, "message");
    EXPECT_EQ(doc.Path(), "Prefab1.rmf");
    EXPECT_TRUE(doc.IsModified());

    AddBox(other);
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_FALSE(DocumentSaving::SaveModified(other));
    EXPECT_EQ(other.Path(), "Prefab2.rmf");
}

} // namespace
