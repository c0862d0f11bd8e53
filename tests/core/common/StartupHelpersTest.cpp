#include "common/ProgramDirectory.h"
#include "common/RecentFileList.h"
#include "common/SettingsStore.h"
#include "common/StartupArguments.h"

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

TEST(StartupArgumentsTest, HelpAndVersionAreAskedForAnywhereOnTheLine) {
    StartupArguments a = ParseStartupArguments({"maps/a.map", "--help"});
    EXPECT_TRUE(a.showHelp);
    EXPECT_FALSE(a.showVersion);
    EXPECT_EQ(a.fileToOpen, "maps/a.map");
    a = ParseStartupArguments({"-h"});
    EXPECT_TRUE(a.showHelp);
    a = ParseStartupArguments({"--version", "nologo"});
    EXPECT_TRUE(a.showVersion);
    EXPECT_FALSE(a.showHelp);
    EXPECT_FALSE(ParseStartupArguments({"help", "version"}).showHelp); // file names

    const std::string help = CommandLineHelp("/usr/share/brickhaven");
    for (const char* option :
         {"nologo", "--screenshot", "--info", "--check", "--convert", "--recover-list", "--help",
          "--version", "Brickhaven.ini", "autosave", "/usr/share/brickhaven\n", "Exit status"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(VersionLine("1.2.3"), "Tarno (Brickhaven) 1.2.3\n");
}

// The data lies beside the program in the build tree and in an installer's destination, and in
// ../share/brickhaven of a system install.
TEST(ProgramDirectoryTest, DataBesideTheProgramOrInTheSystemDataFolder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("programdir-" + std::to_string(getpid()));
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/brickhaven");
    fs::create_directories(root / "opt/Brickhaven");
    const std::string bin = (root / "usr/bin").string();
    const std::string share = (root / "usr/share/brickhaven").string();
    const std::string opt = (root / "opt/Brickhaven").string();

    // No data anywhere: the program's own folder, so messages name it.
    EXPECT_EQ(ChooseProgramDirectory(bin, "../share/brickhaven"), bin);
    std::ofstream(root / "usr/share/brickhaven/quake.ymx") << "x";
    EXPECT_EQ(ChooseProgramDirectory(bin, "../share/brickhaven"), share);
    EXPECT_EQ(ChooseProgramDirectory(bin, share), share);
    EXPECT_EQ(ChooseProgramDirectory(bin, ""), bin);
    // An installer's destination holds the data itself, and so wins.
    std::ofstream(root / "opt/Brickhaven/quake.ymx") << "x";
    EXPECT_EQ(ChooseProgramDirectory(opt, "../share/brickhaven"), opt);
    std::ofstream(root / "usr/bin/quake.ymx") << "x";
    EXPECT_EQ(ChooseProgramDirectory(bin, "../share/brickhaven"), bin);
    // A folder named quake.ymx is no data.
    fs::remove(root / "usr/bin/quake.ymx");
    fs::create_directories(root / "usr/bin/quake.ymx");
    EXPECT_EQ(ChooseProgramDirectory(bin, "../share/brickhaven"), share);
    EXPECT_FALSE(RunningExecutableDirectory().empty());
    fs::remove_all(root);
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
