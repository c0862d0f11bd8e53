#include "render/View2DGrid.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Draws the grid as written: every value in turn, the last line on a pixel keeps its colour.
std::map<int, bool> ReferenceLines(int scroll, int clientSize, float zoom, int g) {
    std::map<int, bool> lines;
    const int origin = static_cast<int>(static_cast<float>(scroll) / zoom);
    const int start = (origin - g) / g * g;
    const int end = origin + static_cast<int>(static_cast<float>(clientSize) / zoom) + 2 * g;
    for (int value = start; value < end; value += g) {
        const int pixel = static_cast<int>(static_cast<float>(value) * zoom) - scroll;
        if (pixel >= 0 && pixel < clientSize) {
            lines[pixel] = value == 0;
        }
    }
    return lines;
}

std::map<int, bool> AsMap(const std::vector<GridLine>& lines) {
    std::map<int, bool> map;
    int previous = -1;
    for (const GridLine& line : lines) {
        EXPECT_GT(line.pixel, previous) << "one entry per pixel, in order";
        previous = line.pixel;
        map[line.pixel] = line.origin;
    }
    return map;
}

} // namespace

TEST(View2DGridTest, MatchesDrawingEveryLineInTurn) {
    for (float zoom : {0.03125f, 0.0625f, 0.1f, 0.25f, 1.0f, 3.7f, 8.0f}) {
        for (int g : {2, 8, 64, 512}) {
            for (int scroll : {-1300, -401, 0, 77, 900}) {
                View2DTransform t;
                t.zoom = zoom;
                t.scrollH = scroll;
                t.scrollV = -scroll / 2;
                t.clientWidth = 640;
                t.clientHeight = 410;
                const GridLines grid = ComputeGridLines(t, g, {0, 0, 639, 409});
                EXPECT_EQ(AsMap(grid.columns), ReferenceLines(t.scrollH, 640, zoom, g))
                    << zoom << " " << g << " " << scroll;
                EXPECT_EQ(AsMap(grid.rows), ReferenceLines(t.scrollV, 410, zoom, g))
                    << zoom << " " << g << " " << scroll;
                // Lines reach across the whole client area.
                EXPECT_LE(grid.rowFrom, 0);
                EXPECT_GE(grid.rowTo, 639);
                EXPECT_LE(grid.columnFrom, 0);
                EXPECT_GE(grid.columnTo, 409);
            }
        }
    }
}

TEST(View2DGridTest, TheLineAtZeroIsBlackEvenWhenDrawnFirst) {
    View2DTransform t;
    t.zoom = 1.0f;
    t.scrollV = 64; // the first row value is (64 - 64) / 64 x 64 = 0
    t.scrollH = -300;
    t.clientWidth = 600;
    t.clientHeight = 300;
    const GridLines grid = ComputeGridLines(t, 64, {-100, -100, 599, 299});
    ASSERT_FALSE(grid.rows.empty());
    EXPECT_EQ(grid.rows.front(), (GridLine{-64, true}));
    EXPECT_FALSE(grid.rows[1].origin);
    int origins = 0;
    for (const GridLine& column : grid.columns) {
        origins += column.origin ? 1 : 0;
        if (column.origin) {
            EXPECT_EQ(column.pixel, 300);
        }
    }
    EXPECT_EQ(origins, 1);
}

TEST(View2DGridTest, TinyZoomsStayFastAndClipLimitsTheLines) {
    View2DTransform t;
    t.zoom = 1e-7f; // many millions of grid values per pixel
    t.clientWidth = 1000;
    t.clientHeight = 1000;
    const GridLines grid = ComputeGridLines(t, 2, {0, 0, 999, 999});
    EXPECT_LE(grid.columns.size(), 1000u);
    t.zoom = 1.0f;
    const GridLines clipped = ComputeGridLines(t, 8, {100, 200, 140, 260});
    for (const GridLine& line : clipped.columns) {
        EXPECT_GE(line.pixel, 100);
        EXPECT_LE(line.pixel, 140);
    }
    EXPECT_EQ(clipped.columns.size(), 5u); // 104 ... 136
    EXPECT_TRUE(ComputeGridLines(t, 0, {0, 0, 10, 10}).rows.empty());
}
