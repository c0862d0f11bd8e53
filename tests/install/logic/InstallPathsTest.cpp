#include "InstallPaths.h"
#include "FreeSpace.h"
#include "InstallTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(InstallPaths, DestinationTextLosesOneTrailingSlashAndBecomesAbsolute) {
    EXPECT_EQ(DestinationFromText("/opt/Brickhaven/"), "/opt/Brickhaven");
    EXPECT_EQ(DestinationFromText("/opt/Brickhaven"), "/opt/Brickhaven");
    EXPECT_EQ(DestinationFromText("/opt/Brickhaven//"), "/opt/Brickhaven/");
    EXPECT_EQ(DestinationFromText("~/games/"), QDir::homePath() + "/games");
    EXPECT_EQ(DestinationFromText("~"), QDir::homePath());
    EXPECT_EQ(DestinationFromText("~other/x"), QDir::current().absoluteFilePath("~other/x"));
    EXPECT_EQ(DestinationFromText("relative/dir/"),
              QDir::current().absoluteFilePath("relative/dir"));
    EXPECT_EQ(DestinationFromText(""), "");
}

TEST(InstallPaths, DefaultsFollowHomeAndXdgDataHome) {
    EXPECT_EQ(DefaultDestination(), QDir::homePath() + "/.local/opt/Brickhaven");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/somewhere/data/");
    EXPECT_EQ(ProgramsDirectory(), "/somewhere/data/applications");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(ProgramsDirectory(), QDir::homePath() + "/.local/share/applications");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(ProgramsDirectory(), QDir::homePath() + "/.local/share/applications");
    qputenv("XDG_DATA_HOME", saved);
}

TEST(InstallPaths, ShortcutFolderJoinsTheTypedName) {
    EXPECT_EQ(ShortcutFolderFromText("/a/applications", "Brickhaven"),
              "/a/applications/Brickhaven");
    EXPECT_EQ(ShortcutFolderFromText("/a/applications", "Games/"), "/a/applications/Games");
    EXPECT_EQ(ShortcutFolderFromText("/a/applications", ""), "/a/applications");
}

TEST(InstallPaths, CreatesEveryMissingParentAndRefusesFilesInTheWay) {
    Sandbox box;
    const QString deep = box.Path() + "/one/two/three";
    EXPECT_TRUE(CreateDirectoryWithParents(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(CreateDirectoryWithParents(deep + "/")); // already there
    ASSERT_TRUE(WriteAll(box.Path() + "/file", "x"));
    EXPECT_FALSE(CreateDirectoryWithParents(box.Path() + "/file"));
    EXPECT_FALSE(CreateDirectoryWithParents(box.Path() + "/file/below"));
    EXPECT_FALSE(QFile::exists(box.Path() + "/file/below"));
    EXPECT_FALSE(CreateDirectoryWithParents(""));
}

TEST(InstallPaths, ListsOnlyVisibleSubfoldersSorted) {
    Sandbox box;
    const QString apps = box.Path() + "/apps";
    for (const char* name : {"zeta", "Alpha", ".hidden", "beta"}) {
        ASSERT_TRUE(QDir().mkpath(apps + '/' + name));
    }
    ASSERT_TRUE(WriteAll(apps + "/plain.desktop", "x"));
    ASSERT_TRUE(QFile::link(apps + "/beta", apps + "/linked"));
    const std::optional<QStringList> folders = ListProgramFolders(apps);
    ASSERT_TRUE(folders.has_value());
    EXPECT_EQ(*folders, QStringList({"Alpha", "beta", "linked", "zeta"}));
    EXPECT_FALSE(ListProgramFolders(box.Path() + "/missing").has_value());
    EXPECT_FALSE(ListProgramFolders(apps + "/plain.desktop").has_value());
}

TEST(InstallPaths, FreeSpaceOfAMissingFolderIsThatOfItsNearestParent) {
    Sandbox box;
    const std::optional<quint64> here = QueryFreeSpace(box.Path());
    const std::optional<quint64> below = QueryFreeSpace(box.Path() + "/not/yet/made");
    ASSERT_TRUE(here.has_value());
    ASSERT_TRUE(below.has_value());
    EXPECT_GT(*here, 0u);
    // Other programs write meanwhile; the two answers come from the same file system.
    const quint64 difference = *here > *below ? *here - *below : *below - *here;
    EXPECT_LT(difference, 64u * 1024 * 1024);
}
