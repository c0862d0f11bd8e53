#include "FormatTestSupport.h"

#include "mapobjects/MapEntity.h"
#include "mapobjects/MapInformation.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/TreeWalk.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> CorpusMaps() {
    std::vector<std::string> paths;
    if (!std::filesystem::is_directory(CorpusDir())) {
        return paths;
    }
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir())) {
        if (entry.path().extension() == ".map") {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// What a map holds, object by object, in tree order: keyvalues, origins, faces with their
// plane points and textures, those whose polygon was clipped away included; withPolygons
// adds every polygon (which MAP files leave to the planes).
std::vector<std::string> Contents(const CMapWorld& world, bool withPolygons = false) {
    std::vector<std::string> lines;
    auto keyValues = [&lines](const CEditGameClass& object) {
        lines.push_back(object.ClassName() + " " + std::to_string(object.Angle()) + " " +
                        std::to_string(object.SpawnFlags()));
        for (const auto& pair : object.KeyValues()) {
            lines.push_back(pair.key + "=" + pair.value);
        }
    };
    keyValues(world);
    EnumChildren(world, [&](CMapClass* object) {
        if (object->IsType(kTypeMapEntity)) {
            auto* entity = static_cast<CMapEntity*>(object);
            keyValues(*entity);
            std::ostringstream origin;
            origin << entity->IsPointEntity() << " " << entity->Origin().x << " "
                   << entity->Origin().y << " " << entity->Origin().z;
            lines.push_back(origin.str());
        } else if (object->IsType(kTypeMapSolid)) {
            auto* solid = static_cast<CMapSolid*>(object);
            lines.push_back("solid");
            for (const CMapFace& face : solid->Faces()) {
                std::ostringstream text;
                text.precision(9);
                for (const Vector3d& p : face.PlanePoints()) {
                    text << p.x << " " << p.y << " " << p.z << " ";
                }
                text << face.TextureName() << " " << face.ShiftX() << " " << face.ShiftY() << " "
                     << face.Rotation() << " " << face.ScaleX() << " " << face.ScaleY();
                for (int i = 0; withPolygons && i < face.PointCount(); ++i) {
                    text << " " << face.Point(i).x << " " << face.Point(i).y << " "
                         << face.Point(i).z;
                }
                lines.push_back(text.str());
            }
        }
        return true;
    });
    return lines;
}

// The first entry where two listings part, for a readable failure.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (left == a.end() && right == b.end()) {
        return "same";
    }
    return "entry " + std::to_string(left - a.begin()) + ": \"" + (left == a.end() ? "" : *left) +
           "\" vs \"" + (right == b.end() ? "" : *right) + "\"";
}

class CorpusRoundTripTest : public FormatTest {
protected:
    void SetUp() override {
        FormatTest::SetUp();
        if (CorpusMaps().empty()) {
            GTEST_SKIP() << "the map corpus is not present at " << CorpusDir();
        }
    }
    std::unique_ptr<CMapWorld> LoadFile(const std::string& path) {
        auto world = std::make_unique<CMapWorld>();
        EXPECT_EQ(ReadMapFile(*world, path, nullptr, &lastRead), 0) << path;
        return world;
    }
};

TEST_F(CorpusRoundTripTest, EveryMapLoads) {
    for (const std::string& path : CorpusMaps()) {
        prompts.shown.clear();
        auto world = LoadFile(path);
        const MapInformation info = CountMapInformation(*world);
        EXPECT_GT(info.solids, 0) << path;
        // Two solids of this map are slivers: one whose faces fail the face check, and one
        // whose exact plane points enclose no space.
        const int expectedDrops = path.ends_with("/q2_missing_faces2.map") ? 2 : 0;
        std::string reported;
        for (const auto& error : lastRead.errors) {
            reported += error.message + "\n";
        }
        EXPECT_EQ(lastRead.droppedSolids, expectedDrops) << path << "\n" << reported;
        EXPECT_EQ(lastRead.parseErrors, expectedDrops != 0) << path;
    }
}

TEST_F(CorpusRoundTripTest, WrittenMapsReadBackTheSameInBothFormats) {
    for (const std::string& path : CorpusMaps()) {
        auto original = LoadFile(path);
        const std::string mapText = MapText(*original);
        const std::vector<std::string> contents = Contents(*original);

        // MAP -> MAP: the same text again, and the same contents.
        auto fromMap = LoadMap(mapText);
        EXPECT_EQ(MapText(*fromMap), mapText) << path;
        EXPECT_EQ(FirstDifference(Contents(*fromMap), contents), "same") << path;

        // MAP -> RMF -> MAP: the same text as MAP -> MAP.
        const std::string rmf = RmfBytes(*original);
        auto fromRmf = std::make_unique<CMapWorld>();
        ASSERT_EQ(ReadRmfData(*fromRmf, rmf, path), 0) << path;
        EXPECT_EQ(MapText(*fromRmf), mapText) << path;
        EXPECT_EQ(FirstDifference(Contents(*fromRmf, true), Contents(*original, true)), "same")
            << path;

        // RMF -> RMF: the same bytes.
        const std::string again = RmfBytes(*fromRmf);
        EXPECT_TRUE(again == rmf)
            << path << ": the bytes differ from offset "
            << std::distance(
                   again.begin(),
                   std::mismatch(again.begin(), again.end(), rmf.begin(), rmf.end()).first);
    }
    EXPECT_TRUE(prompts.shown.empty() || prompts.shown.size() == 1u);
}

TEST_F(CorpusRoundTripTest, FilesOnDiskConvertBothWays) {
    const auto dir = std::filesystem::temp_directory_path() / "brickhaven-corpus-files";
    std::filesystem::create_directories(dir);
    const std::string source = CorpusDir() + "/E1M1-edited-ents.map";
    auto world = LoadFile(source);
    const std::string rmfPath = (dir / "e1m1.rmf").string();
    const std::string mapPath = (dir / "e1m1.map").string();
    ASSERT_EQ(WriteRmfFile(*world, rmfPath), 0);
    auto fromRmf = std::make_unique<CMapWorld>();
    ASSERT_EQ(ReadRmfFile(*fromRmf, rmfPath), 0);
    ASSERT_EQ(WriteMapFile(*fromRmf, mapPath), 0);
    auto fromMap = LoadFile(mapPath);
    EXPECT_EQ(FirstDifference(Contents(*fromMap), Contents(*world)), "same");
    const MapInformation info = CountMapInformation(*fromMap);
    EXPECT_EQ(info.solids, 1257);
    EXPECT_EQ(info.faces, 7523);
    EXPECT_EQ(info.pointEntities, 312);
    EXPECT_EQ(info.solidEntities, 57);
    std::filesystem::remove_all(dir);

    EXPECT_EQ(ReadRmfFile(*fromRmf, rmfPath), -1);
    // The fixed message text, then the system's reason on its own line.
    EXPECT_TRUE(prompts.Messages().back().starts_with(
        "The OS reported an error loading the file: " + rmfPath + "\n"))
        << prompts.Messages().back();
}

} // namespace
