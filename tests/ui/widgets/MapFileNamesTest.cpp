#include "app/MapFileNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(MapFileNamesTest, NamesWithoutADotTakeTheExtensionOfTheFilter) {
    EXPECT_EQ(std::string(kMapFileFilter).find("All map files (*.rmf *.map);;"), 0u);
    EXPECT_EQ(CompleteMapFileName("/maps/level", 1), "/maps/level.rmf");
    EXPECT_EQ(CompleteMapFileName("/maps/level", 2), "/maps/level.map");
    EXPECT_EQ(CompleteMapFileName("/maps/level.txt", 1), "/maps/level.txt");
    EXPECT_EQ(CompleteMapFileName("/my.maps/level", 2), "/my.maps/level.map");
}

TEST(MapFileNamesTest, WithEveryMapFileShownTheNameTakesTheExtensionOfTheFileThatExists) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("mapnames-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string base = (folder / "level").string();
    EXPECT_EQ(CompleteMapFileName(base, 0), base + ".rmf");
    std::ofstream(base + ".map") << "{\n}\n";
    EXPECT_EQ(CompleteMapFileName(base, 0), base + ".map");
    std::ofstream(base + ".rmf") << "x";
    EXPECT_EQ(CompleteMapFileName(base, 0), base + ".rmf");
    std::filesystem::remove_all(folder);
}
