#include "FormatTestSupport.h"

#include "common/MessageLog.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/TreeWalk.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string AxisCorpusDir() {
    return CorpusDir() + "/../axis-maps";
}

std::vector<std::string> AxisMaps() {
    std::vector<std::string> paths;
    if (!std::filesystem::is_directory(AxisCorpusDir())) {
        return paths;
    }
    for (const auto& entry : std::filesystem::directory_iterator(AxisCorpusDir())) {
        if (entry.path().extension() == ".map") {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// What the compile tools build from each face: its plane points and the two texture vectors
// (axis over scale, and shift), in file order.
std::vector<std::array<double, 17>> FaceVectors(const CMapWorld& world) {
    std::vector<std::array<double, 17>> faces;
    EnumChildren(
        world,
        [&faces](CMapClass* object) {
            for (const CMapFace& face : static_cast<const CMapSolid*>(object)->Faces()) {
                std::array<double, 17> v{};
                for (int p = 0; p < 3; ++p) {
                    for (int a = 0; a < 3; ++a) {
                        v[static_cast<std::size_t>(p * 3 + a)] = face.PlanePoints()[p][a];
                    }
                }
                const TextureAxes axes = face.CompilerAxes();
                const double sx = face.ScaleX() == 0 ? 1 : face.ScaleX();
                const double sy = face.ScaleY() == 0 ? 1 : face.ScaleY();
                for (int a = 0; a < 3; ++a) {
                    v[static_cast<std::size_t>(9 + a)] = axes.u[a] / sx;
                    v[static_cast<std::size_t>(13 + a)] = axes.v[a] / sy;
                }
                v[12] = face.ShiftX();
                v[16] = face.ShiftY();
                faces.push_back(v);
            }
            return true;
        },
        kTypeMapSolid);
    return faces;
}

// The first face whose numbers differ by more than tolerance, or -1.
int FirstDifferentFace(const std::vector<std::array<double, 17>>& a,
                       const std::vector<std::array<double, 17>>& b, double tolerance = 1e-4) {
    if (a.size() != b.size()) {
        return static_cast<int>(std::min(a.size(), b.size()));
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t k = 0; k < 17; ++k) {
            if (!(std::fabs(a[i][k] - b[i][k]) <= tolerance)) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class AxisDialectTest : public FormatTest {
protected:
    std::unique_ptr<CMapWorld> Load(const std::string& text) {
        auto world = std::make_unique<CMapWorld>();
        EXPECT_EQ(ReadMapData(*world, text, "test.map", nullptr, &lastRead), 0);
        return world;
    }
    static std::string Write(const CMapWorld& world, MapDialect dialect) {
        std::string text;
        EXPECT_EQ(WriteMapData(world, text, false, dialect), 0);
        return text;
    }
    std::string Messages() {
        std::string all;
        for (const auto& line : Editor().messages.Lines()) {
            all += line.text + "\n";
        }
        return all;
    }
};

const char* const kBoxHead = "{\n\"classname\" \"worldspawn\"\n\"mapversion\" \"220\"\n{\n";

// A 64-unit box in the texture-axis dialect; top is the line of its top face.
std::string AxisBox(const std::string& top) {
    return std::string(kBoxHead) +
           "( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) W [ 0 1 0 0 ] [ 0 0 -1 0 ] 0 1 1\n"
           "( 64 0 0 ) ( 64 0 1 ) ( 64 1 0 ) W [ 0 1 0 0 ] [ 0 0 -1 0 ] 0 1 1\n"
           "( 0 0 0 ) ( 0 0 1 ) ( 1 0 0 ) W [ 1 0 0 0 ] [ 0 0 -1 0 ] 0 1 1\n"
           "( 0 64 0 ) ( 1 64 0 ) ( 0 64 1 ) W [ 1 0 0 0 ] [ 0 0 -1 0 ] 0 1 1\n"
           "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) W [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\n" +
           top + "\n}\n}\n";
}

} // namespace

TEST_F(AxisDialectTest, EveryAxisMapLoadsAndKeepsItsNumbersThroughMapAndRmf) {
    const auto paths = AxisMaps();
    if (paths.empty()) {
        GTEST_SKIP() << "no axis corpus at " << AxisCorpusDir();
    }
    for (const std::string& path : paths) {
        const std::string text = ReadText(path);
        auto world = Load(text);
        // Its one solid has 362 faces, beyond the 126 a solid holds: refused with its message.
        if (path.ends_with("/qbsp_many_sided_face.map")) {
            EXPECT_TRUE(lastRead.parseErrors);
            continue;
        }
        EXPECT_FALSE(lastRead.parseErrors) << path;
        EXPECT_EQ(world->Dialect(), MapDialect::TextureAxes) << path;
        // The world's bounds, gathered while reading, are those of its objects to the bit.
        const BoundBox read = world->Bounds();
        world->CalcBounds(false);
        EXPECT_EQ(std::memcmp(&read, &world->Bounds(), sizeof read), 0) << path;
        const auto original = FaceVectors(*world);
        ASSERT_FALSE(original.empty()) << path;

        const std::string written = Write(*world, world->Dialect());
        EXPECT_EQ(written.find("nan"), std::string::npos) << path;
        auto mapBack = Load(written);
        EXPECT_EQ(FirstDifferentFace(original, FaceVectors(*mapBack)), -1) << path;

        auto rmfBack = std::make_unique<CMapWorld>();
        ASSERT_EQ(ReadRmfData(*rmfBack, RmfBytes(*world), "test.rmf"), 0) << path;
        EXPECT_EQ(rmfBack->Dialect(), MapDialect::TextureAxes);
        auto rmfMap = Load(Write(*rmfBack, rmfBack->Dialect()));
        EXPECT_EQ(FirstDifferentFace(original, FaceVectors(*rmfMap)), -1) << path;
        // Exact numbers: a second write is the first.
        EXPECT_EQ(Write(*rmfMap, MapDialect::TextureAxes), written) << path;
    }
}

TEST_F(AxisDialectTest, LinesKeepTheirExactNumbersKeysAndExtraIntegers) {
    auto world = Load(AxisBox("( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ 1 0 0 -205.25483399593907 ] "
                              "[ 0 -1 0 0.5 ] -0 0.25 2 8 16 32"));
    EXPECT_FALSE(lastRead.parseErrors);
    const std::string text = Write(*world, MapDialect::TextureAxes);
    EXPECT_NE(text.find("\"mapversion\" \"220\"\n"), std::string::npos);
    EXPECT_NE(text.find("W [ 1 0 0 -205.25483399593907 ] [ 0 -1 0 0.5 ] -0 0.25 2 8 16 32\n"),
              std::string::npos)
        << text;

    // Standard lines with the integers keep them too.
    auto standard = Load("{\n\"classname\" \"worldspawn\"\n\"_tb_mod\" \"x\"\n{\n"
                         "( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) W 0 0 0 1 1 1 2 3\n"
                         "( 64 0 0 ) ( 64 0 1 ) ( 64 1 0 ) W 0 0 0 1 1\n"
                         "( 0 0 0 ) ( 0 0 1 ) ( 1 0 0 ) W 0 0 0 1 1\n"
                         "( 0 64 0 ) ( 1 64 0 ) ( 0 64 1 ) W 0 0 0 1 1\n"
                         "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) W 0 0 0 1 1\n"
                         "( 0 0 64.5 ) ( 0 1 64.5 ) ( 1 0 64.5 ) W 3.5 0 90 0.5 1\n}\n}\n");
    EXPECT_FALSE(lastRead.parseErrors);
    EXPECT_EQ(standard->Dialect(), MapDialect::Standard);
    const std::string again = Write(*standard, standard->Dialect());
    EXPECT_NE(again.find("W 0 0 0 1.000000 1.000000 1 2 3\n"), std::string::npos) << again;
    EXPECT_NE(again.find("\"_tb_mod\" \"x\""), std::string::npos);
    EXPECT_NE(again.find("( 0 0 64.5 ) ( 0 1 64.5 ) ( 1 0 64.5 ) W 3.5 0 90 0.500000 1.000000"),
              std::string::npos);
}

TEST_F(AxisDialectTest, StandardToAxesIsExactAndAxesToStandardNamesWhatItCannotGive) {
    // Standard -> 220 -> standard: the same vectors and the same line.
    auto standard = Load("{\n\"classname\" \"worldspawn\"\n{\n"
                         "( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) W 0 0 0 1 1\n"
                         "( 64 0 0 ) ( 64 0 1 ) ( 64 1 0 ) W 5 6 30 2 0.5\n"
                         "( 0 0 0 ) ( 0 0 1 ) ( 1 0 0 ) W 0 0 90 1 1\n"
                         "( 0 64 0 ) ( 1 64 0 ) ( 0 64 1 ) W 0 0 0 1 1\n"
                         "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) W 0 0 0 1 1\n"
                         "( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W 0 0 180 -1 1\n}\n}\n");
    const auto vectors = FaceVectors(*standard);
    auto axes = Load(Write(*standard, MapDialect::TextureAxes));
    EXPECT_EQ(axes->Dialect(), MapDialect::TextureAxes);
    EXPECT_EQ(FirstDifferentFace(vectors, FaceVectors(*axes), 1e-12), -1);
    auto back = Load(Write(*axes, MapDialect::Standard));
    EXPECT_EQ(FirstDifferentFace(vectors, FaceVectors(*back), 1e-9), -1);

    // A skewed top face cannot be given by a standard line: it is counted and named.
    auto skewed = Load(AxisBox("( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ 1 0 0 0 ] [ 0.5 -1 0 0 ] "
                               "0 1 1"));
    const std::string text = Write(*skewed, MapDialect::Standard);
    EXPECT_EQ(text.find('['), std::string::npos);
    EXPECT_EQ(text.find("mapversion"), std::string::npos) << "a standard file has no 220 mark";
    EXPECT_NE(Messages().find("1 faces of the map have texture axes"), std::string::npos)
        << Messages();
    EXPECT_NE(Messages().find("face 6 of solid"), std::string::npos);
}

TEST_F(AxisDialectTest, OddAxesAreToldAndNeverWrittenAsNan) {
    auto world = Load(AxisBox("( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ 1 0 0 0 ] [ 1 0 0 0 ] 0 0 1"));
    EXPECT_FALSE(lastRead.parseErrors);
    EXPECT_NE(Messages().find("are zero or parallel"), std::string::npos) << Messages();
    const std::string text = Write(*world, MapDialect::TextureAxes);
    // A zero scale counts as 1, and is written so.
    EXPECT_NE(text.find("[ 1 0 0 0 ] [ 1 0 0 0 ] 0 1 1"), std::string::npos) << text;
    EXPECT_EQ(Write(*world, MapDialect::Standard).find("nan"), std::string::npos);

    auto nan = Load(AxisBox("( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ nan 0 0 0 ] [ 0 -1 0 0 ] 0 1 1"));
    EXPECT_TRUE(lastRead.parseErrors);
    EXPECT_EQ(Write(*nan, MapDialect::TextureAxes).find("nan"), std::string::npos);
    EXPECT_EQ(Write(*nan, MapDialect::Standard).find("nan"), std::string::npos);
}

TEST_F(AxisDialectTest, TextureLockKeepsTexturesOnTheSolidThroughEveryTransform) {
    auto world = Load(AxisBox("( 0 0 64 ) ( 0 1 64 ) ( 1 0 64 ) W [ 0.6 0.8 0 3 ] [ 0.8 -0.6 0 "
                              "-7 ] 0 0.5 2"));
    CMapSolid* solid = nullptr;
    EnumChildren(
        *world,
        [&solid](CMapClass* object) {
            solid = static_cast<CMapSolid*>(object);
            return false;
        },
        kTypeMapSolid);
    ASSERT_NE(solid, nullptr);
    // Texture coordinates of each face's first corner, in pixels.
    auto corners = [solid](bool last = false) {
        std::vector<double> st;
        for (const CMapFace& face : solid->Faces()) {
            const TextureAxes axes = face.Axes();
            const Vector3d p(face.Point(last ? face.PointCount() - 1 : 0));
            st.push_back(Dot(p, axes.u) / face.ScaleX() + face.ShiftX());
            st.push_back(Dot(p, axes.v) / face.ScaleY() + face.ShiftY());
        }
        return st;
    };
    Editor().textureLock = true;
    const std::vector<double> before = corners();
    solid->TransMove(Vector{16, -8, 32});
    solid->TransRotate(Vector{0, 0, 0}, Vector{0, 0, 30});
    solid->TransScale(Vector{0, 0, 0}, Vector{2, 1, 1});
    const std::vector<double> after = corners();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_NEAR(after[i], before[i], 1e-3) << i;
    }
    // A flip reverses each polygon: the first corner comes last.
    solid->TransFlip(Vector{99999, 0, 99999});
    const std::vector<double> flipped = corners(true);
    for (std::size_t i = 0; i < flipped.size(); ++i) {
        EXPECT_NEAR(flipped[i], before[i], 1e-3) << i;
    }

    // Without the lock a move keeps the texture fixed to the world.
    Editor().textureLock = false;
    const double shift = solid->Face(5).ShiftX();
    solid->TransMove(Vector{16, 0, 0});
    EXPECT_EQ(solid->Face(5).ShiftX(), shift);
}
