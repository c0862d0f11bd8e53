#include "geometry/BoundBox.h"
#include "geometry/Winding.h"
#include "session/EditorContext.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

class GeometryKernelTest : public ::testing::Test {
protected:
    ScopedEditorContext context;

    const MessageLog::Line& LastLine() { return context.Context().messages.Lines().back(); }

    static WindingPtr Square(float half, float z) {
        WindingPtr w = NewWinding(4);
        (*w)[0] = {-half, half, z};
        (*w)[1] = {half, half, z};
        (*w)[2] = {half, -half, z};
        (*w)[3] = {-half, -half, z};
        w->numpoints = 4;
        return w;
    }
};

TEST_F(GeometryKernelTest, RoundCoordTakesHalvesAwayFromZero) {
    EXPECT_EQ(RoundCoord(2.5f), 3.0f);
    EXPECT_EQ(RoundCoord(-2.5f), -3.0f);
    EXPECT_EQ(RoundCoord(2.49f), 2.0f);
    EXPECT_EQ(RoundCoord(-0.0f), 0.0f);
    EXPECT_FALSE(std::signbit(RoundCoord(-0.0f)));
    // As floor(v + 0.5) above zero and ceil(v - 0.5) below, to the bit (-0.3 gives -0).
    std::mt19937 random(3);
    for (int i = 0; i < 200000; ++i) {
        const float scale = std::ldexp(1.0f, static_cast<int>(random() % 60) - 20);
        const float value = std::uniform_real_distribution<float>(-1.0f, 1.0f)(random) * scale;
        const float expected = value > 0.0f   ? std::floor(value + 0.5f)
                               : value < 0.0f ? std::ceil(value - 0.5f)
                                              : 0.0f;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(RoundCoord(value)),
                  std::bit_cast<std::uint32_t>(expected))
            << value;
    }
    EXPECT_TRUE(std::signbit(RoundCoord(-0.3f)));
    EXPECT_EQ(RoundCoord(std::numeric_limits<float>::infinity()),
              std::numeric_limits<float>::infinity());
}

TEST_F(GeometryKernelTest, RotatePoint2DExactQuarterTurnsAndSpecialCases) {
    float a = 0, b = 0;
    RotatePoint2D(1, 0, 90, a, b);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 1.0f);
    RotatePoint2D(3, 4, 180, a, b);
    EXPECT_EQ(a, -3.0f);
    EXPECT_EQ(b, -4.0f);
    RotatePoint2D(3, 4, 270, a, b);
    EXPECT_EQ(a, 4.0f);
    EXPECT_EQ(b, -3.0f);
    RotatePoint2D(0, -0.0f, 45, a, b);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
    RotatePoint2D(3.25f, -7.5f, 360, a, b);
    EXPECT_EQ(a, 3.25f);
    EXPECT_EQ(b, -7.5f);
    RotatePoint2D(3.25f, -7.5f, -0.0f, a, b);
    EXPECT_EQ(a, 3.25f);
    EXPECT_EQ(b, -7.5f);
}

TEST_F(GeometryKernelTest, RotatePoint2DUsesTheSixDigitDegreeConstant) {
    float a = 0, b = 0;
    RotatePoint2D(1000, 0, 45, a, b);
    double theta = 45 * 0.0174533;
    EXPECT_FLOAT_EQ(a, static_cast<float>(1000 * std::cos(theta)));
    EXPECT_FLOAT_EQ(b, static_cast<float>(1000 * std::sin(theta)));
    // The constant differs from pi/180 enough to show at this radius.
    EXPECT_NE(a, static_cast<float>(1000 * std::cos(M_PI / 4)));
}

TEST_F(GeometryKernelTest, NewWindingIsZeroedAndReportsOversizedRequests) {
    WindingPtr w = NewWinding(8);
    EXPECT_EQ(w->numpoints, 0);
    EXPECT_EQ(w->Capacity(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ((*w)[i], Vector());
    }
    EXPECT_EQ(context.Context().messages.Count(), 0u);
    WindingPtr big = NewWinding(200);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->Capacity(), 200);
    EXPECT_EQ(LastLine().text, "NewWinding: 200 points");
    EXPECT_EQ(LastLine().kind, MessageLog::Error);
}

TEST_F(GeometryKernelTest, ClipKeepsWindingOnOrInFrontAndDropsOneBehind) {
    WindingPtr w = Square(32, 0);
    Winding* raw = w.get();
    WindingPtr on = ClipWinding(std::move(w), Plane{{0, 0, 1}, 0.05f});
    EXPECT_EQ(on.get(), raw); // all points on the plane: the very same winding

    WindingPtr front = ClipWinding(std::move(on), Plane{{0, 0, 1}, -10});
    EXPECT_EQ(front.get(), raw);

    WindingPtr behind = ClipWinding(std::move(front), Plane{{0, 0, 1}, 10});
    EXPECT_EQ(behind, nullptr);
}

TEST_F(GeometryKernelTest, ClipOnAxisAlignedPlanePutsPointsExactlyOnTheDistance) {
    // A slanted quad so interpolation would give rounding error on x.
    WindingPtr w = NewWinding(4);
    (*w)[0] = {-100.3f, 50, 0};
    (*w)[1] = {77.7f, 50, 13};
    (*w)[2] = {77.7f, -50, 13};
    (*w)[3] = {-100.3f, -50, 0};
    w->numpoints = 4;
    WindingPtr clipped = ClipWinding(std::move(w), Plane{{-1, 0, 0}, -33.3f});
    ASSERT_TRUE(clipped);
    int onPlane = 0;
    for (int i = 0; i < clipped->numpoints; ++i) {
        EXPECT_LE((*clipped)[i].x, 33.3f);
        if ((*clipped)[i].x == 33.3f) {
            ++onPlane;
        }
    }
    EXPECT_EQ(onPlane, 2);
    EXPECT_EQ(clipped->numpoints, 4);

    WindingPtr w2 = Square(64, 0);
    WindingPtr clipped2 = ClipWinding(std::move(w2), Plane{{0, 1, 0}, 10.1f});
    ASSERT_TRUE(clipped2);
    for (int i = 0; i < clipped2->numpoints; ++i) {
        EXPECT_GE((*clipped2)[i].y, 10.1f);
    }
}

TEST_F(GeometryKernelTest, ClipKeepsPointOrderSoTheResultPassesCheckFace) {
    Plane plane{{0, 0, 1}, 0};
    WindingPtr w = Square(64, 0);
    Plane cut{{0.6f, 0.8f, 0}, 5};
    WindingPtr clipped = ClipWinding(std::move(w), cut);
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->numpoints, 4);
    EXPECT_TRUE(CheckFace(clipped->Points(), clipped->numpoints, plane));
}

TEST_F(GeometryKernelTest, BasePolyForPlaneZ64) {
    WindingPtr w = BasePolyForPlane(Plane{{0, 0, 1}, 64});
    ASSERT_EQ(w->numpoints, 4);
    EXPECT_EQ((*w)[0], Vector(8192, 8192, 64));
    EXPECT_EQ((*w)[1], Vector(8192, -8192, 64));
    EXPECT_EQ((*w)[2], Vector(-8192, -8192, 64));
    EXPECT_EQ((*w)[3], Vector(-8192, 8192, 64));
    EXPECT_TRUE(CheckFace(w->Points(), w->numpoints, Plane{{0, 0, 1}, 64}));
}

TEST_F(GeometryKernelTest, BasePolyForPlaneTiesKeepTheEarlierAxis) {
    float c = std::sqrt(0.5f);
    Plane plane{{0, c, c}, 16};
    WindingPtr w = BasePolyForPlane(plane);
    // y wins the tie with z, so up starts along z and the first point lies towards -y
    // (had z won, up would start along x and the first point would lie towards +y).
    EXPECT_LT((*w)[0].y, 0.0f);
    EXPECT_TRUE(CheckFace(w->Points(), w->numpoints, plane));
}

TEST_F(GeometryKernelTest, CheckFaceReportsEachFault) {
    Plane plane{{0, 0, 1}, 0};
    std::vector<std::pair<std::vector<Vector>, std::string>> cases = {
        {{}, "CheckFace: no points"},
        {{{0, 0, 0}, {1, 0, 0}}, "CheckFace: 2 points"},
        {{{0, 0, 0}, {18000.5f, 0, 0}, {0, -10, 0}}, "CheckFace: BUGUS_RANGE: 18000.500000"},
        {{{0, 0, 0}, {10, 0, 0.5f}, {0, -10, 0}}, "CheckFace: point off plane"},
        {{{0, 0, 0}, {0.05f, 0, 0}, {0, -10, 0}}, "CheckFace: degenerate edge"},
        // Reversed order: the edge normals point inward.
        {{{0, 0, 0}, {0, -10, 0}, {10, 0, 0}}, "CheckFace: non-convex"},
    };
    for (const auto& [points, message] : cases) {
        EXPECT_FALSE(CheckFace(points.data(), static_cast<int>(points.size()), plane)) << message;
        EXPECT_EQ(LastLine().text, message);
        EXPECT_EQ(LastLine().kind, MessageLog::Error);
    }
    std::vector<Vector> good = {{0, 0, 0}, {10, 0, 0}, {0, -10, 0}};
    std::size_t before = context.Context().messages.Count();
    EXPECT_TRUE(CheckFace(good.data(), 3, plane));
    EXPECT_EQ(context.Context().messages.Count(), before);
}

// Polygons of up to 32 points are clipped and checked four points at a time; the results must
// be those of the one-at-a-time reading to the bit, near the tolerances as well.
TEST_F(GeometryKernelTest, ClippingAndFaceChecksOfSmallPolygonsMatchThePointByPointOnes) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const auto bits = [](const Vector& v) {
        return std::array{std::bit_cast<std::uint32_t>(v.x), std::bit_cast<std::uint32_t>(v.y),
                          std::bit_cast<std::uint32_t>(v.z)};
    };
    const auto someNormal = [&]() {
        if (random() % 3 == 0) {
            Vector axis;
            axis[static_cast<int>(random() % 3)] = random() % 2 ? 1.0f : -1.0f;
            return axis;
        }
        Vector n{unit(random), unit(random), unit(random)};
        VectorNormalize(n);
        return n;
    };
    int cuts = 0;
    int unsound = 0;
    for (int round = 0; round < 20000; ++round) {
        const int count = 3 + static_cast<int>(random() % 38);
        const Plane plane{someNormal(), unit(random) * 500};
        Vector across = CrossProduct(plane.normal, Vector{0.3f, 0.5f, 0.8f});
        VectorNormalize(across);
        const Vector up = CrossProduct(plane.normal, across);
        const float radius =
            random() % 10 == 0 ? 20000.0f : 1.0f + 300.0f * std::fabs(unit(random));
        std::vector<Vector> points;
        for (int i = 0; i < count; ++i) {
            // Clockwise seen from the front, as faces run; now and then a point moved in, off the
            // plane by about the tolerance, or onto the one before.
            const float angle = -6.2831853f * static_cast<float>(i) / static_cast<float>(count);
            Vector p = plane.normal * plane.dist + across * (radius * std::cos(angle)) +
                       up * (radius * std::sin(angle));
            switch (random() % 40) {
            case 0:
                p = p * 0.5f;
                break;
            case 1:
                p = p + plane.normal * (0.1f * unit(random));
                break;
            case 2:
                if (!points.empty()) {
                    p = points.back() + across * 0.05f;
                }
                break;
            default:
                break;
            }
            points.push_back(p);
        }
        std::vector<std::string> quickLines;
        std::vector<std::string> slowLines;
        bool quick = false;
        {
            GeometryMessageCapture capture(quickLines);
            quick = CheckFace(points.data(), count, plane);
        }
        {
            GeometryMessageCapture capture(slowLines);
            ASSERT_EQ(quick, winding_detail::CheckFacePointByPoint(points.data(), count, plane));
        }
        EXPECT_EQ(quickLines, slowLines);
        unsound += quick ? 0 : 1;

        // A plane through one of the points, moved by about the tolerance.
        const Plane cut{someNormal(), 0};
        const Plane cutting{cut.normal, DotProduct(points[random() % points.size()], cut.normal) +
                                            0.1f * unit(random)};
        std::vector<Vector> quickOut(points.size() + 4);
        std::vector<Vector> slowOut(points.size() + 4);
        int quickCount = -1;
        int slowCount = -1;
        const ClipOutcome quickOutcome =
            ClipPolygon(points.data(), count, cutting, quickOut.data(), quickCount);
        const ClipOutcome slowOutcome = winding_detail::ClipPolygonPointByPoint(
            points.data(), count, cutting, slowOut.data(), slowCount);
        ASSERT_EQ(quickOutcome, slowOutcome);
        ASSERT_EQ(quickCount, slowCount);
        for (int i = 0; i < quickCount; ++i) {
            ASSERT_EQ(bits(quickOut[i]), bits(slowOut[i])) << round << " " << i;
        }
        cuts += quickOutcome == ClipOutcome::Cut ? 1 : 0;
    }
    // Both kinds of outcome were met often.
    EXPECT_GT(cuts, 5000);
    EXPECT_GT(unsound, 2000);
    EXPECT_LT(unsound, 18000);
}

TEST_F(GeometryKernelTest, ClipRefusesWindingsBeyondTheSideTables) {
    WindingPtr w = NewWinding(130);
    w->numpoints = 130;
    Winding* raw = w.get();
    WindingPtr result = ClipWinding(std::move(w), Plane{{0, 0, 1}, 0});
    EXPECT_EQ(result.get(), raw);
    EXPECT_EQ(LastLine().text, "ClipWinding: points exceeded estimate");
}

TEST_F(GeometryKernelTest, BoundBoxGrowsAndIgnoresEmptyBoxes) {
    BoundBox box;
    EXPECT_TRUE(box.IsEmpty());
    box.UpdateBounds(Vector(1, 2, 3));
    box.UpdateBounds(BoundBox{});
    EXPECT_EQ(box.mins, Vector(1, 2, 3));
    EXPECT_EQ(box.maxs, Vector(1, 2, 3));
}

} // namespace
