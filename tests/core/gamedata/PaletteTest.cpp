#include "GameDataTestSupport.h"
#include "gamedata/GamePalette.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<std::uint8_t> PaletteBytes(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::vector<std::uint8_t> bytes(GamePalette::kFileSize);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        bytes[i] = red;
        bytes[i + 1] = green;
        bytes[i + 2] = blue;
    }
    return bytes;
}
} // namespace

TEST(GamePaletteTest, StartsBlackAndLoadsWithoutBrightness) {
    GamePalette palette;
    EXPECT_EQ(palette.WorkingColors()[5], (GamePalette::Entry{0, 0, 0, 5}));
    palette.SetBrightness(2.0f);
    auto bytes = PaletteBytes(200, 100, 7);
    ASSERT_TRUE(palette.LoadFromBytes(bytes.data(), bytes.size()));
    EXPECT_EQ(palette.WorkingColors()[0], (GamePalette::Entry{200, 100, 7, 5}));
    EXPECT_FALSE(palette.LoadFromBytes(bytes.data(), 767));
}

TEST(GamePaletteTest, BrightnessScalesTruncatesAndLimits) {
    GamePalette palette;
    auto bytes = PaletteBytes(200, 100, 7);
    bytes[3] = 255;
    bytes[4] = 1;
    bytes[5] = 99;
    palette.LoadFromBytes(bytes.data(), bytes.size());
    palette.SetBrightness(2.0f);
    EXPECT_EQ(palette.WorkingColors()[0], (GamePalette::Entry{255, 200, 14, 5}));
    palette.SetBrightness(0.5f);
    EXPECT_EQ(palette.WorkingColors()[1], (GamePalette::Entry{127, 0, 49, 5}));
    palette.SetBrightness(1.3f);
    // 7 x 1.3 = 9.1 and 99 x 1.3 = 128.7 truncate toward zero.
    EXPECT_EQ(palette.WorkingColors()[0].blue, 9);
    EXPECT_EQ(palette.WorkingColors()[1].blue, 128);
    palette.SetBrightness(0.0f);
    palette.SetBrightness(-1.0f);
    EXPECT_FLOAT_EQ(palette.Brightness(), 1.3f);
    palette.SetBrightness(1.0f);
    EXPECT_EQ(palette.WorkingColors(), palette.FileColors());
}

TEST(GamePaletteTest, ObserversHearEveryChange) {
    GamePalette palette;
    int heard = 0;
    int token = palette.AddObserver([&] { ++heard; });
    auto bytes = PaletteBytes(1, 2, 3);
    palette.LoadFromBytes(bytes.data(), bytes.size());
    palette.SetBrightness(1.4f);
    palette.SetBrightness(0.0f); // ignored
    palette.RemoveObserver(token);
    palette.SetBrightness(1.0f);
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(palette.Generation(), 3u);
}

TEST(GamePaletteTest, BrightnessStepsStayWithinTheRange) {
    EXPECT_FLOAT_EQ(*GamePalette::StepBrightness(1.0f, 0.2f), 1.2f);
    EXPECT_FLOAT_EQ(*GamePalette::StepBrightness(4.8f, 0.2f), 5.0f);
    EXPECT_FALSE(GamePalette::StepBrightness(5.0f, 0.2f).has_value());
    EXPECT_FLOAT_EQ(*GamePalette::StepBrightness(0.3f, -0.2f), 0.1f);
    EXPECT_FALSE(GamePalette::StepBrightness(0.1f, -0.2f).has_value());
    // Twenty steps up from 1.0 reach exactly 5.0 without drifting past it.
    float value = 1.0f;
    for (int i = 0; i < 20; ++i) {
        value = *GamePalette::StepBrightness(value, 0.2f);
    }
    EXPECT_FLOAT_EQ(value, 5.0f);
}

using GamePaletteFileTest = GameDataFixture;

TEST_F(GamePaletteFileTest, LoadsOnlyWholePaletteFiles) {
    GamePalette palette;
    EXPECT_TRUE(palette.Load(WriteFile("good.pal", PaletteBytes(9, 8, 7))));
    EXPECT_EQ(palette.FileColors()[255], (GamePalette::Entry{9, 8, 7, 5}));
    EXPECT_FALSE(palette.Load(WriteFile("short.pal", std::vector<std::uint8_t>(700, 1))));
    EXPECT_FALSE(palette.Load((directory / "none.pal").string()));
    EXPECT_FALSE(palette.Load(directory.string()));
    EXPECT_EQ(palette.FileColors()[255].red, 9) << "a failed load changes nothing";
}
