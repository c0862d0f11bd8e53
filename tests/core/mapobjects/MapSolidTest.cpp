#include "mapobjects/MapSolid.h"
#include "common/BackgroundWork.h"
#include "common/TextureLookup.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/SolidBuilders.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

#include <vector>

#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

class MapSolidTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    void SetUp() override { context.Context().SetActiveHistory(&history); }

    bool LogHas(const std::string& text) {
        for (const auto& line : context.Context().messages.Lines()) {
            if (line.text == text) {
                return true;
            }
        }
        return false;
    }

    static bool IsWhole(float v) { return v == std::floor(v); }

    // The polygon's points must lie on the face and its normal point away from centre.
    static void ExpectOutwardFaces(const CMapSolid& solid, const Vector& centre) {
        for (const CMapFace& face : solid.Faces()) {
            ASSERT_GT(face.PointCount(), 2);
            Vector mid;
            for (int i = 0; i < face.PointCount(); ++i) {
                mid += face.Point(i);
            }
            mid = mid * (1.0f / static_cast<float>(face.PointCount()));
            EXPECT_GT(DotProduct(face.GetPlane().normal, mid - centre), 0.0f);
            EXPECT_TRUE(CheckFace(face));
        }
    }
};

TEST_F(MapSolidTest, CubeFromIntegerPlanesGivesSixIntegerSquares) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    solid.Face(4).SetScale(0.0f, -0.0f);
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.CalcBounds();
    ASSERT_EQ(solid.FaceCount(), 6);
    // Building the base polygon mends zero texture scales.
    EXPECT_EQ(solid.Face(4).ScaleX(), 1.0f);
    EXPECT_EQ(solid.Face(4).ScaleY(), 1.0f);
    for (const CMapFace& face : solid.Faces()) {
        ASSERT_EQ(face.PointCount(), 4);
        for (int i = 0; i < 4; ++i) {
            const Vector& p = face.Point(i);
            EXPECT_TRUE(IsWhole(p.x) && IsWhole(p.y) && IsWhole(p.z));
        }
    }
    EXPECT_TRUE(context.Context().errors.empty());
    EXPECT_EQ(solid.Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(solid.Bounds().maxs, Vector(64, 64, 64));
    ExpectOutwardFaces(solid, {32, 32, 32});
    // The top face's plane comes from its plane points.
    EXPECT_EQ(solid.Face(0).GetPlane().normal, Vector(0, 0, 1));
    EXPECT_EQ(solid.Face(0).GetPlane().dist, 64.0f);
}

TEST_F(MapSolidTest, DuplicatePlaneIsDroppedSilently) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    CMapFace* copy = AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 0, true);
    copy->SetTextureName("DUPLICATE");
    EXPECT_TRUE(solid.CreateFromPlanes());
    ASSERT_EQ(solid.FaceCount(), 6);
    for (const CMapFace& face : solid.Faces()) {
        EXPECT_STRNE(face.TextureName(), "DUPLICATE");
    }
    EXPECT_EQ(context.Context().messages.Count(), 0u);
}

// A repeated slanted plane used to clip the face it repeats by rounding alone, so a solid
// could load with that face empty, be written without the repeat, and then fail to read back.
TEST_F(MapSolidTest, ARepeatedPlaneBuildsTheSameSolidAsThePlaneGivenOnce) {
    struct Points {
        Vector a, b, c;
    };
    const Points side{{-64, -64, -16}, {-64, -63, -16}, {-64, -64, -15}};
    const Points slant{{-64, -86, -16}, {-64, -64, -15}, {0, 0, 0}};
    const Points floor{{-64, -64, -16}, {-63, -64, -16}, {-64, -63, -16}};
    const Points farOff{{64, 64, 16}, {64, 65, 16}, {65064, 16, 0}};
    const Points tilted{{64, 64, 16}, {64, 65, 16}, {6506, 0, 0}};
    const Points flat{{0, 8, 0}, {8, 8, 0}, {8, 0, 0}};
    auto build = [](CMapSolid& solid, const std::vector<Points>& planes) {
        for (const Points& p : planes) {
            AddPlaneFace(solid, p.a, p.b, p.c);
        }
        return solid.CreateFromPlanes();
    };
    CMapSolid repeated;
    CMapSolid once;
    const bool repeatedBuilt =
        build(repeated, {side, slant, floor, farOff, slant, floor, tilted, flat});
    const bool onceBuilt = build(once, {side, slant, floor, farOff, tilted, flat});
    EXPECT_EQ(repeatedBuilt, onceBuilt);
    ASSERT_EQ(repeated.FaceCount(), once.FaceCount());
    for (int i = 0; i < once.FaceCount(); ++i) {
        EXPECT_EQ(repeated.Face(i).PointCount(), once.Face(i).PointCount()) << "face " << i;
    }
}

TEST_F(MapSolidTest, CollinearFaceIsDroppedAndNeverClipsWithAStalePlane) {
    CMapSolid solid;
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 2, true);
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 2, false);
    // Collinear plane points, and a stale plane that would cut the cube in half if used.
    CMapFace* degenerate = AddPlaneFace(solid, {0, 0, 0}, {1, 1, 1}, {2, 2, 2});
    degenerate->SetPlane(Plane{{-1, 0, 0}, -32});
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 0, true);
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 0, false);
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 1, true);
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 1, false);
    EXPECT_TRUE(solid.CreateFromPlanes());
    solid.CalcBounds();
    ASSERT_EQ(solid.FaceCount(), 6);
    EXPECT_EQ(solid.Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(solid.Bounds().maxs, Vector(64, 64, 64));
    // The face right after the degenerate one got its own plane.
    EXPECT_EQ(solid.Face(2).GetPlane().normal, Vector(1, 0, 0));
    EXPECT_EQ(solid.Face(2).GetPlane().dist, 64.0f);
}

TEST_F(MapSolidTest, PointsSnapToWholeUnitsOnlyWithinOneHundredth) {
    CMapSolid snapped;
    AddBoxPlanes(snapped, {0, 0, 0}, {63.995f, 64, 64});
    ASSERT_TRUE(snapped.CreateFromPlanes());
    snapped.CalcBounds();
    EXPECT_EQ(snapped.Bounds().maxs.x, 64.0f);

    CMapSolid kept;
    AddBoxPlanes(kept, {0, 0, 0}, {63.98f, 64, 64});
    ASSERT_TRUE(kept.CreateFromPlanes());
    kept.CalcBounds();
    EXPECT_EQ(kept.Bounds().maxs.x, 63.98f);
}

TEST_F(MapSolidTest, InsideOutSolidFailsWithAnErrorRecordAndZeroBounds) {
    CMapSolid solid;
    // Every normal points into the box: nothing lies behind all the planes.
    AddBoxFace(solid, {0, 0, 0}, {64, 64, 64}, 2, true);
    AddBoxFace(solid, {0, 0, 128}, {64, 64, 64}, 2, false);
    EXPECT_FALSE(solid.CreateFromPlanes());
    EXPECT_EQ(solid.Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(solid.Bounds().maxs, Vector(0, 0, 0));
    ASSERT_EQ(context.Context().errors.size(), 1u);
    EXPECT_EQ(context.Context().errors[0].objectId, solid.ObjectId());
    EXPECT_EQ(context.Context().errors[0].message, "CreateFromPlanes() failed");
    EXPECT_EQ(context.Context().errors[0].value, 0);
    EXPECT_EQ(solid.FaceCount(), 2);
}

TEST_F(MapSolidTest, UnsoundPolygonFailsButKeepsItsFace) {
    CMapSolid solid;
    // The +x face lies beyond the coordinate range a face may have.
    AddBoxPlanes(solid, {0, 0, 0}, {18001, 64, 64});
    EXPECT_FALSE(solid.CreateFromPlanes());
    ASSERT_EQ(solid.FaceCount(), 6);
    EXPECT_EQ(solid.Face(2).PointCount(), 4);
    EXPECT_EQ(solid.Face(2).Point(0).x, 18001.0f);
    EXPECT_TRUE(LogHas("CheckFace: BUGUS_RANGE: 18001.000000"));
    ASSERT_EQ(context.Context().errors.size(), 1u);
    EXPECT_EQ(context.Context().errors.back().message, "CreateFromPlanes() failed");
}

TEST_F(MapSolidTest, PlanesThatCannotBeComputedFailTheSolid) {
    for (float bad : {NAN, INFINITY, 3e30f}) {
        CMapSolid solid;
        AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
        AddPlaneFace(solid, {bad, 0, 0}, {0, bad, 0}, {0, 0, bad});
        EXPECT_FALSE(solid.CreateFromPlanes());
        EXPECT_TRUE(LogHas("CreateFromPlanes: face 7 has a plane out of range"));
        for (const CMapFace& face : solid.Faces()) {
            for (int i = 0; i < face.PointCount(); ++i) {
                EXPECT_TRUE(std::isfinite(face.Point(i).x));
            }
        }
    }
    EXPECT_EQ(context.Context().errors.size(), 3u);
}

TEST_F(MapSolidTest, FaceAndPointLimitsAreRefusedWithoutChange) {
    CMapSolid solid;
    EXPECT_FALSE(solid.SetFaceCount(127));
    EXPECT_EQ(solid.FaceCount(), 0);
    EXPECT_FALSE(solid.SetFaceCount(-1));
    ASSERT_TRUE(solid.SetFaceCount(126));
    EXPECT_EQ(solid.AddFace(), nullptr);
    EXPECT_EQ(solid.FaceCount(), 126);
    EXPECT_EQ(solid.GetSize(), 96 + 160 * 126 + 192);

    std::vector<Vector> many(257, Vector{1, 2, 3});
    CMapFace& face = solid.Face(0);
    Vector square[4] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    ASSERT_TRUE(face.SetPoints(square, 4));
    EXPECT_FALSE(face.SetPoints(many.data(), 257));
    EXPECT_FALSE(face.SetPoints(many.data(), -257));
    EXPECT_FALSE(face.SetPoints(many.data(), INT_MIN));
    EXPECT_EQ(face.PointCount(), 4);
    EXPECT_TRUE(face.SetPoints(many.data(), 256));
    EXPECT_GE(context.Context().messages.Count(), 5u);
    EXPECT_EQ(context.Context().messages.Lines().back().kind, MessageLog::Error);
}

TEST_F(MapSolidTest, SetPointsWithNegativeCountReversesAndTakesPlanePoints) {
    CMapFace face;
    Vector square[4] = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}};
    face.SetPoints(square, -4);
    ASSERT_EQ(face.PointCount(), 4);
    EXPECT_EQ(face.Point(0), square[3]);
    EXPECT_EQ(face.Point(3), square[0]);
    EXPECT_EQ(face.PlanePoints()[0], square[3]);
    EXPECT_EQ(face.PlanePoints()[2], square[1]);
    // (p0 - p1) x (p2 - p1) with the reversed order faces up.
    EXPECT_EQ(face.GetPlane().normal, Vector(0, 0, 1));
    EXPECT_EQ(face.GetPlane().dist, 0.0f);

    // A face whose polygon is gone keeps its plane points and its plane.
    face.ClearPoints();
    face.CalcPlane();
    EXPECT_EQ(face.GetPlane().normal, Vector(0, 0, 1));
    EXPECT_EQ(face.PlanePoints()[0], square[3]);
    // Plane points on one line give a zero plane, never one that is no number.
    face.SetPlanePoints({0, 0, 0}, {8, 8, 8}, {16, 16, 16});
    face.CalcPlane();
    EXPECT_EQ(face.GetPlane().normal, Vector(0, 0, 0));
    EXPECT_EQ(face.GetPlane().dist, 0.0f);
}

TEST_F(MapSolidTest, TextureNamesAreUpperCaseFifteenCharactersAndBound) {
    context.Context().currentTexture = "ground1_6";
    CMapFace face;
    EXPECT_STREQ(face.TextureName(), "GROUND1_6");
    EXPECT_EQ(face.ScaleX(), 1.0f);
    EXPECT_EQ(face.ScaleY(), 1.0f);
    face.SetTextureName("a_very_long_texture_name");
    EXPECT_STREQ(face.TextureName(), "A_VERY_LONG_TEX");
    // Without a texture catalogue a placeholder without an image stands in; the same name
    // gives the same placeholder.
    ASSERT_NE(face.Texture(), nullptr);
    EXPECT_TRUE(face.Texture()->IsPlaceholder());
    EXPECT_EQ(face.Texture()->width, 0);
    CMapFace other;
    other.SetTextureName("a_very_long_texture_name_too");
    EXPECT_EQ(other.Texture(), face.Texture());
    EXPECT_FALSE(other.CalcTextureCoordinates());
    TextureLookup& placeholders = context.Context().Textures();
    EXPECT_EQ(placeholders.FindTexture("sky4", false), nullptr);
    QuakeGraphic* sky = placeholders.FindTexture("sky4", true);
    EXPECT_EQ(placeholders.FindTexture("SKY4", false), sky);
    EXPECT_EQ(sky->name, "sky4");

    FakeTextures textures;
    QuakeGraphic& wall = textures.Add("WALL", 64, 32);
    context.Context().textures = &textures;
    face.SetTextureName("wall");
    EXPECT_EQ(face.Texture(), &wall);
}

TEST_F(MapSolidTest, ProjectionTieAt45DegreesTakesTheXAxis) {
    FakeTextures textures;
    textures.Add("WALL", 64, 64);
    context.Context().textures = &textures;
    CMapFace face;
    face.SetTextureName("WALL");
    // A face on the plane x + z = 40 (normal exactly between x and z).
    Vector points[3] = {{10, 20, 30}, {10, 0, 30}, {0, 0, 40}};
    face.SetPoints(points, 3);
    ASSERT_EQ(std::fabs(face.GetPlane().normal.x), std::fabs(face.GetPlane().normal.z));
    ASSERT_TRUE(face.CalcTextureCoordinates());
    ASSERT_EQ(face.TextureCoordinates().size(), 3u);
    // x dominant: u = p.y, v = -p.z.
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[0].s, 20.0f / 64);
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[0].t, -30.0f / 64);

    // Rotation, scale and shift; a zero scale counts as 1 and is stored so.
    face.SetRotation(90);
    face.SetScale(2, 0.0f);
    face.SetShift(8, 4);
    ASSERT_TRUE(face.CalcTextureCoordinates());
    EXPECT_EQ(face.ScaleY(), 1.0f);
    EXPECT_NEAR(face.TextureCoordinates()[0].s, ((0 + 30) / 2.0 + 8) / 64, 1e-5);
    EXPECT_NEAR(face.TextureCoordinates()[0].t, ((20 - 0) / 1.0 + 4) / 64, 1e-5);
}

TEST_F(MapSolidTest, ProjectionPicksYAndZAxes) {
    FakeTextures textures;
    textures.Add("WALL", 32, 16);
    context.Context().textures = &textures;
    CMapFace face;
    face.SetTextureName("WALL");
    Vector floor[3] = {{0, 64, 0}, {64, 64, 0}, {64, 0, 0}}; // faces +z
    face.SetPoints(floor, 3);
    ASSERT_TRUE(face.CalcTextureCoordinates());
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[1].s, 64.0f / 32);
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[1].t, -64.0f / 16);
    Vector wall[3] = {{0, 5, 0}, {0, 5, 16}, {64, 5, 16}}; // faces -y
    face.SetPoints(wall, 3);
    ASSERT_TRUE(face.CalcTextureCoordinates());
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[2].s, 64.0f / 32);
    EXPECT_FLOAT_EQ(face.TextureCoordinates()[2].t, -16.0f / 16);
}

TEST_F(MapSolidTest, FlippingTwiceRestoresPointsAndOrder) {
    CMapSolid solid;
    AddBoxPlanes(solid, {16, -32, 0}, {80, 32, 48});
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.CalcBounds();
    FaceList before = solid.Faces();
    const Vector flipX{0, 99999, 99999};
    solid.TransFlip(flipX);
    EXPECT_EQ(solid.Bounds().mins, Vector(-80, -32, 0));
    EXPECT_EQ(solid.Bounds().maxs, Vector(-16, 32, 48));
    ExpectOutwardFaces(solid, {-48, 0, 24});
    solid.TransFlip(flipX);
    for (int f = 0; f < solid.FaceCount(); ++f) {
        const CMapFace& face = solid.Face(f);
        ASSERT_EQ(face.PointCount(), before[static_cast<std::size_t>(f)].PointCount());
        for (int i = 0; i < face.PointCount(); ++i) {
            EXPECT_EQ(face.Point(i), before[static_cast<std::size_t>(f)].Point(i));
        }
        EXPECT_EQ(face.PlanePoints(), before[static_cast<std::size_t>(f)].PlanePoints());
    }
}

TEST_F(MapSolidTest, MoveScaleAndRotateKeepFacesSound) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 32, 16});
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.CalcBounds();
    history.entries.clear();

    solid.TransMove({8, 8, 8});
    EXPECT_GE(history.Count(1), 1);
    EXPECT_EQ(history.entries.front().object, &solid);
    EXPECT_TRUE(solid.NeedsRebuild());
    EXPECT_EQ(solid.Bounds().mins, Vector(8, 8, 8));

    solid.TransScale({8, 8, 8}, {2, 1, 0.5f});
    EXPECT_EQ(solid.Bounds().maxs, Vector(136, 40, 16));

    solid.TransRotate({8, 8, 8}, {0, 0, 90});
    EXPECT_EQ(solid.Bounds().mins, Vector(-24, 8, 8));
    EXPECT_EQ(solid.Bounds().maxs, Vector(8, 136, 16));
    ExpectOutwardFaces(solid, {-8, 72, 12});
    // Planes follow the points.
    for (const CMapFace& face : solid.Faces()) {
        EXPECT_NEAR(DotProduct(face.Point(0), face.GetPlane().normal), face.GetPlane().dist, 1e-3);
    }
}

struct ShearX : PointTransform {
    void TransformPoint(Vector& p) const override { p.x += p.z; }
};

TEST_F(MapSolidTest, TransformByToolPassesEveryPointThroughTheTool) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.TransformByTool(ShearX{});
    EXPECT_EQ(solid.Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(solid.Bounds().maxs, Vector(128, 64, 64));
    ExpectOutwardFaces(solid, {64, 32, 32});
}

TEST_F(MapSolidTest, ContentsFollowTheFirstTextureNameInAnyCase) {
    EXPECT_EQ(ContentsForTextureName("*SLIME0"), CONTENTS_SLIME);
    EXPECT_EQ(ContentsForTextureName("*slime"), CONTENTS_SLIME);
    EXPECT_EQ(ContentsForTextureName("*LAVA1"), CONTENTS_LAVA);
    EXPECT_EQ(ContentsForTextureName("*04WATER1"), CONTENTS_WATER);
    EXPECT_EQ(ContentsForTextureName("*SLIM"), CONTENTS_WATER);
    EXPECT_EQ(ContentsForTextureName("*"), CONTENTS_WATER);
    EXPECT_EQ(ContentsForTextureName("LAVA"), CONTENTS_SOLID);
    EXPECT_EQ(ContentsForTextureName(""), CONTENTS_SOLID);

    CMapSolid solid;
    solid.UpdateContentsFromTexture();
    EXPECT_EQ(solid.Contents(), CONTENTS_SOLID);
    solid.SetFaceCount(2);
    solid.SetTexture("*lava1", 0);
    solid.UpdateContentsFromTexture();
    EXPECT_EQ(solid.Contents(), CONTENTS_LAVA);
}

TEST_F(MapSolidTest, NewSolidTakesItsColourFromTheRandomSequence) {
    context.Context().random.Seed(12345);
    const std::uint32_t r = 12345u * 214013u + 2531011u;
    CMapSolid solid;
    EXPECT_EQ(solid.GetColor(), 12336u + r % 45232u);
    EXPECT_EQ(solid.GetColor() >> 16, 0u);
    EXPECT_EQ(context.Context().random.State(), r);
    CMapSolid next;
    EXPECT_NE(next.GetColor(), solid.GetColor());
}

TEST_F(MapSolidTest, ObjectMemoryCountsLiveSolids) {
    const auto start = context.Context().objectMemory;
    {
        CMapSolid a;
        auto* b = new CMapSolid;
        EXPECT_EQ(context.Context().objectMemory, start + 384);
        delete b;
        EXPECT_EQ(context.Context().objectMemory, start + 192);
    }
    EXPECT_EQ(context.Context().objectMemory, start);
}

TEST_F(MapSolidTest, SetTextureAndDeleteFaceIndexRules) {
    CMapSolid solid;
    solid.SetFaceCount(3);
    history.entries.clear();
    solid.SetTexture("brick", -1);
    EXPECT_EQ(history.Count(1), 1);
    for (const CMapFace& face : solid.Faces()) {
        EXPECT_STREQ(face.TextureName(), "BRICK");
    }
    solid.SetTexture("stone", 2);
    EXPECT_STREQ(solid.Face(2).TextureName(), "STONE");
    solid.SetTexture("metal", 3); // equal to the face count: refused
    solid.SetTexture("metal", 7);
    EXPECT_TRUE(LogHas("SetTexture: iFace > nFaces"));
    for (const CMapFace& face : solid.Faces()) {
        EXPECT_STRNE(face.TextureName(), "METAL");
    }
    solid.DeleteFace(0);
    ASSERT_EQ(solid.FaceCount(), 2);
    EXPECT_STREQ(solid.Face(1).TextureName(), "STONE");
    solid.DeleteFace(5);
    EXPECT_EQ(solid.FaceCount(), 2);
    EXPECT_EQ(solid.GetDescription(), "solid with 2 faces");
    EXPECT_EQ(solid.GetSize(), 96 + 320 + 192);
}

TEST_F(MapSolidTest, CloneCopiesFacesButNotTheirThreeDFaces) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.CalcBounds();
    solid.SetTexture("*slime0", -1);
    solid.UpdateContentsFromTexture();
    FakeRenderFrame frame;
    ASSERT_TRUE(solid.BuildRenderObjects(frame, true));
    ASSERT_NE(solid.Face(0).Render3D(), nullptr);
    history.entries.clear();

    std::unique_ptr<CMapClass> copy(solid.Clone());
    auto* clone = dynamic_cast<CMapSolid*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(history.Count(4), 1);
    EXPECT_EQ(clone->FaceCount(), 6);
    EXPECT_EQ(clone->Contents(), CONTENTS_SLIME);
    EXPECT_EQ(clone->GetColor(), solid.GetColor());
    EXPECT_EQ(clone->Bounds(), solid.Bounds());
    EXPECT_NE(clone->ObjectId(), solid.ObjectId());
    EXPECT_EQ(clone->Render3D(), nullptr);
    for (const CMapFace& face : clone->Faces()) {
        EXPECT_EQ(face.Render3D(), nullptr);
        EXPECT_EQ(face.Owner(), clone);
        EXPECT_NE(face.Points(), solid.Face(0).Points());
    }
    EXPECT_EQ(clone->Face(3).Point(2), solid.Face(3).Point(2));
}

TEST_F(MapSolidTest, RenderMeshAndFaceHighlighting) {
    CMapSolid solid;
    AddBoxPlanes(solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid.CreateFromPlanes());
    solid.SetRenderState(RENDER_SET_COLOR, 0x102030);
    FakeRenderFrame frame;
    ASSERT_TRUE(solid.BuildRenderObjects(frame, true));
    EXPECT_FALSE(solid.NeedsRebuild());
    ASSERT_EQ(frame.meshes.size(), 1u);
    auto& mesh = *frame.meshes[0];
    EXPECT_EQ(mesh.polygons, 6);
    EXPECT_EQ(mesh.owner, &solid);
    EXPECT_EQ(mesh.color, 0x102030u);

    CMapFace& face = solid.Face(1);
    EXPECT_EQ(face.DisplayColor(), 0xFF102030u);
    face.SetFaceRenderState(RENDER_SELECT);
    EXPECT_TRUE(face.IsSelected());
    EXPECT_EQ(mesh.faces[1]->color, 0xDC0000u);
    face.SetFaceRenderState(RENDER_CLEAR_VISGROUP); // ignored while selected
    EXPECT_TRUE(face.IsSelected());
    face.SetFaceRenderState(RENDER_DESELECT);
    EXPECT_FALSE(face.IsSelected());
    EXPECT_EQ(mesh.faces[1]->color, 0x102030u);

    // Selecting the solid keeps the faces' own colour for when the selection ends.
    solid.SetRenderState(RENDER_SELECT, 0);
    EXPECT_EQ(mesh.color, 0xDC0000u);
    EXPECT_EQ(face.DisplayColor(), 0xFF102030u);

    frame.fail = true;
    EXPECT_FALSE(solid.BuildRenderObjects(frame, true));
}

} // namespace

// Many solids built on one thread and on several come out the same, bit for bit: polygons,
// planes, bounds, kept faces, and the messages and plane points of the ones that fail. The
// thread count only changes who builds what.
TEST_F(MapSolidTest, BuildingOnSeveralThreadsGivesWhatOneThreadGives) {
    const auto makeSolids = [] {
        std::vector<std::unique_ptr<CMapSolid>> solids;
        for (int i = 0; i < 1500; ++i) {
            auto solid = std::make_unique<CMapSolid>();
            const float x = static_cast<float>(i % 40) * 70.5f;
            const float y = static_cast<float>(i / 40) * 33.25f;
            switch (i % 5) {
            case 0: // an open solid: a box without its top
                AddBoxPlanes(*solid, {x, y, 0}, {x + 64, y + 16, 48});
                solid->DeleteFace(solid->FaceCount() - 1);
                break;
            case 1: // planes beyond the range of faces
                AddBoxPlanes(*solid, {x, y, 0}, {18001, y + 8, 8});
                break;
            case 2: // off-grid planes
                AddBoxPlanes(*solid, {x, y, 0}, {x + 40, y + 20, 30});
                AddPlaneFace(*solid, {x + 40, y, 30}, {x, y + 20.3f, 30.7f},
                             {x + 0.1f, y + 0.2f, 30.9f});
                break;
            default:
                AddBoxPlanes(
                    *solid, {x, y, -8},
                    {x + static_cast<float>(16 + i % 7), y + 8, static_cast<float>(8 + i % 3)});
                break;
            }
            solids.push_back(std::move(solid));
        }
        return solids;
    };
    const auto pointers = [](const std::vector<std::unique_ptr<CMapSolid>>& solids) {
        std::vector<CMapSolid*> list;
        for (const auto& solid : solids) {
            list.push_back(solid.get());
        }
        return list;
    };
    const auto serial = makeSolids();
    const std::vector<SolidBuildOutcome> expected = BuildSolidsFromPlanes(pointers(serial), 1);
    int failed = 0;
    for (const SolidBuildOutcome& outcome : expected) {
        failed += outcome.built ? 0 : 1;
    }
    EXPECT_EQ(failed, 300);
    EXPECT_FALSE(expected[0].closed);
    EXPECT_FALSE(expected[1].messages.empty());
    EXPECT_EQ(expected[1].planesBefore.size(), 6u);
    EXPECT_TRUE(expected[3].closed);
    // Nothing was shown or recorded: the caller does that.
    EXPECT_TRUE(context.Context().errors.empty());

    // Also when the solids are built in pieces of background work (as a reader does while it
    // reads on), the work used twice.
    struct Run {
        unsigned threads;
        bool queued;
    };
    for (const Run run :
         {Run{2, false}, Run{3, false}, Run{0, false}, Run{1, true}, Run{2, true}}) {
        SCOPED_TRACE(run.threads);
        const auto parallel = makeSolids();
        std::vector<SolidBuildOutcome> outcomes;
        if (!run.queued) {
            outcomes = BuildSolidsFromPlanes(pointers(parallel), run.threads);
        } else {
            BackgroundWork work(run.threads);
            outcomes.resize(parallel.size());
            const auto addPieces = [&](std::size_t first, std::size_t last) {
                for (std::size_t piece = first; piece < last; piece += 50) {
                    work.Add([&, piece, last] {
                        for (std::size_t i = piece; i < std::min(piece + 50, last); ++i) {
                            BuildSolid(*parallel[i], outcomes[i]);
                        }
                    });
                }
            };
            const std::size_t half = parallel.size() / 2 + 7;
            addPieces(0, half);
            work.Finish();
            addPieces(half, parallel.size());
            work.Finish();
        }
        ASSERT_EQ(outcomes.size(), expected.size());
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(outcomes[i].built, expected[i].built);
            EXPECT_EQ(outcomes[i].closed, expected[i].closed);
            EXPECT_EQ(outcomes[i].messages, expected[i].messages);
            EXPECT_EQ(outcomes[i].planesBefore, expected[i].planesBefore);
            const CMapSolid& a = *serial[i];
            const CMapSolid& b = *parallel[i];
            EXPECT_EQ(a.Bounds(), b.Bounds());
            ASSERT_EQ(a.FaceCount(), b.FaceCount());
            for (int f = 0; f < a.FaceCount(); ++f) {
                const CMapFace& fa = a.Face(f);
                const CMapFace& fb = b.Face(f);
                EXPECT_EQ(fa.GetPlane().normal, fb.GetPlane().normal);
                EXPECT_EQ(fa.GetPlane().dist, fb.GetPlane().dist);
                ASSERT_EQ(fa.PointCount(), fb.PointCount());
                for (int k = 0; k < fa.PointCount(); ++k) {
                    EXPECT_EQ(std::memcmp(&fa.Point(k), &fb.Point(k), sizeof(Vector)), 0);
                }
            }
        }
    }
}
