#include "mapobjects/ShapeTemplate.h"
#include "mapobjects/MapSolid.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ShapeTemplateTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    ScriptedPrompts prompts;
    void SetUp() override {
        context.Context().SetActiveHistory(&history);
        context.Context().SetPrompts(&prompts);
    }

    // Every face sound, with its normal pointing away from the centre.
    static void ExpectSoundOutwardFaces(const CMapSolid& solid, const Vector& centre) {
        for (const CMapFace& face : solid.Faces()) {
            EXPECT_TRUE(CheckFace(face));
            Vector mid;
            for (int i = 0; i < face.PointCount(); ++i) {
                mid += face.Point(i);
            }
            mid = mid * (1.0f / static_cast<float>(face.PointCount()));
            EXPECT_GT(DotProduct(face.GetPlane().normal, mid - centre), 0.0f);
            EXPECT_EQ(face.PlanePoints()[0], face.Point(0));
            EXPECT_EQ(face.PlanePoints()[2], face.Point(2));
        }
    }
};

TEST_F(ShapeTemplateTest, BlockFillsTheBoxWithTheTopFaceFirst) {
    std::unique_ptr<CMapSolid> solid(
        CreatePrimitive(PRIMITIVE_BLOCK, 0, MakeBox({0, 0, 0}, {64, 32, 16})));
    ASSERT_NE(solid, nullptr);
    ASSERT_EQ(solid->FaceCount(), 6);
    const CMapFace& top = solid->Face(0);
    ASSERT_EQ(top.PointCount(), 4);
    EXPECT_EQ(top.Point(0), Vector(0, 32, 16));
    EXPECT_EQ(top.Point(1), Vector(64, 32, 16));
    EXPECT_EQ(top.Point(2), Vector(64, 0, 16));
    EXPECT_EQ(top.Point(3), Vector(0, 0, 16));
    EXPECT_EQ(solid->Bounds(), MakeBox({0, 0, 0}, {64, 32, 16}));
    EXPECT_TRUE(solid->NeedsRebuild());
    ExpectSoundOutwardFaces(*solid, {32, 16, 8});
    // The bottom face was given reversed.
    EXPECT_EQ(solid->Face(1).Point(0), Vector(0, 0, 0));
    EXPECT_EQ(history.Count(4), 1);
    EXPECT_EQ(history.entries.back().object, solid.get());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ShapeTemplateTest, ExtentsDropTheirFractionAroundTheBoxCentre) {
    CBlockShape block;
    block.SetFromBox(MakeBox({0, 0, 0}, {63.7f, 10, 10}));
    EXPECT_EQ(block.GetParameter("Width (X)"), 63);
    EXPECT_EQ(block.Center(), Vector(31.85f, 5, 5));
    CMapSolid solid;
    ASSERT_TRUE(block.BuildSolid(solid));
    EXPECT_FLOAT_EQ(solid.Bounds().maxs.x - solid.Bounds().mins.x, 63.0f);
    EXPECT_FLOAT_EQ((solid.Bounds().maxs.x + solid.Bounds().mins.x) / 2, 31.85f);

    // Boxes that are not boxes give zero extents, never undefined conversions.
    block.SetFromBox(BoundBox{});
    EXPECT_EQ(block.GetParameter("Width (X)"), 0);
    block.SetFromBox(MakeBox({0, 0, 0}, {NAN, 1e30f, 5}));
    EXPECT_EQ(block.GetParameter("Width (X)"), 0);
    EXPECT_GT(*block.GetParameter("Depth (Y)"), 0);
}

TEST_F(ShapeTemplateTest, SpikeRingStartsAtTheHighYEdgeAndRunsClockwise) {
    std::unique_ptr<CMapSolid> spike(
        CreatePrimitive(PRIMITIVE_SPIKE, 4, MakeBox({0, 0, 0}, {64, 64, 64})));
    ASSERT_NE(spike, nullptr);
    ASSERT_EQ(spike->FaceCount(), 5);
    // The base is the ring at the bottom, stored reversed.
    const CMapFace& base = spike->Face(0);
    ASSERT_EQ(base.PointCount(), 4);
    const Vector ring[4] = {{32, 64, 0}, {64, 32, 0}, {32, 0, 0}, {0, 32, 0}};
    for (int i = 0; i < 4; ++i) {
        const Vector& p = base.Point(3 - i);
        EXPECT_NEAR(p.x, ring[i].x, 1e-4);
        EXPECT_NEAR(p.y, ring[i].y, 1e-4);
        EXPECT_EQ(p.z, 0.0f);
    }
    for (int f = 1; f < 5; ++f) {
        ASSERT_EQ(spike->Face(f).PointCount(), 3);
        EXPECT_EQ(spike->Face(f).Point(0), Vector(32, 32, 64));
    }
    ExpectSoundOutwardFaces(*spike, {32, 32, 16});
}

TEST_F(ShapeTemplateTest, EveryPrimitivePassesTheFaceCheck) {
    const BoundBox box = MakeBox({-40, 8, 0}, {88, 72, 48});
    const Vector centre = box.Center();
    for (int kind : {PRIMITIVE_BLOCK, PRIMITIVE_WEDGE}) {
        std::unique_ptr<CMapSolid> solid(CreatePrimitive(kind, 0, box));
        ASSERT_NE(solid, nullptr);
        EXPECT_EQ(solid->FaceCount(), kind == PRIMITIVE_BLOCK ? 6 : 5);
        ExpectSoundOutwardFaces(*solid, kind == PRIMITIVE_WEDGE ? Vector(24, 56, 16) : centre);
        EXPECT_EQ(solid->Bounds(), box);
        EXPECT_TRUE(solid->IsClosed());
    }
    for (int sides = 3; sides <= 32; ++sides) {
        std::unique_ptr<CMapSolid> cylinder(CreatePrimitive(PRIMITIVE_CYLINDER, sides, box));
        ASSERT_NE(cylinder, nullptr);
        EXPECT_EQ(cylinder->FaceCount(), sides + 2);
        ExpectSoundOutwardFaces(*cylinder, centre);
        EXPECT_TRUE(cylinder->IsClosed()) << sides;
        std::unique_ptr<CMapSolid> spike(CreatePrimitive(PRIMITIVE_SPIKE, sides, box));
        ASSERT_NE(spike, nullptr);
        EXPECT_EQ(spike->FaceCount(), sides + 1);
        ExpectSoundOutwardFaces(*spike, Vector(centre.x, centre.y, 12));
        EXPECT_TRUE(spike->IsClosed()) << sides;
    }
    EXPECT_EQ(context.Context().messages.Count(), 0u);
}

TEST_F(ShapeTemplateTest, FaceCountOutOfRangeIsRefusedWithTheRangeMessage) {
    const BoundBox box = MakeBox({0, 0, 0}, {64, 64, 64});
    const int before = static_cast<int>(context.Context().objectMemory);
    EXPECT_EQ(CreatePrimitive(PRIMITIVE_CYLINDER, 2, box), nullptr);
    EXPECT_EQ(CreatePrimitive(PRIMITIVE_CYLINDER, 33, box), nullptr);
    EXPECT_EQ(CreatePrimitive(PRIMITIVE_SPIKE, -5, box), nullptr);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[0].text,
              "The face count for a cylinder must be in the range of 3 to 32.");
    EXPECT_EQ(prompts.shown[1].text, prompts.shown[0].text);
    EXPECT_EQ(prompts.shown[2].text, "The face count for a spike must be in the range of 3 to 32.");
    EXPECT_EQ(context.Context().objectMemory, before);
    EXPECT_TRUE(history.entries.empty());
    EXPECT_EQ(CreatePrimitive(7, 8, box), nullptr);

    // Block and wedge ignore the count.
    std::unique_ptr<CMapSolid> wedge(CreatePrimitive(PRIMITIVE_WEDGE, 99, box));
    ASSERT_NE(wedge, nullptr);
    EXPECT_EQ(wedge->FaceCount(), 5);
}

TEST_F(ShapeTemplateTest, BuildingReusesFacesAndRefusesImpossibleRings) {
    context.Context().currentTexture = "NEWTEX";
    CMapSolid solid;
    solid.SetFaceCount(8);
    solid.SetTexture("KEEPME", -1);
    CCylinderShape cylinder;
    cylinder.SetFromBox(MakeBox({0, 0, 0}, {64, 64, 64}));
    ASSERT_TRUE(cylinder.SetParameter("Number of Sides", 12));
    ASSERT_TRUE(cylinder.BuildSolid(solid));
    ASSERT_EQ(solid.FaceCount(), 14);
    EXPECT_STREQ(solid.Face(7).TextureName(), "KEEPME");
    EXPECT_STREQ(solid.Face(8).TextureName(), "NEWTEX");
    ASSERT_TRUE(CBlockShape().BuildSolid(solid));
    EXPECT_EQ(solid.FaceCount(), 6);

    EXPECT_FALSE(cylinder.SetParameter("Radius", 4));
    for (int sides : {0, 2, 125, 1000000}) {
        cylinder.SetParameter("Number of Sides", sides);
        EXPECT_FALSE(cylinder.BuildSolid(solid));
        EXPECT_EQ(solid.FaceCount(), 6);
    }
    cylinder.SetParameter("Number of Sides", 124); // the most a solid can hold
    EXPECT_TRUE(cylinder.BuildSolid(solid));
    EXPECT_EQ(solid.FaceCount(), 126);
}

} // namespace
