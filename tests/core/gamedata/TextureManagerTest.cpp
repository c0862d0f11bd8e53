#include "gamedata/TextureManager.h"
#include "GameDataTestSupport.h"
#include "browser/TextureDrawLayout.h"
#include "gamedata/ImageStretch.h"
#include "gamedata/Wad2Writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include <sys/stat.h>

namespace {
std::vector<std::uint8_t> Pattern(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(x + 16 * y);
        }
    }
    return pixels;
}

std::vector<std::uint8_t>
WadOf(const std::vector<std::pair<std::string, std::pair<int, int>>>& list) {
    Wad2Writer writer;
    for (const auto& [name, size] : list) {
        writer.AddTexture(name, size.first, size.second, {Pattern(size.first, size.second)});
    }
    return writer.Build();
}

void PutInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::size_t DirectoryOffset(const std::vector<std::uint8_t>& wad) {
    return static_cast<std::size_t>(wad[8] | (wad[9] << 8) | (wad[10] << 16) | (wad[11] << 24));
}
} // namespace

class TextureManagerTest : public GameDataFixture {
protected:
    TextureManager& textures = scoped.Context().TextureCatalogue();
};

TEST(ImageStretchTest, PowersOfTwoAndExactErrorTermStepping) {
    EXPECT_EQ(NextPowerOfTwo(1), 1);
    EXPECT_EQ(NextPowerOfTwo(64), 64);
    EXPECT_EQ(NextPowerOfTwo(65), 128);
    EXPECT_EQ(NextPowerOfTwo(96), 128);
    EXPECT_EQ(NextPowerOfTwo(40), 64);

    // 3 columns to 4, stepped by hand: the error goes 2 -> 0 -> -2 -> 4 -> 2, advancing after
    // the first, second and fourth pixel, so the columns read are 0, 1, 2, 2.
    std::uint8_t source[3 * 1] = {10, 20, 30};
    std::uint8_t out[4] = {};
    StretchImage(source, 3, 1, out, 4, 1);
    EXPECT_EQ(std::vector<int>(out, out + 4), (std::vector<int>{10, 20, 30, 30}));

    // 5 x 3 to 8 x 4: columns 0 1 1 2 3 3 4 4 in every row (the horizontal error carries over
    // from row to row and comes back to 2), rows 0 1 2 2.
    std::vector<std::uint8_t> image(15);
    for (int i = 0; i < 15; ++i) {
        image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    std::vector<std::uint8_t> big(32);
    StretchImage(image.data(), 5, 3, big.data(), 8, 4);
    const std::vector<int> firstRow(big.begin(), big.begin() + 8);
    EXPECT_EQ(firstRow, (std::vector<int>{0, 1, 1, 2, 3, 3, 4, 4}));
    std::vector<int> rowStarts;
    for (int y = 0; y < 4; ++y) {
        rowStarts.push_back(big[static_cast<std::size_t>(y * 8)] / 5);
    }
    EXPECT_EQ(rowStarts, (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(std::vector<int>(big.begin() + 24, big.end()),
              (std::vector<int>{10, 11, 11, 12, 13, 13, 14, 14}));
}

TEST(ImageStretchTest, NeverReadsOutsideTheSourceForAnyWidth) {
    for (int width = 1; width <= 300; ++width) {
        const int height = (width % 7) + 1;
        std::vector<std::uint8_t> source(static_cast<std::size_t>(width * height), 1);
        const int sw = NextPowerOfTwo(width);
        const int sh = NextPowerOfTwo(height);
        std::vector<std::uint8_t> out(static_cast<std::size_t>(sw * sh), 0);
        StretchImage(source.data(), width, height, out.data(), sw, sh);
        EXPECT_EQ(std::count(out.begin(), out.end(), 1), sw * sh) << width;
    }
}

TEST_F(TextureManagerTest, CataloguesSortsAndKeepsOneListPerWad) {
    int first = textures.AddWadFromMemory(
        "one.wad", WadOf({{"wood", {64, 64}}, {"Brick", {96, 40}}, {"apple", {16, 16}}}));
    int second =
        textures.AddWadFromMemory("two.wad", WadOf({{"wood", {32, 32}}, {"Zed", {16, 16}}}));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    textures.SortAllTextures();
    ASSERT_EQ(textures.ListCount(), 3);
    EXPECT_EQ(textures.ListAt(0).name, "All textures");
    EXPECT_EQ(textures.ListAt(1).name, "one.wad");
    std::vector<std::string> all;
    for (int index : textures.AllTextures().Indices()) {
        all.push_back(textures.TextureAt(index)->name);
    }
    EXPECT_EQ(all, (std::vector<std::string>{"Brick", "Zed", "apple", "wood", "wood"}));
    EXPECT_EQ(textures.TextureAt(textures.AllTextures().IndexAt(3))->wadId, 1);
    EXPECT_EQ(textures.ListAt(2).Count(), 2);
    QuakeGraphic* brick = textures.FindTexture("BRICK", false);
    ASSERT_NE(brick, nullptr);
    EXPECT_EQ(brick->width, 96);
    EXPECT_EQ(brick->height, 40);
    EXPECT_EQ(brick->globalIndex, 1);
    int position = -1;
    EXPECT_EQ(textures.FindTexture("Wood", false, &position)->wadId, 1);
    EXPECT_EQ(position, 3);
    textures.SelectList(2);
    EXPECT_EQ(textures.FindTexture("wood", false, &position)->width, 32);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(textures.FindTexture("brick", false), nullptr);
}

TEST_F(TextureManagerTest, SamePathSameIdOtherCaseOpensAgain) {
    Wad2Writer writer;
    writer.AddTexture("stone", 16, 16, {Pattern(16, 16)});
    ASSERT_TRUE(writer.Save((directory / "set.wad").string()));
    ASSERT_TRUE(writer.Save((directory / "SET.wad").string()));
    textures.LoadAllWadFiles({"set.wad", "missing.wad", "set.wad"});
    EXPECT_EQ(textures.TextureCount(), 1);
    EXPECT_EQ(textures.AddWadFile("set.wad"), 1);
    EXPECT_EQ(textures.AddWadFile("SET.wad"), 2);
    EXPECT_EQ(textures.TextureCount(), 2);
    EXPECT_EQ(textures.AddWadFile("test.pal"), 0) << "not a WAD2 file";
    EXPECT_EQ(textures.AddWadFile((directory / "set.wad").string()), 3)
        << "another spelling of a path is another entry";
    EXPECT_EQ(textures.AddWadFile(directory.string()), 0) << "a folder";
}

TEST_F(TextureManagerTest, PlaceholdersAreMadeOnceAndNamesCutTo15) {
    textures.AddWadFromMemory("a.wad", WadOf({{"metal", {16, 16}}}));
    EXPECT_EQ(textures.FindTexture("nothing", false), nullptr);
    QuakeGraphic* placeholder = textures.FindTexture("nothing", true);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->IsPlaceholder());
    EXPECT_FALSE(placeholder->HasImage());
    EXPECT_EQ(placeholder->width, 0);
    EXPECT_EQ(textures.FindTexture("NOTHING", true), placeholder);
    QuakeGraphic* longName = textures.FindTexture("a_very_long_texture_name", true);
    EXPECT_EQ(longName->name, "a_very_long_tex");
    EXPECT_EQ(textures.FindTexture("a_very_long_texture_name", true), longName);
    EXPECT_EQ(textures.PlaceholderCount(), 2);
    EXPECT_EQ(textures.GetScaledImage(*placeholder), nullptr);
    TextureDrawLayout layout = TextureDrawLayout::Compute(*placeholder, false, 10, 20, 74, 84, 7,
                                                          TextureDrawLayout::DrawName);
    EXPECT_TRUE(layout.noImage);
    EXPECT_EQ(layout.textX, 12);
    EXPECT_EQ(layout.textY, 22);
}

TEST_F(TextureManagerTest, RecentlyUsedHoldsEightWithoutRepeats) {
    std::vector<std::pair<std::string, std::pair<int, int>>> list;
    for (int i = 0; i < 10; ++i) {
        list.push_back({"t" + std::to_string(i), {16, 16}});
    }
    textures.AddWadFromMemory("a.wad", WadOf(list));
    for (int i = 0; i < 10; ++i) {
        textures.MarkUsed(textures.TextureAt(i));
    }
    textures.MarkUsed(textures.TextureAt(5));
    const auto& recent = textures.RecentlyUsed();
    ASSERT_EQ(recent.size(), 8u);
    EXPECT_EQ(recent[0]->name, "t5");
    EXPECT_EQ(recent[1]->name, "t9");
    EXPECT_EQ(recent[7]->name, "t2");
    EXPECT_EQ(std::set<QuakeGraphic*>(recent.begin(), recent.end()).size(), 8u);
    EXPECT_EQ(textures.PositionCount(true), 18);
    EXPECT_EQ(textures.TextureAtPosition(0, true)->name, "t5");
    EXPECT_EQ(textures.TextureAtPosition(8, true)->name, "t0");
    EXPECT_EQ(textures.TextureAtPosition(18, true), nullptr);
}

TEST_F(TextureManagerTest, LoadsStretchesAndColoursPixelsOnFirstUse) {
    textures.AddWadFromMemory(
        "a.wad", WadOf({{"wide", {96, 40}}, {"square", {64, 64}}, {"huge", {256, 256}}}));
    QuakeGraphic* wide = textures.FindTexture("wide", false);
    EXPECT_FALSE(wide->pixelsLoaded);
    ASSERT_TRUE(textures.LoadPixels(*wide));
    EXPECT_EQ(wide->scaledWidth, 128);
    EXPECT_EQ(wide->scaledHeight, 64);
    EXPECT_EQ(wide->naturalPixels, Pattern(96, 40));
    QuakeGraphic* square = textures.FindTexture("square", false);
    ASSERT_TRUE(textures.LoadPixels(*square));
    EXPECT_EQ(square->pixels, Pattern(64, 64)) << "powers of two are copied unchanged";
    QuakeGraphic* huge = textures.FindTexture("huge", false);
    ASSERT_TRUE(textures.LoadPixels(*huge)) << "larger than the old 64,000-byte buffer";
    EXPECT_EQ(huge->pixels, Pattern(256, 256));

    GamePalette& palette = scoped.Context().GameData().Palette();
    std::vector<std::uint8_t> colours(768);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = static_cast<std::uint8_t>((i / 3) / 2);
    }
    palette.LoadFromBytes(colours.data(), colours.size());
    const TextureImage* scaled = textures.GetScaledImage(*wide);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->width, 128);
    EXPECT_EQ(scaled->height, 64);
    const std::uint8_t index = wide->pixels[130];
    EXPECT_EQ(scaled->rgba[130 * 4], index / 2);
    EXPECT_EQ(scaled->rgba[130 * 4 + 3], 255);
    const TextureImage* natural = textures.GetNaturalImage(*wide);
    EXPECT_EQ(natural->width, 96);
    EXPECT_EQ(natural->height, 40);
    EXPECT_EQ(natural->rgba[(95 + 96 * 1) * 4], Pattern(96, 40)[95 + 96] / 2);

    int changes = 0;
    textures.AddObserver([&](TextureManager::Change change) {
        changes += change == TextureManager::Change::PaletteChanged;
    });
    unsigned before = scaled->generation;
    palette.SetBrightness(2.0f);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(scaled->generation, before + 1) << "remade when the palette changes";
    EXPECT_EQ(scaled->rgba[130 * 4], std::min(255, (index / 2) * 2));
    EXPECT_EQ(textures.GetScaledImage(*wide), scaled);
}

TEST_F(TextureManagerTest, DrawLayoutKeepsNaturalSizeUnlessStretched) {
    textures.AddWadFromMemory("a.wad", WadOf({{"wide", {96, 40}}}));
    QuakeGraphic* wide = textures.FindTexture("wide", false);
    auto natural = TextureDrawLayout::Compute(*wide, true, 0, 0, 200, 200, 7, 0);
    EXPECT_EQ(natural.imageWidth, 96);
    EXPECT_EQ(natural.imageHeight, 40);
    auto named =
        TextureDrawLayout::Compute(*wide, true, 0, 0, 64, 64, 7, TextureDrawLayout::DrawName);
    EXPECT_EQ(named.imageWidth, 64);
    EXPECT_EQ(named.imageHeight, 40);
    EXPECT_EQ(named.textY, 64 - 11);
    auto stretched =
        TextureDrawLayout::Compute(*wide, true, 0, 0, 200, 150, 7, TextureDrawLayout::Stretch);
    EXPECT_EQ(stretched.imageWidth, 200);
    EXPECT_EQ(stretched.imageHeight, 150);
}

TEST_F(TextureManagerTest, BrokenDirectoriesAreDroppedNotTrusted) {
    Wad2Writer writer;
    writer.AddTexture("good", 16, 16, {Pattern(16, 16)});
    writer.AddTexture("fullsixteenchars", 16, 16, {Pattern(16, 16)});
    writer.AddTexture("outside", 16, 16, {Pattern(16, 16)});
    writer.AddTexture("toolarge", 16, 16, {Pattern(16, 16)});
    writer.AddTexture("negative", 16, 16, {Pattern(16, 16)});
    writer.AddTexture("cutimage", 16, 16, {Pattern(16, 16)});
    writer.AddRawLump("", {1, 2, 3});
    std::vector<std::uint8_t> wad = writer.Build();
    const std::size_t directory = DirectoryOffset(wad);
    auto entry = [&](int i) { return directory + static_cast<std::size_t>(i) * 32; };
    PutInt32(wad, entry(2), static_cast<std::uint32_t>(wad.size()) - 20);
    std::size_t largeLump = wad[entry(3)] | (wad[entry(3) + 1] << 8);
    PutInt32(wad, largeLump + 16, 2048);
    PutInt32(wad, largeLump + 20, 1024);
    PutInt32(wad, entry(4), 0x80000000u);
    std::size_t cutLump = wad[entry(5)] | (wad[entry(5) + 1] << 8);
    PutInt32(wad, cutLump + 20, 60);
    ASSERT_NE(textures.AddWadFromMemory("broken.wad", wad), 0);
    std::vector<std::string> names;
    for (int i = 0; i < textures.TextureCount(); ++i) {
        names.push_back(textures.TextureAt(i)->name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"good", "fullsixteenchar"}));

    // A count far beyond the file, a directory outside it, a short header.
    std::vector<std::uint8_t> lying = WadOf({{"one", {16, 16}}});
    PutInt32(lying, 4, 0x7FFFFFFF);
    EXPECT_NE(textures.AddWadFromMemory("lying.wad", lying), 0);
    EXPECT_EQ(textures.ListAt(textures.ListCount() - 1).Count(), 1);
    std::vector<std::uint8_t> away = WadOf({{"one", {16, 16}}});
    PutInt32(away, 8, 0x7FFFFFF0);
    EXPECT_NE(textures.AddWadFromMemory("away.wad", away), 0);
    EXPECT_EQ(textures.ListAt(textures.ListCount() - 1).Count(), 0);
    EXPECT_EQ(textures.AddWadFromMemory("short.wad", {'W', 'A', 'D', '2', 1}), 0);
    EXPECT_EQ(textures.AddWadFromMemory("magic.wad", {'W', 'A', 'D', '3', 0, 0, 0, 0, 0, 0, 0, 0}),
              0);
}

TEST_F(TextureManagerTest, ATextureWithoutHeightHasNoImage) {
    Wad2Writer writer;
    writer.AddTexture("flat", 16, 0, {});
    textures.AddWadFromMemory("flat.wad", writer.Build());
    QuakeGraphic* flat = textures.FindTexture("flat", false);
    ASSERT_NE(flat, nullptr);
    EXPECT_FALSE(textures.LoadPixels(*flat));
    EXPECT_EQ(textures.GetNaturalImage(*flat), nullptr);
}

TEST_F(TextureManagerTest, PipesAndDevicesAreNotOpened) {
    const std::string fifo = (directory / "pipe.wad").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(textures.AddWadFile(fifo), 0) << "must return at once, not wait for a writer";
    EXPECT_EQ(textures.AddWadFile("/dev/zero"), 0);
    GamePalette palette;
    EXPECT_FALSE(palette.Load(fifo));
    EXPECT_FALSE(set.Load(fifo));
}
