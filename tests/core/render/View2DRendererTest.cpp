#include "render/View2DRenderer.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeServices.h"
#include "support/SolidBuilders.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class View2DRendererTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    RecordingHistory history;
    FakeEntityClasses classes;
    CMapWorld world;
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(200 * 200, 0);

    void SetUp() override {
        context.Context().SetActiveHistory(&history);
        context.Context().entityClasses = &classes;
        EntityClassDef& light = classes.Add("light");
        light.color = EntityClassDef::PackColor(255, 200, 0);
        light.hasColor = true;
        light.hasSize = true;
    }

    CMapSolid* Box(const Vector& lo, const Vector& hi, const char* texture = "BRICK") {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, lo, hi);
        EXPECT_TRUE(solid->CreateFromPlanes());
        solid->SetTexture(texture);
        solid->UpdateContentsFromTexture();
        solid->CalcBounds();
        return solid;
    }

    CMapEntity* PointEntity(const std::string& className, const Vector& origin) {
        auto* entity = new CMapEntity;
        entity->SetPointEntity(true);
        entity->SetClass(className);
        entity->SetOrigin(origin);
        return entity;
    }

    // A top view at zoom 1 with world (0, 0) in the middle of the 200 x 200 canvas.
    View2DScene Scene() {
        world.CalcBounds(true);
        world.UpdateVisibleObjects();
        View2DScene scene;
        scene.world = &world;
        scene.transform.axes = AxesForViewType(VIEW2D_XY);
        scene.transform.zoom = 1.0f;
        scene.transform.scrollH = -100;
        scene.transform.scrollV = -100;
        scene.transform.clientWidth = 200;
        scene.transform.clientHeight = 200;
        scene.showGrid = false;
        return scene;
    }

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * 200 + x)]; }
    // Pixel of world (x, y) in the scene above.
    std::uint32_t AtWorld(int x, int y) const { return At(100 + x, 100 - y); }

    View2DPaintStats Paint(const View2DScene& scene, PixelRect clip = {0, 0, 199, 199}) {
        PixelCanvas canvas(pixels.data(), 200, 200, 200);
        canvas.SetClip(clip);
        return PaintView2D(scene, canvas);
    }
};

} // namespace

TEST_F(View2DRendererTest, SolidsTakeThePenOfTheirContentsAndOwner) {
    world.AddChild(Box({-90, -90, 0}, {-50, -50, 64}));
    world.AddChild(Box({-40, -90, 0}, {0, -50, 64}, "*water1"));
    world.AddChild(Box({10, -90, 0}, {50, -50, 64}, "*slime0"));
    world.AddChild(Box({60, -90, 0}, {90, -50, 64}, "*lava1"));
    auto* door = new CMapEntity;
    door->SetClass("func_door");
    door->AddChild(Box({-90, 10, 0}, {-50, 50, 64}));
    world.AddChild(door);

    View2DScene scene = Scene();
    scene.drawVertices = false;
    const View2DPaintStats stats = Paint(scene);
    EXPECT_EQ(stats.solidsDrawn, 5);
    EXPECT_EQ(AtWorld(-70, -90), View2DColors::kSolid);
    EXPECT_EQ(AtWorld(-20, -50), View2DColors::kWater);
    EXPECT_EQ(AtWorld(50, -70), View2DColors::kSlime);
    EXPECT_EQ(AtWorld(60, -70), View2DColors::kLava);
    EXPECT_EQ(AtWorld(-70, 50), View2DColors::kEntitySolid);
    EXPECT_EQ(AtWorld(-70, -70), View2DColors::kBackground); // faces are outlines only
}

TEST_F(View2DRendererTest, VertexFramesOnlyWhenAsked) {
    world.AddChild(Box({-40, -40, 0}, {40, 40, 64}));
    View2DScene scene = Scene();
    scene.drawVertices = false;
    Paint(scene);
    EXPECT_EQ(AtWorld(-42, -41), View2DColors::kBackground);
    scene.drawVertices = true;
    Paint(scene);
    // A 3 x 3 frame around a corner: the pixel one left of and one below the corner.
    EXPECT_EQ(At(100 - 40 - 1, 100 + 40 + 1), View2DColors::kVertex);
    EXPECT_EQ(At(100 - 40 - 2, 100 + 40 + 1), View2DColors::kBackground);
}

TEST_F(View2DRendererTest, PointEntitiesAreFramedInTheirClassColour) {
    world.AddChild(PointEntity("light", {20, 20, 0}));
    world.AddChild(PointEntity("monster_unknown", {-30, 30, 0}));
    const View2DPaintStats stats = Paint(Scene());
    EXPECT_EQ(stats.pointEntitiesDrawn, 2);
    const std::uint32_t lightColor = OpaqueRgb(255, 200, 0);
    EXPECT_EQ(AtWorld(20 - 8, 20), lightColor);
    EXPECT_EQ(AtWorld(20 + 8, 20), lightColor);
    EXPECT_EQ(AtWorld(20, 20), View2DColors::kBackground);
    EXPECT_EQ(AtWorld(-30 - 10, 30), View2DColors::kEntityWithoutClass);

    // Zoomed far out, the 16-unit light (4 pixels at 0.25) is still framed 8 pixels across.
    View2DScene far = Scene();
    far.transform.zoom = 0.25f;
    std::fill(pixels.begin(), pixels.end(), 0u);
    Paint(far);
    // The light at (20, 20) lands on pixel (105, 95); its frame runs from 4 left to 4 right.
    EXPECT_EQ(At(101, 95), lightColor);
    EXPECT_EQ(At(109, 95), lightColor);
    EXPECT_EQ(At(105, 91), lightColor);
    EXPECT_EQ(At(105, 99), lightColor);
    EXPECT_EQ(At(100, 95), View2DColors::kBackground);
}

TEST_F(View2DRendererTest, ConnectionsJoinTargetsInThePenOfTheLastSolid) {
    world.AddChild(Box({60, 60, 0}, {90, 90, 64}, "*lava1"));
    CMapEntity* trigger = PointEntity("light", {-60, 0, 0});
    trigger->SetKeyValue("target", std::string("Door1"));
    world.AddChild(trigger);
    CMapEntity* target = PointEntity("light", {60, 0, 0});
    target->SetKeyValue("targetname", std::string("door1"));
    world.AddChild(target);

    View2DScene scene = Scene();
    EXPECT_EQ(Paint(scene).connectionsDrawn, 0);
    EXPECT_EQ(AtWorld(0, 0), View2DColors::kBackground);
    scene.showConnections = true;
    EXPECT_EQ(Paint(scene).connectionsDrawn, 1);
    EXPECT_EQ(AtWorld(0, 0), View2DColors::kLava);
}

TEST_F(View2DRendererTest, OnlySolidsReachingTheClipAreDrawn) {
    world.AddChild(Box({-90, -90, 0}, {-60, -60, 64}));
    world.AddChild(Box({60, 60, 0}, {90, 90, 64}));
    world.AddChild(Box({5000, 5000, 0}, {5100, 5100, 64}));
    View2DScene scene = Scene();
    View2DPaintStats stats = Paint(scene, {0, 0, 99, 199});
    EXPECT_EQ(stats.solidsDrawn, 1);
    EXPECT_EQ(stats.solidsSkipped, 2);

    // Painting the two halves separately gives the same picture as painting all at once.
    scene.showGrid = true;
    scene.gridSize = 16;
    Paint(scene, {0, 0, 199, 199});
    const std::vector<std::uint32_t> whole = pixels;
    std::fill(pixels.begin(), pixels.end(), 0u);
    Paint(scene, {0, 0, 120, 199});
    Paint(scene, {121, 0, 199, 199});
    EXPECT_EQ(pixels, whole);
}

TEST_F(View2DRendererTest, GridLinesAreGreyWithABlackOrigin) {
    View2DScene scene = Scene();
    scene.showGrid = true;
    scene.gridSize = 64;
    Paint(scene);
    EXPECT_EQ(AtWorld(0, 30), View2DColors::kGridOrigin);
    EXPECT_EQ(AtWorld(30, 0), View2DColors::kGridOrigin);
    EXPECT_EQ(AtWorld(64, 30), View2DColors::kGrid);
    EXPECT_EQ(AtWorld(30, -64), View2DColors::kGrid);
    EXPECT_EQ(AtWorld(30, 30), View2DColors::kBackground);
}

TEST_F(View2DRendererTest, ALeakTrailIsDrawnOverTheSolidsInItsOwnColour) {
    world.AddChild(Box({-50, -50, 0}, {50, 50, 64}));
    const std::vector<Vector> trail{{0, 0, 32}, {0, 80, 32}, {2000, 80, 32}};
    View2DScene scene = Scene();
    scene.leakTrail = &trail;
    Paint(scene);
    EXPECT_EQ(AtWorld(0, 20), View2DColors::kLeakTrail);
    EXPECT_EQ(AtWorld(1, 20), View2DColors::kLeakTrail) << "three pixels wide";
    EXPECT_EQ(AtWorld(0, 50), View2DColors::kLeakTrail) << "over the solid's edge";
    EXPECT_EQ(AtWorld(-30, 50), View2DColors::kSolid);
    EXPECT_EQ(AtWorld(90, 80), View2DColors::kLeakTrail) << "out to the void";
    EXPECT_EQ(AtWorld(-30, 20), View2DColors::kBackground);
}
