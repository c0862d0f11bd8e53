#include "render/Camera3D.h"
#include "render/SceneLights3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kTolerance = 1e-4f;

void ExpectNear(const Vector& actual, const Vector& expected, float tolerance = kTolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Where a map point lands on screen: (-1, -1) lower left to (1, 1) upper right.
Vector ToScreen(const Camera3D& camera, const Vector& map, int width = 800, int height = 600) {
    const Matrix3D clip =
        camera.Projection(width, height) * camera.ViewMatrix() * camera.ObjectsMatrix();
    const Vector p = clip.TransformPoint(map);
    const float w = clip.TransformW(map);
    return {p.x / w, p.y / w, p.z / w};
}

std::vector<float> Presses(Camera3D& camera, int digit, int count,
                           float (Camera3D::*value)() const) {
    std::vector<float> values;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(camera.PressViewportKey(digit));
        values.push_back((camera.*value)());
    }
    return values;
}

} // namespace

TEST(Camera3DTest, StartsHighOverTheWorldCentreLookingDownWithTheTopViewsOrientation) {
    Camera3D camera;
    BoundBox world;
    world.mins = {-512, 100, -64};
    world.maxs = {1536, 300, 512};
    camera.PlaceOverCenter(world);
    ExpectNear(camera.Position(), {512, 200, 2000});
    ExpectNear(camera.Forward(), {0, 0, -1});
    ExpectNear(camera.Up(), {0, 1, 0});

    // The centre is in the middle of the picture; +x is to the right and +y up, as in the
    // top 2D view; points nearer to the camera lie in front (smaller depth).
    const Vector centre = ToScreen(camera, {512, 200, 0});
    EXPECT_NEAR(centre.x, 0.0f, kTolerance);
    EXPECT_NEAR(centre.y, 0.0f, kTolerance);
    EXPECT_GT(ToScreen(camera, {612, 200, 0}).x, 0.0f);
    EXPECT_GT(ToScreen(camera, {512, 300, 0}).y, 0.0f);
    EXPECT_LT(ToScreen(camera, {512, 200, 500}).z, ToScreen(camera, {512, 200, 0}).z);

    camera.PlaceOverCenter(BoundBox{});
    ExpectNear(camera.Position(), {0, 0, 2000});
}

TEST(Camera3DTest, FieldOfViewCoversTheLargerSideOfThePicture) {
    Camera3D camera;
    camera.PlaceOverCenter(BoundBox{});
    // At 2000 units below the camera, the field 0.5 spans +-1000 units on the larger side.
    EXPECT_NEAR(ToScreen(camera, {1000, 0, 0}, 800, 600).x, 1.0f, kTolerance);
    EXPECT_NEAR(ToScreen(camera, {0, 750, 0}, 800, 600).y, 1.0f, kTolerance);
    EXPECT_NEAR(ToScreen(camera, {0, 1000, 0}, 600, 800).y, 1.0f, kTolerance);
}

TEST(Camera3DTest, ShiftArrowsAndLettersMoveFiftyUnitsAlongTheCamerasOwnAxes) {
    Camera3D camera;
    camera.PlaceOverCenter(BoundBox{});
    camera.Press(Camera3D::Key::Left, true, false);
    ExpectNear(camera.Position(), {-50, 0, 2000});
    camera.Press(Camera3D::Key::Right, true, false);
    camera.Press(Camera3D::Key::Right, true, false);
    ExpectNear(camera.Position(), {50, 0, 2000});
    camera.Press(Camera3D::Key::Up, true, false);
    ExpectNear(camera.Position(), {50, 50, 2000});
    camera.Press(Camera3D::Key::Down, true, false);
    ExpectNear(camera.Position(), {50, 0, 2000});
    // D goes forward (down toward the map), C back; Shift makes no difference to letters.
    camera.Press(Camera3D::Key::Forward, false, false);
    ExpectNear(camera.Position(), {50, 0, 1950});
    camera.Press(Camera3D::Key::Forward, true, false);
    camera.Press(Camera3D::Key::Backward, false, false);
    camera.Press(Camera3D::Key::Backward, false, false);
    ExpectNear(camera.Position(), {50, 0, 2000});
    // Escape stops: nothing moves.
    camera.Press(Camera3D::Key::Stop, false, false);
    ExpectNear(camera.Position(), {50, 0, 2000});
    ExpectNear(camera.Forward(), {0, 0, -1});

    // Moves follow the camera's axes once it has turned: after turning up, forward (D) runs
    // along the new viewing direction.
    for (int i = 0; i < 10; ++i) {
        camera.Press(Camera3D::Key::Up, false, false);
    }
    const Vector before = camera.Position();
    camera.Press(Camera3D::Key::Forward, false, false);
    const Vector step = camera.Position() - before;
    EXPECT_NEAR(VectorLength(step), 50.0f, kTolerance);
    ExpectNear(step * (1.0f / 50.0f), camera.Forward());
}

TEST(Camera3DTest, ArrowsTurnByFiveHundredthsOfARadianTheWayTheyPoint) {
    Camera3D camera;
    camera.PlaceOverCenter(BoundBox{});
    const float s = std::sin(0.05f);
    const float c = std::cos(0.05f);
    camera.Press(Camera3D::Key::Left, false, false);
    ExpectNear(camera.Forward(), {-s, 0, -c}); // toward the left (-x on screen)
    ExpectNear(camera.Position(), {0, 0, 2000});
    camera.Press(Camera3D::Key::Right, false, false);
    ExpectNear(camera.Forward(), {0, 0, -1});
    camera.Press(Camera3D::Key::Up, false, false);
    ExpectNear(camera.Forward(), {0, s, -c}); // toward the top of the picture
    ExpectNear(camera.Up(), {0, c, s});
    camera.Press(Camera3D::Key::Down, false, false);
    ExpectNear(camera.Forward(), {0, 0, -1});
    // F and S roll about the viewing direction, in opposite senses.
    camera.Press(Camera3D::Key::RollLeft, false, false);
    ExpectNear(camera.Forward(), {0, 0, -1});
    EXPECT_NEAR(std::fabs(camera.Up().x), s, kTolerance);
    const float rolled = camera.Up().x;
    camera.Press(Camera3D::Key::RollRight, false, false);
    camera.Press(Camera3D::Key::RollRight, false, false);
    EXPECT_NEAR(camera.Up().x, -rolled, kTolerance);
    // Many turns keep the axes square and of unit length.
    for (int i = 0; i < 500; ++i) {
        camera.Press(i % 3 == 0 ? Camera3D::Key::Left : Camera3D::Key::Up, false, false);
    }
    EXPECT_NEAR(VectorLength(camera.Forward()), 1.0f, kTolerance);
    EXPECT_NEAR(VectorLength(camera.Up()), 1.0f, kTolerance);
    EXPECT_NEAR(DotProduct(camera.Forward(), camera.Up()), 0.0f, kTolerance);
}

TEST(Camera3DTest, CtrlTurnsTheMapAboutTheCamerasAxisInsteadOfTheCamera) {
    Camera3D camera;
    BoundBox world;
    world.mins = {0, 0, 0};
    world.maxs = {1000, 1000, 0};
    camera.PlaceOverCenter(world);
    camera.Press(Camera3D::Key::Left, false, true);
    ExpectNear(camera.Forward(), {0, 0, -1});
    ExpectNear(camera.Up(), {0, 1, 0});
    ExpectNear(camera.Position(), {500, 500, 2000});
    // The map turned about the camera's up axis (the map's y) through the map's origin.
    const Matrix3D& objects = camera.ObjectsMatrix();
    ExpectNear(objects.TransformPoint({0, 0, 0}), {0, 0, 0});
    ExpectNear(objects.TransformPoint({0, 300, 0}), {0, 300, 0});
    ExpectNear(objects.TransformPoint({1000, 0, 0}),
               {1000 * std::cos(0.05f), 0, -1000 * std::sin(0.05f)}, 1e-2f);
    // Shift still moves the camera, and putting the camera over the world turns the map back.
    camera.Press(Camera3D::Key::Left, true, true);
    ExpectNear(camera.Position(), {450, 500, 2000});
    camera.PlaceOverCenter(world);
    ExpectNear(camera.ObjectsMatrix().TransformPoint({1000, 0, 0}), {1000, 0, 0});
}

TEST(Camera3DTest, BackPlaneKeysStepAndStopAtTheirLimits) {
    Camera3D camera;
    EXPECT_EQ(camera.Back(), 5000.0f);
    EXPECT_EQ(Presses(camera, 1, 7, &Camera3D::Back),
              (std::vector<float>{4000, 3000, 2000, 1000, 750, 500, 500}));
    EXPECT_EQ(Presses(camera, 2, 8, &Camera3D::Back),
              (std::vector<float>{750, 1000, 1250, 2250, 3250, 4250, 5250, 5250}));
}

TEST(Camera3DTest, FrontPlaneKeysStepBySixtyFourBetweenOneAndFiveHundredTwelve) {
    Camera3D camera;
    EXPECT_EQ(camera.Front(), 1.0f);
    EXPECT_EQ(Presses(camera, 4, 2, &Camera3D::Front), (std::vector<float>{64, 128}));
    EXPECT_EQ(Presses(camera, 3, 3, &Camera3D::Front), (std::vector<float>{64, 1, 1}));
    camera.SetFront(100);
    EXPECT_EQ(Presses(camera, 3, 2, &Camera3D::Front), (std::vector<float>{36, 1}));
    camera.SetFront(448);
    EXPECT_EQ(Presses(camera, 4, 2, &Camera3D::Front), (std::vector<float>{512, 512}));
}

TEST(Camera3DTest, FieldKeysStayWithinTheirLimitsAndNeverReachZero) {
    Camera3D camera;
    EXPECT_EQ(camera.Field(), 0.5f);
    for (int i = 0; i < 30; ++i) {
        camera.PressViewportKey(5);
    }
    EXPECT_GT(camera.Field(), 0.0f);
    EXPECT_LE(camera.Field(), 0.05f);
    const float lowest = camera.Field();
    camera.PressViewportKey(5);
    EXPECT_EQ(camera.Field(), lowest);
    // A field just above the limit takes one more step but stays usable.
    camera.SetField(0.0500001f);
    camera.PressViewportKey(5);
    EXPECT_GT(camera.Field(), 0.0f);
    for (int i = 0; i < 400; ++i) {
        camera.PressViewportKey(6);
    }
    EXPECT_GE(camera.Field(), 9.5f);
    EXPECT_LT(camera.Field(), 9.56f);
    EXPECT_FALSE(camera.PressViewportKey(7));
    EXPECT_FALSE(camera.PressViewportKey(0));
}

TEST(Camera3DTest, LookFromPutsTheCameraAtAPointLookingAtAnother) {
    Camera3D camera;
    camera.Press(Camera3D::Key::Left, false, true);
    camera.LookFrom({0, 0, 100}, {100, 0, 100});
    ExpectNear(camera.Position(), {0, 0, 100});
    ExpectNear(camera.Forward(), {1, 0, 0});
    // A level horizon: the map's up is up on screen, not rolled onto a side.
    ExpectNear(camera.Up(), {0, 0, 1});
    ExpectNear(camera.ObjectsMatrix().TransformPoint({1000, 0, 0}), {1000, 0, 0});
    const Vector target = ToScreen(camera, {100, 0, 100});
    EXPECT_NEAR(target.x, 0.0f, kTolerance);
    EXPECT_NEAR(target.y, 0.0f, kTolerance);
    // Looking along the map's y axis, or down a slope, the horizon stays level: the camera's
    // right has no z part and up leans towards the map's +z.
    camera.LookFrom({0, 0, 0}, {0, 50, 0});
    ExpectNear(camera.Forward(), {0, 1, 0});
    ExpectNear(camera.Up(), {0, 0, 1});
    camera.LookFrom({0, 0, 300}, {200, 100, 0});
    EXPECT_NEAR(camera.Right().z, 0.0f, kTolerance);
    EXPECT_GT(camera.Up().z, 0.0f);
    const Vector above = ToScreen(camera, {200, 100, 100});
    EXPECT_GT(above.y, 0.0f);
    EXPECT_NEAR(above.x, 0.0f, kTolerance);
    // Straight down there is no horizon: the map's y axis is up, as in the top view.
    camera.LookFrom({0, 0, 500}, {0, 0, 0});
    ExpectNear(camera.Up(), {0, 1, 0});
    // The same point twice keeps a usable camera.
    camera.LookFrom({5, 5, 5}, {5, 5, 5});
    EXPECT_NEAR(VectorLength(camera.Forward()), 1.0f, kTolerance);
}

TEST(Camera3DTest, BoxesWhollyOutsideTheViewAreToldApartFromBoxesThatMayShow) {
    Camera3D camera;
    camera.PlaceOverCenter(BoundBox{});
    const Matrix3D clip = camera.Projection(800, 600) * camera.ViewMatrix();
    auto box = [](Vector lo, Vector hi) {
        BoundBox b;
        b.mins = lo;
        b.maxs = hi;
        return b;
    };
    EXPECT_FALSE(IsBoxOutsideView(clip, box({-10, -10, 0}, {10, 10, 10})));
    // Straddling an edge of the picture, or reaching from behind the camera into view.
    EXPECT_FALSE(IsBoxOutsideView(clip, box({900, 0, 0}, {1200, 10, 10})));
    EXPECT_FALSE(IsBoxOutsideView(clip, box({-10, -10, 0}, {10, 10, 3000})));
    // Beside the picture, behind the camera, beyond the back plane; an empty box.
    EXPECT_TRUE(IsBoxOutsideView(clip, box({1100, 0, 0}, {1200, 10, 10})));
    EXPECT_TRUE(IsBoxOutsideView(clip, box({-10, -10, 2100}, {10, 10, 2200})));
    EXPECT_TRUE(IsBoxOutsideView(clip, box({-10, -10, -4000}, {10, 10, -3100})));
    EXPECT_TRUE(IsBoxOutsideView(clip, BoundBox{}));
}

TEST(SceneLights3DTest, FacesTurnedAlongYGetTheAmbientLightOnlyAndTheOthersFullLight) {
    const SceneLights3D lights;
    EXPECT_NEAR(lights.Brightness({0, 1, 0}).x, 0.5f, kTolerance);
    EXPECT_NEAR(lights.Brightness({0, -1, 0}).y, 0.5f, kTolerance);
    // Up and +x face the light from (3000, 0, 3000), down and -x the one from (-3000, 0, -3000).
    for (const Vector& n : {Vector{0, 0, 1}, Vector{0, 0, -1}, Vector{1, 0, 0}, Vector{-1, 0, 0}}) {
        EXPECT_NEAR(lights.Brightness(n).z, 1.0f, kTolerance);
    }
    EXPECT_NEAR(lights.Brightness({0.70710678f, 0, 0.70710678f}).x, 1.0f, kTolerance);
    // A face turned halfway toward y is lit in between.
    const float half = lights.Brightness({0.6f, 0.8f, 0}).x;
    EXPECT_GT(half, 0.5f);
    EXPECT_LT(half, 1.0f);
}
