#include "gamedata/Options.h"
#include "common/ProgramDirectory.h"
#include "common/SettingsStore.h"
#include "session/EditorContext.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    MemorySettingsStore store;
    Options options;
    std::set<std::string> existing{"textures.wad", "/maps/a.wad", "/maps/c.wad"};

    void SetUp() override {
        options.pathExists = [this](const std::string& p) { return existing.count(p) != 0; };
    }
};

TEST_F(OptionsTest, FirstRunWritesEveryDefault) {
    options.Initialize(store);
    EXPECT_EQ(store.GetInt("Configured", "Configured", 0), 2);
    EXPECT_EQ(store.GetInt("General", "TextureFileCount", -1), 1);
    EXPECT_EQ(store.GetString("General", "TextureFile0", ""), "textures.wad");
    EXPECT_EQ(store.GetString("General", "Map Files", ""), "./");
    EXPECT_EQ(store.GetInt("General", "Brightness", -1), 10);
    EXPECT_EQ(store.GetInt("General", "Undo Levels", -1), 50);
    EXPECT_EQ(store.GetInt("General", "Autosave Interval", -1), 300);
    EXPECT_EQ(store.GetInt("General", "Keep Backup", -1), 1);
    EXPECT_EQ(store.GetInt("2D Views", "Crosshairs", -1), 0);
    EXPECT_EQ(store.GetInt("2D Views", "GroupCarve", -1), 1);
    EXPECT_EQ(store.GetInt("2D Views", "Scrollbars", -1), 1);
    EXPECT_EQ(store.GetInt("2D Views", "RotateConstrain", -1), 0);
    EXPECT_EQ(store.GetInt("2D Views", "Draw Vertices", -1), 1);
    EXPECT_EQ(store.GetInt("2D Views", "Default Grid", -1), 64);
    EXPECT_EQ(store.GetInt("3D Views", "Hardware", -1), 1);
    EXPECT_EQ(store.GetInt("3D Views", "Reverse Y", -1), 0);
    EXPECT_FALSE(options.reverseY);
    EXPECT_EQ(options.textureFiles, std::vector<std::string>{"textures.wad"});
}

TEST_F(OptionsTest, MissingValuesReadAsTheirDefaultsWhenConfigured) {
    store.WriteInt("Configured", "Configured", 2);
    options.Initialize(store);
    EXPECT_TRUE(options.reverseY); // read-when-missing differs from the first-run default
    EXPECT_TRUE(options.textureFiles.empty());
    EXPECT_EQ(options.mapDirectory, "");
    EXPECT_FLOAT_EQ(options.brightness, 1.0f);
    EXPECT_EQ(options.autosaveInterval, 300);
    EXPECT_TRUE(options.keepBackup);
}

TEST_F(OptionsTest, NegativeAutosaveIntervalReadsAsOff) {
    store.WriteInt("Configured", "Configured", 2);
    store.WriteInt("General", "Autosave Interval", -5);
    store.WriteInt("General", "Keep Backup", 0);
    options.Initialize(store);
    EXPECT_EQ(options.autosaveInterval, 0);
    EXPECT_FALSE(options.keepBackup);
}

TEST_F(OptionsTest, BrightnessIsStoredInTenths) {
    options.Initialize(store);
    options.brightness = 0.7f;
    options.Save();
    EXPECT_EQ(store.GetInt("General", "Brightness", -1), 7);
    Options again;
    again.pathExists = options.pathExists;
    again.Initialize(store);
    EXPECT_FLOAT_EQ(again.brightness, 0.7f);
}

TEST_F(OptionsTest, MissingWadPathsAreDroppedAndNotWrittenBack) {
    store.WriteInt("Configured", "Configured", 2);
    store.WriteInt("General", "TextureFileCount", 3);
    store.WriteString("General", "TextureFile0", "/maps/a.wad");
    store.WriteString("General", "TextureFile1", "/maps/gone.wad");
    store.WriteString("General", "TextureFile2", "/maps/c.wad");
    options.Initialize(store);
    EXPECT_EQ(options.textureFiles, (std::vector<std::string>{"/maps/a.wad", "/maps/c.wad"}));
    // The message window names the file that was left out, and only that one.
    const auto& lines = context.Context().messages.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].kind, MessageLog::Error);
    EXPECT_EQ(lines[0].text, "The texture file /maps/gone.wad was not found; it is left out.");
    options.Save();
    EXPECT_EQ(store.GetInt("General", "TextureFileCount", -1), 2);
    EXPECT_EQ(store.GetString("General", "TextureFile1", ""), "/maps/c.wad");
}

TEST_F(OptionsTest, ApplyRunsOnlyTheActionsItsBitsName) {
    int textures = 0, views = 0;
    float bright = 0;
    options.reloadTextures = [&] { ++textures; };
    options.applyBrightness = [&](float b) { bright = b; };
    options.updateViews = [&] { ++views; };
    options.brightness = 1.5f;
    options.Apply(Options::kApplyBrightness);
    EXPECT_EQ(textures, 0);
    EXPECT_FLOAT_EQ(bright, 1.5f);
    options.Apply(Options::kApplyTextures | Options::kApplyViews | 8);
    EXPECT_EQ(textures, 1);
    EXPECT_EQ(views, 1);
    Options bare;
    bare.Apply(7); // no actions installed: nothing happens
}

TEST(ProgramPathTest, RelativePathsResolveAgainstTheProgramFolder) {
    ScopedEditorContext context;
    context.Context().programDirectory = "/opt/brickhaven";
    EXPECT_EQ(ResolveProgramPath("quake.ymx"), "/opt/brickhaven/quake.ymx");
    EXPECT_EQ(ResolveProgramPath("/abs/x.wad"), "/abs/x.wad");
}

} // namespace
