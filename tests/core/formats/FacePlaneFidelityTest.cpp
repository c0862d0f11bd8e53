// Faces keep their planes and texture settings through every way a map is read, written and
// transformed: empty texture names, collinear polygon starts, faces whose polygon vanished,
// and solids that enclose no volume.

#include "FormatTestSupport.h"

#include "formats/MapTextParts.h"
#include "gamedata/QuakeGraphic.h"
#include "mapobjects/MapSolid.h"
#include "support/SolidBuilders.h"

#include <algorithm>
#include <cmath>

namespace {

const std::string kWorldHead = "{\n\"classname\" \"worldspawn\"\n";

class FacePlaneFidelityTest : public FormatTest {
protected:
    std::unique_ptr<CMapWorld> ReadRmf(const std::string& data) {
        auto world = std::make_unique<CMapWorld>();
        EXPECT_EQ(ReadRmfData(*world, data, "test.rmf"), 0);
        return world;
    }
    static CMapSolid& OnlySolid(CMapWorld& world) {
        EXPECT_EQ(world.Children().size(), 1u);
        return *static_cast<CMapSolid*>(world.Children().front());
    }
    static int FaceLines(const std::string& text) {
        int lines = 0;
        for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
            lines += text[at] == '(' ? 1 : 0;
            if (text.find('\n', at) == std::string::npos) {
                break;
            }
        }
        return lines;
    }
    static std::vector<std::array<Vector3d, 3>> PlanePointsOf(const CMapSolid& solid) {
        std::vector<std::array<Vector3d, 3>> points;
        for (const CMapFace& face : solid.Faces()) {
            points.push_back(face.PlanePoints());
        }
        return points;
    }
};

// A 64 by 64 solid between a top face at height top and a bottom face at height bottom, with
// four side faces (eight lines).
std::string SlabSolidText(const std::string& bottom, const std::string& top) {
    const std::string b = " " + bottom + " )";
    const std::string t = " " + top + " )";
    return "{\n"
           "( 0 0" +
           t + " ( 0 64" + t + " ( 64 64" + t +
           " TOP 0 0 0 1 1\n"
           "( 0 64" +
           b + " ( 0 0" + b + " ( 64 0" + b +
           " BOTTOM 0 0 0 1 1\n"
           "( 0 0 0 ) ( 0 64 0 ) ( 0 64 1 ) WEST 0 0 0 1 1\n"
           "( 64 64 0 ) ( 64 0 0 ) ( 64 0 1 ) EAST 0 0 0 1 1\n"
           "( 64 0 0 ) ( 0 0 0 ) ( 0 0 1 ) SOUTH 0 0 0 1 1\n"
           "( 0 64 0 ) ( 64 64 0 ) ( 64 64 1 ) NORTH 0 0 0 1 1\n"
           "}\n";
}

// Faces 0.095 units apart: thinner than the clipping tolerance, so the four side faces keep
// their planes but lose their polygons.
std::string SliverSolidText() {
    return SlabSolidText("0", "0.095");
}

// A 64 unit cube textured WALL, in the world.
CMapSolid* AddWallCube(CMapWorld& world) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
    EXPECT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    solid->SetTexture("WALL");
    world.AddChild(solid);
    return solid;
}

TEST_F(FacePlaneFidelityTest, AnEmptyTextureNameIsWrittenAsANameThatReadsBack) {
    CMapWorld world;
    CMapSolid* solid = AddWallCube(world);
    // As an RMF file can give it: sixteen NUL bytes as the name.
    FaceTextureInfo info{};
    info.shiftX = 3;
    info.shiftY = 5;
    info.rotation = 15;
    info.scaleX = 0.5f;
    info.scaleY = 2;
    solid->Face(0).SetTextureInfo(info);
    auto fromRmf = ReadRmf(RmfBytes(world));
    ASSERT_STREQ(OnlySolid(*fromRmf).Face(0).TextureName(), "");

    const std::string text = MapText(*fromRmf);
    EXPECT_NE(text.find(std::string(") ") + kMapEmptyTextureName + " 3 5 15 0.500000 2.000000\n"),
              std::string::npos)
        << text;
    auto back = LoadMap(text);
    EXPECT_FALSE(lastRead.parseErrors);
    const CMapSolid& solidBack = OnlySolid(*back);
    ASSERT_EQ(solidBack.FaceCount(), 6);
    const CMapFace& face = solidBack.Face(0);
    EXPECT_STREQ(face.TextureName(), kMapEmptyTextureName);
    EXPECT_EQ(face.ShiftX(), 3.0f);
    EXPECT_EQ(face.ShiftY(), 5.0f);
    EXPECT_EQ(face.Rotation(), 15.0f);
    EXPECT_EQ(face.ScaleX(), 0.5f);
    EXPECT_EQ(face.ScaleY(), 2.0f);
    EXPECT_EQ(face.PlanePoints(), solid->Face(0).PlanePoints());
    // The placeholder is an unknown texture like any other.
    EXPECT_TRUE(face.Texture() == nullptr || face.Texture()->placeholder);
}

TEST_F(FacePlaneFidelityTest, NumbersThatAreNoNumbersAreNeverWrittenAsText) {
    CMapWorld world;
    CMapSolid* solid = AddWallCube(world);
    FaceTextureInfo info = solid->Face(1).TextureInfo();
    info.shiftX = NAN;
    info.rotation = INFINITY;
    info.scaleY = -INFINITY;
    solid->Face(1).SetTextureInfo(info);

    const std::string text = MapText(world);
    EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    EXPECT_EQ(text.find("inf"), std::string::npos) << text;
    auto back = LoadMap(text);
    EXPECT_FALSE(lastRead.parseErrors);
    const CMapSolid& solidBack = OnlySolid(*back);
    ASSERT_EQ(solidBack.FaceCount(), 6);
    EXPECT_EQ(solidBack.Face(1).ShiftX(), 0.0f);
    EXPECT_EQ(solidBack.Face(1).Rotation(), 0.0f);
    EXPECT_EQ(solidBack.Face(1).ScaleY(), 1.0f);
}

TEST_F(FacePlaneFidelityTest, AnOldRmfFaceTakesItsPlaneFromTheFirstPointsNotOnOneLine) {
    // A version 0.6 file (no magic, no plane points): a 64 unit box whose top polygon starts
    // with three points on one line.
    auto* box = new CMapSolid;
    AddBoxPlanes(*box, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(box->CreateFromPlanes());
    ByteWriter w;
    w.Float(0.6f).String("CMapWorld");
    w.Int(0).Byte(0).Byte(0).Byte(0).Int(1);
    w.String("CMapSolid").Int(0).Byte(1).Byte(2).Byte(3).Int(0).Int(6);
    for (int i = 0; i < 6; ++i) {
        char name[16] = "WALL";
        w.Raw(name, 16).Float(0).Float(0).Float(0).Float(1).Float(1);
        if (i == 0) {
            w.Int(5).Vec(0, 0, 64).Vec(0, 32, 64).Vec(0, 64, 64).Vec(64, 64, 64).Vec(64, 0, 64);
            continue;
        }
        const CMapFace& face = box->Face(i);
        w.Int(face.PointCount());
        for (int k = 0; k < face.PointCount(); ++k) {
            w.Vec(face.Point(k).x, face.Point(k).y, face.Point(k).z);
        }
    }
    w.String("worldspawn").Int(0).Int(0).Int(0).Int(0);
    delete box;

    auto world = ReadRmf(w.bytes);
    const CMapFace& top = OnlySolid(*world).Face(0);
    EXPECT_EQ(top.GetPlane().normal, (Vector{0, 0, 1}));
    EXPECT_EQ(top.GetPlane().dist, 64.0f);
    EXPECT_EQ(top.PointCount(), 5);

    auto back = LoadMap(MapText(*world));
    EXPECT_FALSE(lastRead.parseErrors);
    const CMapSolid& solid = OnlySolid(*back);
    ASSERT_EQ(solid.FaceCount(), 6);
    EXPECT_EQ(solid.Bounds().maxs, (Vector{64, 64, 64}));
    EXPECT_EQ(solid.Face(0).GetPlane().normal, (Vector{0, 0, 1}));

    // Points that all lie on one line give no plane, and no number that is no number.
    CMapFace line;
    const Vector points[3] = {{0, 0, 0}, {0, 8, 0}, {0, 16, 0}};
    line.SetPoints(points, 3);
    EXPECT_EQ(line.GetPlane().normal, (Vector{0, 0, 0}));
    EXPECT_EQ(line.GetPlane().dist, 0.0f);
}

TEST_F(FacePlaneFidelityTest, ASliverKeepsEveryPlaneThroughMapAndRmf) {
    auto world = LoadMap(kWorldHead + SliverSolidText() + "}\n");
    EXPECT_FALSE(lastRead.parseErrors);
    CMapSolid& sliver = OnlySolid(*world);
    ASSERT_EQ(sliver.FaceCount(), 6);
    int withoutPolygon = 0;
    for (const CMapFace& face : sliver.Faces()) {
        withoutPolygon += face.PointCount() == 0 ? 1 : 0;
    }
    ASSERT_EQ(withoutPolygon, 4) << "the sliver no longer tests faces without polygons";
    const auto planes = PlanePointsOf(sliver);

    const std::string text = MapText(*world);
    EXPECT_EQ(FaceLines(text), 6) << text;
    auto mapBack = LoadMap(text);
    EXPECT_FALSE(lastRead.parseErrors);
    EXPECT_EQ(PlanePointsOf(OnlySolid(*mapBack)), planes);
    EXPECT_EQ(MapText(*mapBack), text);

    auto rmfBack = ReadRmf(RmfBytes(*world));
    EXPECT_EQ(PlanePointsOf(OnlySolid(*rmfBack)), planes);
    EXPECT_EQ(MapText(*rmfBack), text);
}

TEST_F(FacePlaneFidelityTest, FarOffPlanePointsKeepTheirFaceThroughMapAndRmf) {
    // The -y face's first point lies far out on z; its plane is still y = 0.
    std::string box = BoxSolidText(0, 0, 0, 8, 8, 8);
    const std::size_t south = box.find("( 8 0 0 ) ( 0 0 0 ) ( 0 0 8 )");
    ASSERT_NE(south, std::string::npos) << box;
    box.replace(south, 9, "( 8 0 44444444444444444444444 )");
    auto world = LoadMap(kWorldHead + box + "}\n");
    ASSERT_EQ(OnlySolid(*world).FaceCount(), 6);
    const std::string text = MapText(*world);
    EXPECT_EQ(FaceLines(text), 6) << text;
    EXPECT_EQ(MapText(*ReadRmf(RmfBytes(*world))), text);
    EXPECT_EQ(MapText(*LoadMap(text)), text);
}

TEST_F(FacePlaneFidelityTest, ASliverKeepsEveryPlaneThroughMovesTurnsScalesAndFlips) {
    auto world = LoadMap(kWorldHead + SliverSolidText() + "}\n");
    CMapSolid& sliver = OnlySolid(*world);
    ASSERT_EQ(sliver.FaceCount(), 6);
    const Plane west = sliver.Face(2).GetPlane();
    ASSERT_EQ(sliver.Face(2).PointCount(), 0);

    sliver.TransMove({10, 20, 30});
    EXPECT_EQ(sliver.Face(2).PlanePoints()[2], (Vector{10, 84, 31}));
    EXPECT_EQ(sliver.Face(2).GetPlane().normal, west.normal);
    EXPECT_EQ(sliver.Face(2).GetPlane().dist, -10.0f);
    sliver.TransRotate({10, 20, 30}, {0, 0, 90});
    sliver.TransScale({10, 20, 30}, {2, 2, 1});
    sliver.TransFlip({10, 99999, 99999});
    for (const CMapFace& face : sliver.Faces()) {
        EXPECT_NEAR(VectorLength(face.GetPlane().normal), 1.0f, 1e-5f) << face.TextureName();
    }

    const std::string text = MapText(*world);
    EXPECT_EQ(FaceLines(text), 6) << text;
    auto back = LoadMap(text);
    EXPECT_FALSE(lastRead.parseErrors);
    const CMapSolid& solidBack = OnlySolid(*back);
    ASSERT_EQ(solidBack.FaceCount(), 6);
    for (int i = 0; i < 6; ++i) {
        const Plane& before = sliver.Face(i).GetPlane();
        const Plane& after = solidBack.Face(i).GetPlane();
        EXPECT_NEAR(DotProduct(before.normal, after.normal), 1.0f, 1e-5f) << i;
        EXPECT_NEAR(before.dist, after.dist, 1e-3f) << i;
    }
}

TEST_F(FacePlaneFidelityTest, ASolidWhosePlanesEncloseNoVolumeIsDroppedAndCountedWithItsLine) {
    // Line 3 opens a solid whose top and bottom planes coincide, facing each other; line 11
    // opens a sound box.
    auto world =
        LoadMap(kWorldHead + SlabSolidText("16", "16") + BoxSolidText(0, 0, 0, 8, 8, 8) + "}\n");
    EXPECT_EQ(world->Children().size(), 1u);
    EXPECT_EQ(lastRead.droppedSolids, 1);
    EXPECT_EQ(prompts.Messages(),
              std::vector<std::string>{
                  "For your information, 1 solids were not loaded\ndue to errors in the file."});
    const auto& errors = context.Context().errors;
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const ErrorRecord& e) {
        return e.message.find("test.map, line 3: ") != std::string::npos;
    }));
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const ErrorRecord& e) {
        return e.message == "CreateFromPlanes() failed";
    }));
}

} // namespace
