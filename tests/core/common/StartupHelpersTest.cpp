#include "common/RecentFileList.h"
#include "common/SettingsStore.h"
#include "common/StartupArguments.h"
#include "document/MapFileNames.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

TEST(StartupArgumentsTest, FileNologoAndScreenshot) {
    StartupArguments a = ParseStartupArguments({"maps/a.map", "nologo"});
    EXPECT_EQ(a.fileToOpen, "maps/a.map");
    EXPECT_FALSE(a.showLogo);
    a = ParseStartupArguments({"--screenshot", "out.png", "-nologo", "x.rmf", "y.rmf"});
    EXPECT_EQ(a.screenshotPath, "out.png");
    EXPECT_EQ(a.fileToOpen, "x.rmf");
    EXPECT_FALSE(a.showLogo);
    a = ParseStartupArguments({"NoLogo"}); // compared exactly: a file name
    EXPECT_TRUE(a.showLogo);
    EXPECT_EQ(a.fileToOpen, "NoLogo");
    EXPECT_TRUE(ParseStartupArguments({}).fileToOpen.empty());
}

TEST(RecentFileListTest, KeepsFourNewestFirstWithoutRepeats) {
    MemorySettingsStore store;
    RecentFileList list;
    for (const char* path : {"a.map", "b.map", "c.rmf", "d.map", "e.map"}) {
        list.Add(path);
    }
    list.Add("c.rmf");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{"c.rmf", "e.map", "d.map", "b.map"}));
    list.Save(store);
    EXPECT_EQ(store.GetString("Recent File List", "File1", ""), "c.rmf");
    EXPECT_EQ(store.GetString("Recent File List", "File4", ""), "b.map");

    list.Remove("e.map");
    list.Save(store);
    RecentFileList loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Files(), (std::vector<std::string>{"c.rmf", "d.map", "b.map"}));
}

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
