#include "mapobjects/PointList.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {
std::vector<Vector> Points(int count, float start) {
    std::vector<Vector> points;
    for (int i = 0; i < count; ++i) {
        points.push_back({start + static_cast<float>(i), 0, 0});
    }
    return points;
}

std::vector<Vector> Held(const PointList& list) {
    return {list.begin(), list.end()};
}
} // namespace

// Polygons of up to four points live in the face, longer ones on the heap; copies, moves,
// growing, shrinking and assigning a list its own points keep every point either way.
TEST(PointListTest, KeepsItsPointsInsideAndOnTheHeap) {
    for (const int count : {0, 3, 4, 5, 40}) {
        SCOPED_TRACE(count);
        const std::vector<Vector> points = Points(count, 1);
        PointList list;
        list.assign(points.data(), points.data() + points.size());
        EXPECT_EQ(Held(list), points);

        PointList copy(list);
        EXPECT_EQ(Held(copy), points);
        PointList moved(std::move(copy));
        EXPECT_EQ(Held(moved), points);
        EXPECT_TRUE(copy.empty());
        copy = moved;
        EXPECT_EQ(Held(copy), points);
        PointList assigned;
        assigned = std::move(moved);
        EXPECT_EQ(Held(assigned), points);

        // Its own points, shifted by one.
        if (count > 1) {
            list.assign(list.data() + 1, list.data() + list.size());
            EXPECT_EQ(Held(list), std::vector<Vector>(points.begin() + 1, points.end()));
        }
        const std::vector<Vector> before = Held(list);
        list.resize(before.size() + 3);
        std::vector<Vector> grown = before;
        grown.resize(before.size() + 3);
        EXPECT_EQ(Held(list), grown);
        list.clear();
        EXPECT_TRUE(list.empty());
        const std::vector<Vector> longer = Points(9, 50);
        list.assign(longer.data(), longer.data() + longer.size());
        EXPECT_EQ(Held(list), longer);
    }
}
