#include "FormatTestSupport.h"

#include "document/FileReport.h"
#include "formats/MapNumbers.h"
#include "formats/MapTextWriter.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "support/SolidBuilders.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class MapWriteTest : public FormatTest {
protected:
    static CMapSolid* Box(const Vector& lo, const Vector& hi, const std::string& texture = "WALL") {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, lo, hi);
        EXPECT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        solid->SetTexture(texture);
        return solid;
    }
    static CMapEntity* PointEntity(const std::string& className, const Vector& origin) {
        auto* entity = new CMapEntity;
        entity->SetPointEntity(true);
        entity->SetClass(className);
        entity->SetOrigin(origin);
        return entity;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(MapWriteTest, WritesTheWorldThenTheEntitiesLineByLine) {
    context.Context().options.textureFiles = {"quake.wad", "/maps/extra.wad"};
    context.Context().programDirectory = "/opt/tarno";
    CMapWorld world;
    world.SetKeyValue("message", std::string("Test"));
    world.AddChild(Box({0, 0, 0}, {64, 32, 16}));
    CMapEntity* light = PointEntity("light", {16, -8, 24});
    light->SetAngle(90);
    light->SetSpawnFlags(1);
    light->SetKeyValue("light", std::string("200"));
    light->SetKeyValue("", std::string("no key"));
    world.AddChild(light);

    EXPECT_EQ(MapText(world), "{\n"
                              "\"classname\" \"worldspawn\"\n"
                              "\"message\" \"Test\"\n"
                              // The configured files by their full paths, for the tools.
                              "\"wad\" \"/opt/tarno/quake.wad;/maps/extra.wad\"\n"
                              "{\n"
                              "( 0 0 16 ) ( 0 32 16 ) ( 64 32 16 ) WALL 0 0 0 1.000000 1.000000\n"
                              "( 0 32 0 ) ( 0 0 0 ) ( 64 0 0 ) WALL 0 0 0 1.000000 1.000000\n"
                              "( 64 0 0 ) ( 64 0 16 ) ( 64 32 16 ) WALL 0 0 0 1.000000 1.000000\n"
                              "( 0 0 16 ) ( 0 0 0 ) ( 0 32 0 ) WALL 0 0 0 1.000000 1.000000\n"
                              "( 0 32 0 ) ( 64 32 0 ) ( 64 32 16 ) WALL 0 0 0 1.000000 1.000000\n"
                              "( 64 0 0 ) ( 0 0 0 ) ( 0 0 16 ) WALL 0 0 0 1.000000 1.000000\n"
                              "}\n"
                              "}\n"
                              "{\n"
                              "\"classname\" \"light\"\n"
                              "\"angle\" \"90\"\n"
                              "\"spawnflags\" \"1\"\n"
                              "\"light\" \"200\"\n"
                              "\"origin\" \"16 -8 24\"\n"
                              "}\n");
}

TEST_F(MapWriteTest, NumbersThatAreNotWholeReadBackExactly) {
    CMapWorld world;
    CMapSolid* solid = Box({0, 0, 0}, {64, 64, 64});
    solid->TransRotate({0, 0, 0}, {0, 0, 33.3f});
    solid->Face(0).SetShift(0.1, -7);
    solid->Face(0).SetRotation(22.5f);
    solid->Face(0).SetScale(0.3333333, 1);
    world.AddChild(solid);
    world.AddChild(PointEntity("light", {12.4f, -0.75f, 1e-3f}));

    const std::string text = MapText(world);
    EXPECT_NE(text.find("WALL 0.1 -7 22.5 0.3333333 1.000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"origin\" \"12.4 -0.75 0.001\"\n"), std::string::npos) << text;

    auto loaded = LoadMap(text);
    auto* copy = static_cast<CMapSolid*>(loaded->Children().front());
    ASSERT_EQ(copy->FaceCount(), solid->FaceCount());
    for (int i = 0; i < solid->FaceCount(); ++i) {
        EXPECT_EQ(copy->Face(i).PlanePoints(), solid->Face(i).PlanePoints()) << i;
    }
    EXPECT_EQ(copy->Face(0).ShiftX(), 0.1);
    EXPECT_EQ(copy->Face(0).ScaleX(), 0.3333333);
    EXPECT_EQ(static_cast<CMapEntity*>(loaded->Children().back())->Origin(),
              (Vector{12.4f, -0.75f, 1e-3f}));
    EXPECT_EQ(MapText(*loaded), text);
}

TEST_F(MapWriteTest, WholeNumbersKeepTheirShortForm) {
    for (float value : {0.0f, -0.0f, 12.0f, -4096.0f, 16777216.0f, 1e20f}) {
        std::string out;
        AppendMapNumber(out, value);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.0f", static_cast<double>(value));
        EXPECT_EQ(out, expected);
    }
    for (float value : {0.1f, 1.0f / 3.0f, -1234.5678f, 1e-30f, 8191.999f}) {
        std::string out;
        AppendMapNumber(out, value);
        float back = 0;
        std::from_chars(out.data(), out.data() + out.size(), back);
        EXPECT_EQ(back, value) << out;
        EXPECT_EQ(out.find('e'), std::string::npos) << out;
    }
}

TEST_F(MapWriteTest, GroupsAreFlattenedAndEntitiesFollowTheWorld) {
    CMapWorld world;
    auto* group = new CMapGroup;
    group->AddChild(Box({0, 0, 0}, {8, 8, 8}, "FIRST"));
    group->AddChild(Box({16, 0, 0}, {24, 8, 8}, "SECOND"));
    group->AddChild(PointEntity("info_null", {0, 0, 0}));
    world.AddChild(group);
    const std::string text = MapText(world);
    const std::size_t first = text.find("FIRST");
    const std::size_t second = text.find("SECOND");
    const std::size_t worldEnd = text.find("}\n}\n");
    const std::size_t entity = text.find("info_null");
    EXPECT_LT(first, second);
    EXPECT_LT(second, worldEnd);
    EXPECT_LT(worldEnd, entity);
    EXPECT_NE(text.find("\"wad\" \"\"\n"), std::string::npos);
}

TEST_F(MapWriteTest, VisibleOnlySkipsWhatTheFilterHides) {
    CMapWorld world;
    auto* door = new CMapEntity;
    door->SetClass("func_door");
    door->AddChild(Box({0, 0, 0}, {8, 8, 8}, "INSIDE"));
    door->AddChild(Box({100, 0, 0}, {108, 8, 8}, "OUTSIDE"));
    world.AddChild(door);
    CMapSolid* hidden = Box({0, 0, 0}, {8, 8, 8}, "HIDDEN");
    world.AddChild(hidden);
    hidden->SetShown(false);
    FilterRecord region;
    region.mins = {-10, -10, -10};
    region.maxs = {50, 50, 50};
    region.active = true;
    world.FilterRecords().push_back(region);
    world.UpdateVisibleObjects(FILTER_REGION);

    const std::string all = MapText(world);
    EXPECT_NE(all.find("OUTSIDE"), std::string::npos);
    EXPECT_NE(all.find("HIDDEN"), std::string::npos);
    const std::string visible = MapText(world, true);
    EXPECT_NE(visible.find("INSIDE"), std::string::npos);
    EXPECT_EQ(visible.find("OUTSIDE"), std::string::npos);
    EXPECT_EQ(visible.find("HIDDEN"), std::string::npos);
}

TEST_F(MapWriteTest, FacesWithoutPolygonsStayAndBreakingCharactersAreKeptOut) {
    CMapWorld world;
    CMapSolid* solid = Box({0, 0, 0}, {8, 8, 8});
    solid->Face(5).ClearPoints();
    FaceTextureInfo info = solid->Face(0).TextureInfo();
    std::memcpy(info.name, "TWO WORDS", 10);
    solid->Face(0).SetTextureInfo(info);
    world.AddChild(solid);
    world.SetKeyValue("message", std::string("say \"hi\"\nnow"));
    const std::string text = MapText(world);
    EXPECT_NE(text.find("\"message\" \"say 'hi' now\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" TWO_WORDS "), std::string::npos) << text;
    auto loaded = LoadMap(text);
    EXPECT_FALSE(lastRead.parseErrors);
    // The face without a polygon still has its plane, which bounds the solid.
    EXPECT_EQ(static_cast<CMapSolid*>(loaded->Children().front())->FaceCount(), 6);
}

TEST_F(MapWriteTest, AFailedWriteShowsTheOsErrorAndKeepsTheOldFile) {
    CMapWorld world;
    world.AddChild(Box({0, 0, 0}, {8, 8, 8}));
    const FileResult failed = MapTextWriter::Write(
        world, [](std::string_view) { return false; }, MapWriteOptions{});
    EXPECT_FALSE(failed.Ok());
    TellFileResult(failed, "/maps/target.map");
    EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"The OS reported an error saving "
                                                           "the file: /maps/target.map"});

    const auto dir = std::filesystem::temp_directory_path() / "brickhaven-map-write-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "target.map");
    std::ofstream(dir / "target.map" / "keep") << "old";
    prompts.shown.clear();
    EXPECT_EQ(WriteMapFile(world, (dir / "target.map").string()), -1);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_TRUE(prompts.Messages()[0].starts_with(
        "The OS reported an error saving the file: " + (dir / "target.map").string() + "\n"))
        << prompts.Messages()[0];
    EXPECT_EQ(ReadFile((dir / "target.map" / "keep").string()), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);

    // A good save replaces the file as a whole.
    const std::string path = (dir / "good.map").string();
    std::ofstream(path) << "old content";
    EXPECT_EQ(WriteMapFile(world, path), 0);
    EXPECT_EQ(ReadFile(path), MapText(world));
    std::filesystem::remove_all(dir);
}

} // namespace
