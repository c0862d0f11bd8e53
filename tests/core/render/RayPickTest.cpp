#include "render/RayPick3D.h"

#include "core/render/RenderTestSupport.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapWorld.h"
#include "render/View3DModel.h"
#include "render/View3DPicking.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class RayPickTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    CMapDoc doc;
    std::unique_ptr<View3DModel> model;

    void SetUp() override { context.Context().SetPrompts(&prompts); }

    CMapSolid* AddBox(const Vector& lo, const Vector& hi, CMapClass* parent = nullptr) {
        CMapSolid* solid = MakeBoxSolid(lo, hi);
        (parent ? parent : doc.World())->AddChild(solid);
        return solid;
    }

    // The view is ready with the camera high above the origin looking straight down.
    View3DModel& Start() {
        doc.World()->CalcBounds(true);
        doc.World()->UpdateVisibleObjects();
        model = std::make_unique<View3DModel>(doc);
        model->Start();
        model->Camera().LookFrom({0, 0, 1000}, {0, 0, 0});
        return *model;
    }

    std::vector<PickHit3D> HitsAtCentre() {
        return View3DPicking::HitsAt(*model, 160.0f, 120.0f, 320, 240);
    }
};

TEST_F(RayPickTest, CentreRayLooksAlongTheCameraAndCornersSpreadByTheField) {
    Camera3D camera;
    camera.LookFrom({10, 20, 500}, {10, 20, 0});
    const PickRay3D centre = RayThroughPixel(camera, 160.0f, 120.0f, 320, 240);
    EXPECT_NEAR(centre.direction.z, -1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(centre.origin.x, 10.0f);
    // The right edge of the picture is the field's half width out at distance 1.
    const PickRay3D right = RayThroughPixel(camera, 320.0f, 120.0f, 320, 240);
    EXPECT_NEAR(right.direction.x / -right.direction.z, camera.Field(), 1e-4f);
    // The top of the picture is up on screen: the map's +y when looking down.
    const PickRay3D top = RayThroughPixel(camera, 160.0f, 0.0f, 320, 240);
    EXPECT_GT(top.direction.y, 0.0f);
}

TEST_F(RayPickTest, NearestSolidComesFirstWithTheFaceTurnedToTheCamera) {
    CMapSolid* low = AddBox({-32, -32, 0}, {32, 32, 64});
    CMapSolid* high = AddBox({-16, -16, 200}, {16, 16, 240});
    AddBox({500, 500, 0}, {564, 564, 64}); // off the ray
    Start();
    const auto hits = HitsAtCentre();
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, high);
    EXPECT_EQ(hits[1].object, low);
    EXPECT_NEAR(hits[0].distance, 1000.0f - 240.0f, 0.01f);
    // Face 0 of a box is its top (+z), the one seen from above.
    EXPECT_EQ(hits[0].faceIndex, 0);
    EXPECT_EQ(high->Face(hits[0].faceIndex).GetPlane().normal.z, 1.0f);
}

TEST_F(RayPickTest, SideFaceIsFoundWhenLookingAcross) {
    CMapSolid* box = AddBox({-32, -32, -32}, {32, 32, 32});
    Start();
    model->Camera().LookFrom({1000, 0, 0}, {0, 0, 0});
    const auto hits = HitsAtCentre();
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(box->Face(hits[0].faceIndex).GetPlane().normal.x, 1.0f);
    EXPECT_NEAR(hits[0].distance, 968.0f, 0.01f);
}

TEST_F(RayPickTest, NothingBehindTheCameraOrBeyondTheBackPlaneIsPicked) {
    AddBox({-32, -32, 2000}, {32, 32, 2064});   // behind the camera at z 1000 looking down
    AddBox({-32, -32, -9000}, {32, 32, -8900}); // beyond the back plane (5000)
    Start();
    EXPECT_TRUE(HitsAtCentre().empty());
}

TEST_F(RayPickTest, TurnedMapIsPickedWhereItIsShown) {
    // The map turned half round about the camera's up axis: a box at +x shows at -x.
    CMapSolid* box = AddBox({200, -16, -16}, {232, 16, 16});
    Start();
    model->Camera().LookFrom({0, 0, 1000}, {0, 0, 0});
    for (int i = 0; i < 63; ++i) { // 63 x 0.05 radian ~ pi
        model->Camera().Press(Camera3D::Key::RollLeft, false, true);
    }
    const float scale = 320.0f / (2.0f * model->Camera().Field() * 1000.0f);
    const float shownX = 160.0f - 216.0f * scale;
    const auto hits = View3DPicking::HitsAt(*model, shownX, 120.0f, 320, 240);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].object, box);
}

TEST_F(RayPickTest, ObjectPickListHoldsTopLevelOwnersAndSelectsTheFirst) {
    auto* group = new CMapGroup;
    doc.World()->AddChild(group);
    CMapSolid* inGroup = AddBox({-16, -16, 100}, {16, 16, 132}, group);
    CMapSolid* below = AddBox({-32, -32, 0}, {32, 32, 64});
    CMapSolid* other = AddBox({300, 300, 0}, {364, 364, 64});
    group->CalcBounds(true);
    Start();
    doc.SelectObject(other, SELECT_ADD | SELECT_UPDATE);

    ASSERT_TRUE(View3DPicking::PickObjects(doc, HitsAtCentre(), false));
    ASSERT_EQ(doc.PickList().size(), 2u);
    EXPECT_EQ(doc.PickList()[0], group);
    EXPECT_EQ(doc.PickList()[1], below);
    EXPECT_NE(doc.PickList()[0], inGroup);
    ASSERT_EQ(doc.SelectedObjects().size(), 1u);
    EXPECT_EQ(doc.SelectedObjects()[0], group);

    // Holding the button steps to the next object under the pointer.
    doc.PickNext();
    ASSERT_EQ(doc.SelectedObjects().size(), 1u);
    EXPECT_EQ(doc.SelectedObjects()[0], below);

    // Ctrl adds to the selection instead of replacing it.
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    doc.SelectObject(other, SELECT_ADD | SELECT_UPDATE);
    ASSERT_TRUE(View3DPicking::PickObjects(doc, HitsAtCentre(), true));
    EXPECT_EQ(doc.SelectedObjects().size(), 2u);
    EXPECT_TRUE(other->IsSelected());
    EXPECT_TRUE(group->IsSelected());
}

TEST_F(RayPickTest, ClickOnNothingKeepsTheSelectionAndPickList) {
    CMapSolid* box = AddBox({300, 300, 0}, {364, 364, 64});
    Start();
    doc.SelectObject(box, SELECT_ADD | SELECT_UPDATE);
    EXPECT_FALSE(View3DPicking::PickObjects(doc, HitsAtCentre(), false));
    EXPECT_TRUE(box->IsSelected());
}

TEST_F(RayPickTest, FacePickingSelectsOneFaceAddsWithCtrlAndTakesTheSolidWithShift) {
    CMapSolid* a = AddBox({-32, -32, 0}, {32, 32, 64});
    CMapSolid* b = AddBox({300, 300, 0}, {364, 364, 64});
    Start();
    ASSERT_TRUE(View3DPicking::PickFaces(doc, HitsAtCentre(), false, false));
    ASSERT_EQ(doc.SelectedFaces().size(), 1u);
    EXPECT_EQ(doc.SelectedFaces()[0], &a->Face(0));
    EXPECT_TRUE(a->Face(0).IsSelected());
    ASSERT_EQ(doc.FaceOwners().size(), 1u);

    // The selected face is drawn red: its points carry the highlight colour.
    MeshStore3D& meshes = model->Meshes();
    meshes.SetStyle(MeshStyle3D::Filled);
    meshes.RefreshChunks();
    int red = 0;
    for (const MeshVertex3D& v : meshes.Chunk(0).vertices) {
        red += (v.color[0] == 220 && v.color[1] == 0 && v.color[2] == 0) ? 1 : 0;
    }
    EXPECT_EQ(red, 4);

    // Ctrl adds a face of another solid.
    model->Camera().LookFrom({332, 332, 1000}, {332, 332, 0});
    ASSERT_TRUE(View3DPicking::PickFaces(doc, HitsAtCentre(), true, false));
    EXPECT_EQ(doc.SelectedFaces().size(), 2u);
    EXPECT_EQ(doc.FaceOwners().size(), 2u);

    // Shift takes every face of the solid, and only those.
    ASSERT_TRUE(View3DPicking::PickFaces(doc, HitsAtCentre(), false, true));
    EXPECT_EQ(doc.SelectedFaces().size(), static_cast<std::size_t>(b->FaceCount()));
    EXPECT_FALSE(a->Face(0).IsSelected());
    ASSERT_EQ(doc.FaceOwners().size(), 1u);
    EXPECT_EQ(doc.FaceOwners()[0], b);
}

TEST_F(RayPickTest, MouseLookTurnsTheOtherWayWithReverseY) {
    Camera3D normal;
    Camera3D reversed;
    normal.LookFrom({0, 0, 1000}, {0, 0, 0});
    reversed.LookFrom({0, 0, 1000}, {0, 0, 0});
    normal.MouseLook(0.0f, 10.0f, false);
    reversed.MouseLook(0.0f, 10.0f, true);
    EXPECT_LT(normal.Forward().y, 0.0f);
    EXPECT_GT(reversed.Forward().y, 0.0f);
    EXPECT_NEAR(std::asin(reversed.Forward().y), 10 * Camera3D::kMouseTurnStep, 1e-4f);

    // A horizontal drag turns about the map's up axis: the view keeps its tilt.
    Camera3D level;
    level.LookFrom({0, 0, 0}, {0, 100, -10});
    const float tilt = level.Forward().z;
    level.MouseLook(25.0f, 0.0f, true);
    EXPECT_NEAR(level.Forward().z, tilt, 1e-5f);
    EXPECT_GT(level.Forward().x, 0.0f); // pointer right: the view turns right
}

TEST_F(RayPickTest, MouseMoveSlidesAcrossTheViewOrPullsAlongIt) {
    Camera3D camera;
    camera.LookFrom({0, 0, 1000}, {0, 0, 0});
    camera.MouseMove(5.0f, 0.0f, false);
    EXPECT_NEAR(camera.Position().x, 10.0f, 1e-4f);
    camera.MouseMove(0.0f, 5.0f, false);
    EXPECT_NEAR(camera.Position().y, -10.0f, 1e-4f);
    camera.MouseMove(0.0f, -5.0f, true);
    EXPECT_NEAR(camera.Position().z, 990.0f, 1e-3f);
}

} // namespace
