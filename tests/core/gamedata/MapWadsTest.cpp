#include "document/MapWads.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "session/GameDataStartup.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWad(const fs::path& path, std::initializer_list<const char*> names) {
    fs::create_directories(path.parent_path());
    Wad2Writer writer;
    for (const char* name : names) {
        writer.AddTexture(name, 16, 16, {std::vector<std::uint8_t>(256, 7), {}, {}, {}});
    }
    ASSERT_TRUE(writer.Save(path.string()));
}

std::string WadLine(const std::string& text) {
    const std::size_t at = text.find("\"wad\" \"");
    if (at == std::string::npos) {
        return "(none)";
    }
    const std::size_t start = at + 7;
    return text.substr(start, text.find('"', start) - start);
}

std::vector<std::string> ErrorLines() {
    std::vector<std::string> lines;
    for (const MessageLog::Line& line : Editor().messages.Lines()) {
        if (line.kind == MessageLog::Error) {
            lines.push_back(line.text);
        }
    }
    return lines;
}

// A Quake folder with gfx/base.wad in id1, the program folder with the shipped WAD, and a
// map folder; the shipped WAD is the configured one.
class MapWadsTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    fs::path root;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mapwads-XXXXXX").string();
        root = mkdtemp(pattern.data());
        WriteWad(root / "quake" / "id1" / "gfx" / "base.wad", {"BRICK", "floor"});
        WriteWad(root / "program" / "textures.wad", {"SHIPPED"});
        fs::create_directories(root / "maps");
        EditorContext& editor = context.Context();
        editor.SetPrompts(&prompts);
        editor.programDirectory = (root / "program").string();
        editor.options.quakeDirectory = (root / "quake").string();
        editor.options.textureFiles = {"textures.wad"};
        LoadTextureFiles(editor.options.textureFiles);
    }
    void TearDown() override { fs::remove_all(root); }

    // A map whose one box has its faces in these textures, naming wad.
    void WriteMap(const fs::path& path, const std::string& wad,
                  std::initializer_list<const char*> textures) {
        CMapWorld world;
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        ASSERT_TRUE(solid->CreateFromPlanes());
        int face = 0;
        for (const char* texture : textures) {
            solid->Face(face++).SetTextureName(texture);
        }
        world.AddChild(solid);
        world.SetKeyValue("wad", wad);
        std::string text;
        ASSERT_EQ(WriteMapData(world, text), 0);
        std::ofstream(path, std::ios::binary) << text;
    }
};

TEST_F(MapWadsTest, EntriesAreFoundBesideTheMapInTheQuakeFolderAndBesideTheProgram) {
    WadSearchPlaces places{(root / "maps").string(), (root / "quake").string(),
                           (root / "program").string()};
    const std::string base = (root / "quake" / "id1" / "gfx" / "base.wad").string();
    EXPECT_EQ(FindMapWad("gfx/base.wad", places), base);
    EXPECT_EQ(FindMapWad("id1\\gfx\\base.wad", places), base);
    EXPECT_EQ(FindMapWad("textures.wad", places), (root / "program" / "textures.wad").string());
    // A folder of another machine: the file name is looked for in the same places.
    EXPECT_EQ(FindMapWad("C:\\quake\\id1\\textures.wad", places),
              (root / "program" / "textures.wad").string());
    EXPECT_EQ(FindMapWad("/home/someone/quake/nothing.wad", places), "");
    // The map's folder comes first.
    WriteWad(root / "maps" / "textures.wad", {"LOCAL"});
    EXPECT_EQ(FindMapWad("textures.wad", places), (root / "maps" / "textures.wad").string());
    EXPECT_EQ(SplitWadList(" a.wad ;;b.wad;"), (std::vector<std::string>{"a.wad", "b.wad"}));
}

TEST_F(MapWadsTest, AReadMapLoadsItsWadsKeepsItsListAndSaysWhatIsMissing) {
    const fs::path source = root / "maps" / "room.map";
    WriteMap(source, "gfx/base.wad;missing.wad",
             {"BRICK", "FLOOR", "NOWHERE1", "NOWHERE2", "BRICK", "BRICK"});
    CMapDoc doc;
    ASSERT_TRUE(doc.OpenDocument(source.string()));
    EXPECT_FALSE(doc.IsModified());

    // One red line per WAD not found, and one for the textures no WAD holds.
    const std::vector<std::string> errors = ErrorLines();
    ASSERT_EQ(errors.size(), 2u) << (errors.empty() ? "" : errors[0]);
    EXPECT_NE(errors[0].find("missing.wad was not found"), std::string::npos) << errors[0];
    EXPECT_EQ(errors[1], "2 textures of this map are in no loaded WAD: NOWHERE1, NOWHERE2");
    // The faces show the map's own textures.
    const auto* solid = static_cast<CMapSolid*>(doc.World()->Children().front());
    ASSERT_NE(solid->Face(0).Texture(), nullptr);
    EXPECT_EQ(solid->Face(0).Texture()->width, 16);
    EXPECT_EQ(solid->Face(1).Texture()->width, 16);
    EXPECT_EQ(Editor().TextureCatalogue().WadCount(), 2);

    // Through RMF and back to MAP beside the source: the list as the map had it.
    const fs::path rmf = root / "maps" / "room.rmf";
    ASSERT_TRUE(doc.SaveDocument(rmf.string()));
    CMapDoc again;
    ASSERT_TRUE(again.OpenDocument(rmf.string()));
    EXPECT_EQ(Editor().TextureCatalogue().WadCount(), 2) << "the same WAD is not read twice";
    ASSERT_TRUE(again.ExportMap((root / "quake" / "id1" / "room.map").string(), false));
    const std::string text = Contents(root / "quake" / "id1" / "room.map");
    EXPECT_EQ(WadLine(text), "gfx/base.wad;missing.wad");
    EXPECT_EQ(text.find("\"wad\""), text.rfind("\"wad\"")) << "one wad line";

    // Written elsewhere, the entry the tools would not find from there names the file.
    const fs::path elsewhere = root / "elsewhere";
    fs::create_directories(elsewhere);
    ASSERT_TRUE(again.ExportMap((elsewhere / "room.map").string(), false));
    const std::string base = (root / "quake" / "id1" / "gfx" / "base.wad").string();
    EXPECT_EQ(WadLine(Contents(elsewhere / "room.map")), base + ";missing.wad");
    // A moved map still names findable files when read again from there.
    const int wads = Editor().TextureCatalogue().WadCount();
    CMapDoc moved;
    ASSERT_TRUE(moved.OpenDocument((elsewhere / "room.map").string()));
    EXPECT_EQ(Editor().TextureCatalogue().WadCount(), wads);

    // A texture from the configured WAD brings that WAD along, by its full path.
    static_cast<CMapSolid*>(again.World()->Children().front())->Face(2).SetTextureName("shipped");
    ASSERT_TRUE(again.ExportMap((elsewhere / "room.map").string(), false));
    EXPECT_EQ(WadLine(Contents(elsewhere / "room.map")),
              base + ";missing.wad;" + (root / "program" / "textures.wad").string());
}

TEST_F(MapWadsTest, ANewMapNamesTheConfiguredWadsByTheirFullPaths) {
    CMapDoc doc;
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid->CreateFromPlanes());
    doc.World()->AddChild(solid);
    ASSERT_TRUE(doc.ExportMap((root / "maps" / "new.map").string(), false));
    EXPECT_EQ(WadLine(Contents(root / "maps" / "new.map")),
              (root / "program" / "textures.wad").string());
    EXPECT_FALSE(doc.World()->GetKeyValue("wad")) << "the export leaves the map as it was";
}

} // namespace
