#include "document/Pointfile.h"

#include <gtest/gtest.h>

TEST(PointfileTest, ReadsPointsAndRefusesWhatIsNoPointfile) {
    std::vector<Vector> points;
    std::string error;
    ASSERT_TRUE(Pointfile::Parse("  -128 64.5 16\r\n\n0 0 0\n1e3 -2 3", points, error)) << error;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].y, 64.5f);
    EXPECT_EQ(points[2].x, 1000.0f);
    EXPECT_FALSE(Pointfile::Parse("1 2 3\n4 5\n", points, error));
    EXPECT_EQ(error, "line 2 is not a point (three numbers)");
    EXPECT_TRUE(points.empty());
    EXPECT_FALSE(Pointfile::Parse("1 2 3 4\n", points, error));
    EXPECT_FALSE(Pointfile::Parse("nan 2 3\n", points, error));
    EXPECT_FALSE(Pointfile::Parse("\n \n", points, error));
    Pointfile file;
    EXPECT_FALSE(file.Load("/no/such/file.pts", error));
    EXPECT_FALSE(error.empty());
}

TEST(PointfileTest, TheCameraStepsAlongTheTrailLookingAhead) {
    Pointfile trail;
    trail.points = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}};
    Vector position;
    Vector target;
    ASSERT_TRUE(trail.Step(+1, position, target));
    EXPECT_EQ(position, Vector(0, 0, 0));
    EXPECT_EQ(target, Vector(64, 0, 0));
    trail.Step(+1, position, target);
    EXPECT_EQ(position, Vector(64, 0, 0));
    EXPECT_EQ(target, Vector(64, 64, 0));
    trail.Step(+1, position, target);
    trail.Step(+1, position, target); // stays at the end, looking on the same way
    EXPECT_EQ(trail.current, 2);
    EXPECT_EQ(target, Vector(64, 128, 0));
    trail.Step(-1, position, target);
    EXPECT_EQ(position, Vector(64, 0, 0));
    Pointfile none;
    EXPECT_FALSE(none.Step(+1, position, target));
}
