#include "browser/TextureBrowserLayout.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureBarItems.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

class TextureBrowserLayoutTest : public ::testing::Test {
protected:
    std::deque<QuakeGraphic> store;
    std::vector<QuakeGraphic*> textures;

    QuakeGraphic* Add(const std::string& name, int width, int height) {
        QuakeGraphic& texture = store.emplace_back();
        texture.name = name;
        texture.width = width;
        texture.height = height;
        textures.push_back(&texture);
        return &texture;
    }
};

TEST_F(TextureBrowserLayoutTest, FixedCellsFillRowsAndWrapBeforeTheEdge) {
    for (int i = 0; i < 5; ++i) {
        Add("T" + std::to_string(i), 128, 32);
    }
    TextureBrowserLayout layout;
    // The third cell ends at 204; a fourth would end at 272.
    layout.Layout(textures, 64, 6, 240);
    const auto& cells = layout.Cells();
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0].x, 4);
    EXPECT_EQ(cells[0].y, 4);
    EXPECT_EQ(cells[0].width, 64);
    EXPECT_EQ(cells[0].height, 64);
    EXPECT_EQ(cells[1].x, 72);
    EXPECT_EQ(cells[2].x, 140);
    EXPECT_EQ(cells[3].x, 4);
    EXPECT_EQ(cells[3].y, 4 + 64 + 15 + 4);
    EXPECT_EQ(cells[4].x, 72);
    EXPECT_EQ(layout.ExtentWidth(), 140 + 64 + 4);
    EXPECT_EQ(layout.ExtentHeight(), cells[3].y + 64 + 4);

    // A cell that would end exactly at the edge still fits.
    layout.Layout(textures, 64, 6, 204);
    EXPECT_EQ(layout.Cells()[2].y, 4);
    layout.Layout(textures, 64, 6, 203);
    EXPECT_EQ(layout.Cells()[2].x, 4);

    EXPECT_EQ(layout.CellAt(80, 10), 1);
    EXPECT_EQ(layout.CellAt(70, 10), -1); // the gap between cells
    EXPECT_EQ(layout.CellOf(textures[4]), 4);
}

TEST_F(TextureBrowserLayoutTest, NaturalSizeTakesTheLongerOfPictureAndName) {
    Add("A_VERY_LONG_NAM", 16, 16);
    Add("SHORT", 64, 40);
    TextureBrowserLayout layout;
    layout.Layout(textures, TextureBrowserLayout::kNaturalSize, 7, 1000);
    const auto& cells = layout.Cells();
    EXPECT_EQ(cells[0].width, 15 * 7);
    EXPECT_EQ(cells[0].height, 16);
    EXPECT_EQ(cells[1].width, 64);
    EXPECT_EQ(cells[1].height, 40);
    EXPECT_EQ(cells[1].x, 4 + 105 + 4);
    // A single cell wider than the window still starts its own row at the left.
    layout.Layout(textures, 128, 7, 50);
    EXPECT_EQ(layout.Cells()[0].x, 4);
    EXPECT_EQ(layout.Cells()[1].x, 4);
    EXPECT_GT(layout.Cells()[1].y, layout.Cells()[0].y);
}

TEST_F(TextureBrowserLayoutTest, VisibleCellsAndFilter) {
    for (int i = 0; i < 100; ++i) {
        Add((i % 2 ? "wall" : "floor") + std::to_string(i), 64, 64);
    }
    TextureBrowserLayout layout;
    layout.Layout(textures, 64, 6, 4 + 10 * 68);
    // Rows are 83 pixels apart (from y 4); the band 300..500 meets rows 3 to 5.
    const std::vector<int> seen = layout.CellsIn(0, 300, 700, 500);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 30);
    EXPECT_EQ(seen.back(), 59);

    const auto walls = TextureBrowserLayout::Filter(textures, "WaLL");
    EXPECT_EQ(walls.size(), 50u);
    EXPECT_EQ(TextureBrowserLayout::Filter(textures, "").size(), 100u);
    EXPECT_EQ(TextureBrowserLayout::Filter(textures, "floor9").size(), 5u); // 90 to 98, even
}

TEST(TextureBarItemsTest, RecentBlockSeparatorStartRuleAndPrefixSearch) {
    TextureManager manager;
    Wad2Writer writer;
    for (const char* name : {"*water", "+0button", "door1", "bigdoor", "stone", "Stone2"}) {
        writer.AddTexture(name, 16, 16, {std::vector<std::uint8_t>(256, 1)});
    }
    manager.AddWadFromMemory("test.wad", writer.Build());
    manager.SortAllTextures();

    std::vector<QuakeGraphic*> items = TextureBarItems::Build(manager);
    ASSERT_EQ(items.size(), 6u); // no separator without recently used textures
    EXPECT_EQ(items[TextureBarItems::StartPosition(items)]->name, "Stone2");

    manager.MarkUsed(items[0]);
    items = TextureBarItems::Build(manager);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[1], nullptr);
    EXPECT_EQ(TextureBarItems::FindByPrefix(items, "STONE"), 4);
    EXPECT_EQ(TextureBarItems::FindByPrefix(items, "stone", 4), 7);
    EXPECT_EQ(TextureBarItems::FindByPrefix(items, "stone", 7), -1);
    EXPECT_EQ(TextureBarItems::FindByPrefix(items, "*wa"), 0);
    EXPECT_EQ(TextureBarItems::FindByPrefix(items, "*wa", 0), 2);

    // Only rejected names: the first texture is the start.
    std::vector<QuakeGraphic*> rejected{items[2], items[3]};
    EXPECT_EQ(TextureBarItems::StartPosition(rejected), 0);
    EXPECT_EQ(TextureBarItems::StartPosition({}), -1);
}

} // namespace
