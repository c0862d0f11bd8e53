#include "GameDataTestSupport.h"
#include "gamedata/TextureManager.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::filesystem::path CorpusWads() {
    return std::filesystem::path(BRICKHAVEN_CORPUS_DIR) / "wads";
}
} // namespace

using CorpusWadTest = GameDataFixture;

TEST_F(CorpusWadTest, RealWadFilesAreCataloguedWithNamesAndSizes) {
    if (!std::filesystem::is_directory(CorpusWads())) {
        GTEST_SKIP() << "corpus not present: " << CorpusWads();
    }
    TextureManager& textures = scoped.Context().TextureCatalogue();
    const std::vector<std::string> files = {"fence.wad", "hintskip.wad", "origin.wad"};
    std::vector<std::string> paths;
    for (const std::string& file : files) {
        paths.push_back((CorpusWads() / file).string());
    }
    textures.LoadAllWadFiles(paths);
    ASSERT_EQ(textures.WadCount(), 3);
    std::vector<std::string> all;
    for (int index : textures.AllTextures().Indices()) {
        QuakeGraphic* texture = textures.TextureAt(index);
        all.push_back(texture->name);
        EXPECT_EQ(texture->width, 64) << texture->name;
        EXPECT_EQ(texture->height, 64) << texture->name;
    }
    EXPECT_EQ(all, (std::vector<std::string>{"*waterskip", "hint", "hintskip", "origin", "skip",
                                             "{trigger"}));
    std::vector<std::string> hintskip;
    for (int index : textures.ListAt(2).Indices()) {
        hintskip.push_back(textures.TextureAt(index)->name);
    }
    EXPECT_EQ(hintskip, (std::vector<std::string>{"*waterskip", "hint", "hintskip", "skip"}));
    EXPECT_EQ(textures.ListAt(2).name, paths[1]);

    QuakeGraphic* trigger = textures.FindTexture("{TRIGGER", false);
    ASSERT_NE(trigger, nullptr);
    const TextureImage* image = textures.GetScaledImage(*trigger);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(trigger->pixels, trigger->naturalPixels);
}
