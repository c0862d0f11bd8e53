#include "GameDataTestSupport.h"
#include "gamedata/TextureManager.h"
#include "session/GameDataStartup.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {
const std::filesystem::path kBin = BRICKHAVEN_BIN_DIR;

struct MapBrush {
    std::vector<std::array<std::array<double, 3>, 3>> planes;
    std::vector<std::string> textures;
};

struct MapEntity {
    std::map<std::string, std::string> keys;
    std::vector<MapBrush> brushes;
};

// Just enough of the MAP format to look at the shipped example.
std::vector<MapEntity> ReadMap(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::vector<MapEntity> entities;
    std::string line;
    int depth = 0;
    while (std::getline(file, line)) {
        if (line.rfind("//", 0) == 0 || line.empty()) {
            continue;
        }
        if (line == "{") {
            ++depth;
            if (depth == 1) {
                entities.emplace_back();
            } else {
                entities.back().brushes.emplace_back();
            }
        } else if (line == "}") {
            --depth;
        } else if (line[0] == '"') {
            auto second = line.find('"', 1);
            auto third = line.find('"', second + 1);
            entities.back().keys[line.substr(1, second - 1)] =
                line.substr(third + 1, line.size() - third - 2);
        } else if (line[0] == '(') {
            std::istringstream in(line);
            std::array<std::array<double, 3>, 3> points{};
            std::string paren;
            for (auto& p : points) {
                in >> paren >> p[0] >> p[1] >> p[2] >> paren;
            }
            std::string texture;
            in >> texture;
            entities.back().brushes.back().planes.push_back(points);
            entities.back().brushes.back().textures.push_back(texture);
        }
    }
    return entities;
}

struct Box {
    std::array<double, 3> min{1e9, 1e9, 1e9};
    std::array<double, 3> max{-1e9, -1e9, -1e9};
};

Box BoundsOf(const MapBrush& brush) {
    Box box;
    for (const auto& plane : brush.planes) {
        for (const auto& p : plane) {
            for (int i = 0; i < 3; ++i) {
                box.min[i] = std::min(box.min[i], p[i]);
                box.max[i] = std::max(box.max[i], p[i]);
            }
        }
    }
    return box;
}
} // namespace

class ShippedContentTest : public GameDataFixture {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kBin / "quake.ymx")) {
            GTEST_SKIP() << "shipped content not built in " << kBin;
        }
        scoped.Context().programDirectory = kBin.string();
    }
};

TEST_F(ShippedContentTest, GameDataLoadsWithoutErrorAndServesTheLookup) {
    ASSERT_TRUE(LoadGameData("quake.ymx"));
    EXPECT_EQ(scoped.Context().messages.Count(), 0u);
    EXPECT_TRUE(prompts.shown.empty());
    GameDataSet& data = scoped.Context().GameData();
    EXPECT_EQ(data.Name(), "Quake");
    EXPECT_TRUE(data.Palette().IsLoaded());
    EXPECT_EQ(scoped.Context().entityClasses, &data);

    const EntityClassDef* start = scoped.Context().entityClasses->FindClass("info_player_start");
    ASSERT_NE(start, nullptr);
    EXPECT_TRUE(start->IsPointClass());
    EXPECT_EQ(start->boxMin, Vector(-16, -16, -24));
    EXPECT_EQ(start->boxMax, Vector(16, 16, 32));
    const EntityClassDef* fallback = scoped.Context().entityClasses->FindClass(
        scoped.Context().entityClasses->DefaultClassName());
    ASSERT_NE(fallback, nullptr);
    EXPECT_TRUE(fallback->IsSolidClass());

    for (const char* name : {"worldspawn",
                             "light",
                             "monster_army",
                             "monster_shambler",
                             "item_health",
                             "weapon_rocketlauncher",
                             "item_key1",
                             "item_artifact_super_damage",
                             "func_door",
                             "func_button",
                             "func_plat",
                             "func_train",
                             "func_wall",
                             "func_illusionary",
                             "func_door_secret",
                             "trigger_multiple",
                             "trigger_once",
                             "trigger_teleport",
                             "trigger_changelevel",
                             "path_corner",
                             "info_teleport_destination",
                             "misc_fireball",
                             "ambient_drip",
                             "trap_spikeshooter"}) {
        EXPECT_NE(data.FindClass(name), nullptr) << name;
    }
    const EntityClassDef* door = data.FindClass("func_door");
    const ClassVariable* flags = door->FindVariable("spawnflags");
    ASSERT_NE(flags, nullptr);
    ASSERT_NE(flags->ItemCaption(2048), nullptr) << "inherited from the appearance flags";
    const ClassVariable* sounds = door->FindVariable("sounds");
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(sounds->type, VariableType::Choices);
    for (const auto& entityClass : data.Classes()) {
        EXPECT_LE(entityClass->SlotCount(), 32);
        if (!entityClass->isBase) {
            EXPECT_TRUE(entityClass->hasColor || entityClass->isSolid) << entityClass->name;
        }
    }
}

TEST_F(ShippedContentTest, PaletteAndTexturesAreComplete) {
    EXPECT_EQ(std::filesystem::file_size(kBin / "quake.pal"), 768u);
    ASSERT_TRUE(LoadGameData("quake.ymx"));
    LoadTextureFiles({"textures.wad"});
    TextureManager& textures = scoped.Context().TextureCatalogue();
    EXPECT_EQ(scoped.Context().textures, &textures);
    ASSERT_GE(textures.TextureCount(), 40);
    for (const char* name : {"*water", "*slime", "*lava", "sky", "trigger", "clip", "+0button",
                             "+1button", "+0screen"}) {
        EXPECT_NE(textures.FindTexture(name, false), nullptr) << name;
    }
    bool notPowerOfTwo = false;
    int smallest = 1 << 20;
    int largest = 0;
    for (int i = 0; i < textures.TextureCount(); ++i) {
        QuakeGraphic* texture = textures.TextureAt(i);
        EXPECT_EQ(texture->width % 16, 0) << texture->name;
        EXPECT_EQ(texture->height % 16, 0) << texture->name;
        smallest = std::min({smallest, texture->width, texture->height});
        largest = std::max({largest, texture->width, texture->height});
        notPowerOfTwo = notPowerOfTwo || (texture->width & (texture->width - 1)) != 0;
        const TextureImage* image = textures.GetScaledImage(*texture);
        ASSERT_NE(image, nullptr) << texture->name;
        // Drawn pictures: more than a handful of distinct colours.
        std::set<std::uint8_t> indices(texture->naturalPixels.begin(),
                                       texture->naturalPixels.end());
        EXPECT_GE(indices.size(), 3u) << texture->name;
    }
    EXPECT_EQ(smallest, 16);
    EXPECT_EQ(largest, 256);
    EXPECT_TRUE(notPowerOfTwo);
}

TEST_F(ShippedContentTest, ExampleMapIsSealedAndUsesShippedTexturesAndClasses) {
    ASSERT_TRUE(LoadGameData("quake.ymx"));
    LoadTextureFiles({"textures.wad"});
    auto entities = ReadMap(kBin / "maps" / "example.map");
    ASSERT_GE(entities.size(), 5u);
    ASSERT_EQ(entities[0].keys["classname"], "worldspawn");

    std::set<std::string> classes;
    std::array<double, 3> start{};
    bool hasStart = false;
    int lights = 0;
    for (auto& entity : entities) {
        const std::string& name = entity.keys["classname"];
        classes.insert(name);
        EXPECT_NE(scoped.Context().GameData().FindClass(name), nullptr) << name;
        if (name == "info_player_start") {
            std::istringstream(entity.keys["origin"]) >> start[0] >> start[1] >> start[2];
            hasStart = true;
        }
        lights += name == "light";
        for (const MapBrush& brush : entity.brushes) {
            ASSERT_EQ(brush.planes.size(), 6u);
            Box box = BoundsOf(brush);
            for (std::size_t f = 0; f < brush.planes.size(); ++f) {
                EXPECT_FALSE(scoped.Context().TextureCatalogue().FindTexture(brush.textures[f],
                                                                             false) == nullptr)
                    << brush.textures[f];
                // (p0 - p1) x (p2 - p1) must point away from the brush's centre.
                const auto& p = brush.planes[f];
                std::array<double, 3> u{}, v{}, centre{};
                for (int i = 0; i < 3; ++i) {
                    u[i] = p[0][i] - p[1][i];
                    v[i] = p[2][i] - p[1][i];
                    centre[i] = (box.min[i] + box.max[i]) / 2 - p[1][i];
                }
                std::array<double, 3> n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                           u[0] * v[1] - u[1] * v[0]};
                EXPECT_LT(n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2], 0.0);
            }
        }
    }
    EXPECT_TRUE(hasStart);
    EXPECT_GE(lights, 3);
    std::set<std::string> liquids;
    for (const MapBrush& brush : entities[0].brushes) {
        if (brush.textures[0][0] == '*') {
            liquids.insert(brush.textures[0]);
        }
    }
    EXPECT_EQ(liquids, (std::set<std::string>{"*lava", "*slime", "*water"}));

    // Flood the air from the player start on a 16-unit grid: world brushes other than liquids
    // block it; reaching the edge of the grid would be a leak.
    std::vector<Box> solids;
    Box all;
    for (const MapBrush& brush : entities[0].brushes) {
        Box box = BoundsOf(brush);
        for (int i = 0; i < 3; ++i) {
            all.min[i] = std::min(all.min[i], box.min[i]);
            all.max[i] = std::max(all.max[i], box.max[i]);
        }
        if (brush.textures[0][0] != '*') {
            solids.push_back(box);
        }
    }
    const double cell = 16;
    std::array<int, 3> size{};
    for (int i = 0; i < 3; ++i) {
        all.min[i] -= cell;
        size[i] = static_cast<int>((all.max[i] + cell - all.min[i]) / cell);
    }
    auto index = [&](int x, int y, int z) { return (z * size[1] + y) * size[0] + x; };
    std::vector<char> state(static_cast<std::size_t>(size[0] * size[1] * size[2]), 0);
    for (int z = 0; z < size[2]; ++z) {
        for (int y = 0; y < size[1]; ++y) {
            for (int x = 0; x < size[0]; ++x) {
                std::array<double, 3> c = {all.min[0] + (x + 0.5) * cell,
                                           all.min[1] + (y + 0.5) * cell,
                                           all.min[2] + (z + 0.5) * cell};
                for (const Box& b : solids) {
                    if (c[0] > b.min[0] && c[0] < b.max[0] && c[1] > b.min[1] && c[1] < b.max[1] &&
                        c[2] > b.min[2] && c[2] < b.max[2]) {
                        state[static_cast<std::size_t>(index(x, y, z))] = 1;
                        break;
                    }
                }
            }
        }
    }
    std::vector<std::array<int, 3>> stack;
    std::array<int, 3> first{};
    for (int i = 0; i < 3; ++i) {
        first[i] = static_cast<int>((start[i] - all.min[i]) / cell);
    }
    ASSERT_EQ(state[static_cast<std::size_t>(index(first[0], first[1], first[2]))], 0)
        << "the player start is inside a wall";
    stack.push_back(first);
    bool leak = false;
    while (!stack.empty() && !leak) {
        auto [x, y, z] = stack.back();
        stack.pop_back();
        char& s = state[static_cast<std::size_t>(index(x, y, z))];
        if (s != 0) {
            continue;
        }
        s = 2;
        if (x == 0 || y == 0 || z == 0 || x == size[0] - 1 || y == size[1] - 1 ||
            z == size[2] - 1) {
            leak = true;
            break;
        }
        for (auto d : {std::array<int, 3>{1, 0, 0},
                       {-1, 0, 0},
                       {0, 1, 0},
                       {0, -1, 0},
                       {0, 0, 1},
                       {0, 0, -1}}) {
            stack.push_back({x + d[0], y + d[1], z + d[2]});
        }
    }
    EXPECT_FALSE(leak) << "the example map leaks";
    // Every point entity stands in air reached from the start.
    for (auto& entity : entities) {
        if (entity.brushes.empty() && entity.keys.count("origin")) {
            std::array<double, 3> o{};
            std::istringstream(entity.keys["origin"]) >> o[0] >> o[1] >> o[2];
            int x = static_cast<int>((o[0] - all.min[0]) / cell);
            int y = static_cast<int>((o[1] + 1 - all.min[1]) / cell);
            int z = static_cast<int>((o[2] + 1 - all.min[2]) / cell);
            EXPECT_EQ(state[static_cast<std::size_t>(index(x, y, z))], 2)
                << entity.keys["classname"] << " at " << entity.keys["origin"];
        }
    }
}
