#include "PrefabTestSupport.h"

#include "document/MapFiles.h"
#include "mapobjects/MapGroup.h"
#include "prefabs/PrefabFiles.h"
#include "prefabs/PrefabNames.h"

namespace {

TEST(PrefabNames, LettersDigitsBlanksAndTheListedPunctuationPass) {
    EXPECT_TRUE(IsValidPrefabName("My Stuff (2)"));
    EXPECT_TRUE(IsValidPrefabName("$%`-_@~'!(){}^#&"));
    EXPECT_TRUE(IsValidPrefabName("Caf\xC3\xA9 stairs"));
    EXPECT_FALSE(IsValidPrefabName("my.lib"));
    EXPECT_FALSE(IsValidPrefabName("back\\slash"));
    EXPECT_FALSE(IsValidPrefabName("dir/name"));
    EXPECT_FALSE(IsValidPrefabName("a:b"));
    EXPECT_FALSE(IsValidPrefabName("tab\there"));
    EXPECT_FALSE(IsValidPrefabName(""));
}

TEST(PrefabNames, InvalidNameShowsTheMessageWithOkAndCancel) {
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    context.Context().SetPrompts(&prompts);
    EXPECT_EQ(CheckPrefabName("Good Name"), NameCheck::Valid);
    EXPECT_TRUE(prompts.shown.empty());
    prompts.answers = {Prompts::Answer::Ok, Prompts::Answer::Cancel};
    EXPECT_EQ(CheckPrefabName("bad.name"), NameCheck::AskAgain);
    EXPECT_EQ(CheckPrefabName("bad.name"), NameCheck::GiveUp);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].kind, "okcancel");
    EXPECT_EQ(prompts.shown[0].text,
              "That's not a valid name - some of the characters aren't\nacceptable. Try using a "
              "name with only A-Z, 0-9, space,\nand these characters: $%`-_@~'!(){}^#&");
}

TEST(PrefabFileTypes, ContentDecidesForOtherExtensions) {
    std::string rmf;
    ScopedEditorContext context;
    CMapWorld world;
    ASSERT_EQ(WriteRmfData(world, rmf), 0);
    EXPECT_EQ(ClassifyPrefabContent(rmf), PrefabFileType::Rmf);
    // Before 0.8 the class name follows the version.
    float old = 0.5f;
    std::string oldRmf(reinterpret_cast<const char*>(&old), 4);
    oldRmf += std::string("\x0A"
                          "CMapWorld\0",
                          11);
    EXPECT_EQ(ClassifyPrefabContent(oldRmf), PrefabFileType::Rmf);
    float tooNew = 1.0f;
    std::string newer(reinterpret_cast<const char*>(&tooNew), 4);
    EXPECT_EQ(ClassifyPrefabContent(newer + "RMF"), PrefabFileType::Unknown);

    EXPECT_EQ(ClassifyPrefabContent("[Script]\nstuff\n"), PrefabFileType::ObjectScript);
    EXPECT_EQ(ClassifyPrefabContent("// comment\n\n  {\n\"classname\" \"worldspawn\"\n}\n"),
              PrefabFileType::Map);
    std::string lateBrace;
    for (int i = 0; i < 499; ++i) {
        lateBrace += "x\n";
    }
    EXPECT_EQ(ClassifyPrefabContent(lateBrace + "{\n"), PrefabFileType::Map);
    EXPECT_EQ(ClassifyPrefabContent("x\n" + lateBrace + "{\n"), PrefabFileType::Unknown);
    EXPECT_EQ(ClassifyPrefabContent(""), PrefabFileType::Unknown);
    EXPECT_EQ(ClassifyPrefabContent("text { not at the start"), PrefabFileType::Unknown);
}

class PrefabImportExportTest : public PrefabTest {
protected:
    std::string WriteMapFileOf(const std::string& name, const CMapWorld& map, bool rmf) {
        const std::string path = (root / name).string();
        EXPECT_EQ(rmf ? WriteRmfFile(map, path) : WriteMapFile(map, path), 0);
        return path;
    }
};

TEST_F(PrefabImportExportTest, ExtensionsDecideInAnyCaseAndObjectScriptIsSkipped) {
    auto two = BoxesMap(2);
    const std::string rmfUpper = WriteMapFileOf("Stairs.RMF", *two, true);
    const std::string mapLower = WriteMapFileOf("pillar.map", *BoxesMap(1), false);
    const std::string script = (root / "thing.OS").string();
    WriteBytes(script, "[Script]\n{\n}\n");
    const std::string rmfAsDat = WriteMapFileOf("arch.dat", *BoxesMap(3), true);
    const std::string junk = (root / "notes.txt").string();
    WriteBytes(junk, "nothing to see\n");
    EXPECT_EQ(ClassifyPrefabFile(rmfUpper), PrefabFileType::Rmf);
    EXPECT_EQ(ClassifyPrefabFile(script), PrefabFileType::ObjectScript);
    EXPECT_EQ(ClassifyPrefabFile(rmfAsDat), PrefabFileType::Rmf);
    EXPECT_EQ(ClassifyPrefabFile(junk), PrefabFileType::Unknown);

    CPrefabLibrary* library = Registry().LoadDefaultLibrary();
    ASSERT_NE(library, nullptr);
    Registry().cacheSize = 1;
    EXPECT_EQ(ImportPrefabFiles(*library, {rmfUpper, script, mapLower, junk, rmfAsDat}), 3);
    EXPECT_TRUE(Registry().CacheEnabled());
    EXPECT_TRUE(Registry().Cache().empty());
    ASSERT_EQ(library->PrefabCount(), 3);
    EXPECT_EQ(library->Prefabs()[0]->Name(), "Stairs");
    EXPECT_EQ(library->Prefabs()[1]->Name(), "pillar");
    EXPECT_EQ(library->Prefabs()[2]->Name(), "arch");
    EXPECT_EQ(library->Prefabs()[0]->Notes(), "");
    for (const auto& prefab : library->Prefabs()) {
        EXPECT_FALSE(prefab->IsLoaded());
    }
    // The library was written: a fresh load finds the maps.
    CPrefabLibrary fresh;
    ASSERT_EQ(fresh.Load(library->Path()), 1);
    ASSERT_EQ(fresh.PrefabCount(), 3);
    ASSERT_TRUE(library->Prefabs()[0]->EnsureLoaded());
    EXPECT_EQ(library->Prefabs()[0]->Map()->Children().size(), 2u);
    ASSERT_TRUE(library->Prefabs()[1]->EnsureLoaded());
    EXPECT_EQ(library->Prefabs()[1]->Map()->Children().size(), 1u);
}

TEST_F(PrefabImportExportTest, ExportWritesMapOrRmfByTheFirstExtensionAndCancelStops) {
    CPrefabLibrary* library = Registry().LoadDefaultLibrary();
    CPrefab* a = AddPrefab(*library, "a", BoxesMap(2));
    CPrefab* b = AddPrefab(*library, "b", BoxesMap(1));
    CPrefab* c = AddPrefab(*library, "c", BoxesMap(1));
    const std::string asMap = (root / "out.MAP.bak").string();
    const std::string asRmf = (root / "noext").string();
    prompts.texts = {asMap, asRmf + ".rmf", std::nullopt};
    EXPECT_EQ(ExportPrefabs({a, b, c, a}), 2);
    EXPECT_EQ(prompts.shown.size(), 3u);
    const std::string text = ReadBytes(asMap);
    EXPECT_NE(text.find("\"classname\" \"worldspawn\""), std::string::npos);
    EXPECT_EQ(ReadBytes(asRmf + ".rmf").substr(4, 3), "RMF");

    // A name without extension gets ".map".
    prompts.texts = {asRmf};
    EXPECT_EQ(ExportPrefabs({b}), 1);
    EXPECT_NE(ReadBytes(asRmf + ".map").find("worldspawn"), std::string::npos);

    auto lost = std::make_unique<CPrefab>();
    lost->SetName("lost");
    CPrefab* orphan = library->AddPrefab(std::move(lost));
    prompts.shown.clear();
    EXPECT_EQ(ExportPrefab(*orphan, (root / "lost.map").string()), -1);
    EXPECT_TRUE(prompts.Showed("Couldn't Load prefab to Save it."));
    EXPECT_FALSE(std::filesystem::exists(root / "lost.map"));
}

} // namespace
