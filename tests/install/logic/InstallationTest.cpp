#include "Installation.h"
#include "InstallTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

constexpr quint64 kPlenty = quint64(1) << 40;

// A small set: a program with a shortcut, data in a subfolder, notes without a shortcut.
void FillSet(FakeSet& set) {
    set.AddFile("Tarno", "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(set.Path() + "/Tarno", QFile::permissions(set.Path() + "/Tarno") |
                                                     QFile::ExeOwner | QFile::ExeUser);
    set.AddFile("maps/example.map", "{\n\"classname\" \"worldspawn\"\n}\n");
    set.AddFile("notes.txt", "notes");
    set.WriteSetupInf("3\nTarno Tarno\nmaps/example.map\nnotes.txt\n.readme notes.txt\n");
}

struct Attempt {
    FakeSet set;
    Sandbox box;
    RecordingProgress progress;
    quint64 freeSpace = kPlenty;
    QString Destination() const { return box.Path() + "/opt/Brickhaven"; }
    QString Folder() const { return box.Applications() + "/Brickhaven"; }
    Installation Make() {
        return Installation(
            set.Path(), [this](const QString&) { return freeSpace; }, progress);
    }
};

} // namespace

TEST(Installation, CopiesEveryFileAndWritesOneEntryPerShortcutName) {
    Attempt a;
    FillSet(a.set);
    ASSERT_TRUE(QDir().mkpath(a.Destination()));
    ASSERT_TRUE(WriteAll(a.Destination() + "/Tarno", "an older Tarno that is longer"));
    Installation installation = a.Make();

    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallDone);
    EXPECT_EQ(installation.ErrorText(), "");
    for (const char* name : {"Tarno", "maps/example.map", "notes.txt"}) {
        EXPECT_EQ(ReadAll(a.Destination() + '/' + name), ReadAll(a.set.Path() + '/' + name))
            << name;
    }
    EXPECT_TRUE(QFileInfo(a.Destination() + "/Tarno").isExecutable());
    EXPECT_EQ(QDir(a.Folder()).entryList(QDir::Files), QStringList({"Tarno.desktop"}));
    const QByteArray entry = ReadAll(a.Folder() + "/Tarno.desktop");
    EXPECT_TRUE(entry.contains("Exec=\"" + QFile::encodeName(a.Destination()) + "/Tarno\"\n"));
    EXPECT_TRUE(entry.contains("Path=" + QFile::encodeName(a.Destination()) + "\n"));
    EXPECT_EQ(a.progress.calls,
              QStringList({"open 4", "status Copying files...", "position 1", "position 2",
                           "position 3", "status Creating shortcuts...", "position 4", "close"}));
}

TEST(Installation, NotEnoughSpaceIsRefusedBeforeAnythingIsMade) {
    Attempt a;
    FillSet(a.set);
    Installation installation = a.Make();
    ASSERT_EQ(installation.Run(a.Destination(), a.Folder()), InstallDone);
    const quint64 total = installation.Setup().totalSize;

    Attempt b;
    FillSet(b.set);
    b.freeSpace = 2 * total - 1;
    QString asked;
    Installation tight(
        b.set.Path(),
        [&](const QString& path) {
            asked = path;
            return b.freeSpace;
        },
        b.progress);
    EXPECT_EQ(tight.Run(b.Destination(), b.Folder()), InstallRetry);
    EXPECT_EQ(
        tight.ErrorText(),
        "There is not enough space on the destination disk.\nPlease choose another location.");
    EXPECT_EQ(asked, b.Destination());
    EXPECT_FALSE(QFileInfo::exists(b.Destination()));
    EXPECT_TRUE(b.progress.calls.isEmpty());

    b.freeSpace = 2 * total;
    EXPECT_EQ(tight.Run(b.Destination(), b.Folder()), InstallDone);
    EXPECT_EQ(tight.ErrorText(), "");
}

TEST(Installation, UnknownFreeSpaceDoesNotStopTheInstallation) {
    Attempt a;
    FillSet(a.set);
    Installation installation(
        a.set.Path(), [](const QString&) { return std::nullopt; }, a.progress);
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallDone);
}

TEST(Installation, UnreadableSetupFailsForGoodWithTheRightMessage) {
    Attempt a;
    FillSet(a.set);
    a.set.WriteSetupInf("4\nTarno Tarno\nnotes.txt\n");
    Installation installation = a.Make();
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallFailed);
    EXPECT_EQ(installation.ErrorText(), "I couldn't read the installation file.");

    a.set.WriteSetupInf("2\nTarno Tarno\nquake.ymx\n");
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallFailed);
    EXPECT_EQ(installation.ErrorText(), "I can't find the installation file 'quake.ymx'");
    EXPECT_FALSE(QFileInfo::exists(a.Destination()));
    EXPECT_TRUE(a.progress.calls.isEmpty());
}

TEST(Installation, FileVanishingAfterReadingFailsForGood) {
    Attempt a;
    FillSet(a.set);
    // The free-space question comes between reading setup.inf and copying.
    Installation installation(
        a.set.Path(),
        [&](const QString&) {
            QFile::remove(a.set.Path() + "/maps/example.map");
            return kPlenty;
        },
        a.progress);
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallFailed);
    EXPECT_EQ(installation.ErrorText(), "I couldn't find the file 'maps/example.map.'");
    EXPECT_TRUE(QFileInfo::exists(a.Destination() + "/Tarno")); // copied files stay
    EXPECT_FALSE(a.progress.open);
}

TEST(Installation, DestinationThatCantBeMadeLetsTheUserRetry) {
    Attempt a;
    FillSet(a.set);
    ASSERT_TRUE(WriteAll(a.box.Path() + "/opt", "a file where a folder should be"));
    Installation installation = a.Make();
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallRetry);
    EXPECT_EQ(installation.ErrorText(),
              "I couldn't create the program directory:\n" + a.Destination() + "\n");
}

TEST(Installation, ShortcutFolderThatCantBeMadeRemovesOnlyAnEmptyDestination) {
    Attempt a;
    FillSet(a.set);
    ASSERT_TRUE(QDir().mkpath(a.box.Applications()));
    ASSERT_TRUE(WriteAll(a.Folder(), "in the way"));
    Installation installation = a.Make();
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallRetry);
    EXPECT_EQ(installation.ErrorText(), "I couldn't create the shortcut folder.");
    EXPECT_FALSE(QFileInfo::exists(a.Destination()));

    ASSERT_TRUE(QDir().mkpath(a.Destination()));
    ASSERT_TRUE(WriteAll(a.Destination() + "/kept", "x"));
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallRetry);
    EXPECT_TRUE(QFileInfo::exists(a.Destination() + "/kept"));
}

TEST(Installation, CopyFailureNamesSourceAndTarget) {
    Attempt a;
    FillSet(a.set);
    ASSERT_TRUE(QDir().mkpath(a.Destination() + "/notes.txt/occupied"));
    Installation installation = a.Make();
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallRetry);
    EXPECT_EQ(installation.ErrorText(),
              "I couldn't copy notes.txt to " + a.Destination() + "/notes.txt.");
    EXPECT_FALSE(a.progress.open);

    Attempt b;
    FillSet(b.set);
    ASSERT_TRUE(QDir().mkpath(b.Destination()));
    ASSERT_TRUE(WriteAll(b.Destination() + "/maps", "a file where the subfolder goes"));
    Installation second = b.Make();
    EXPECT_EQ(second.Run(b.Destination(), b.Folder()), InstallRetry);
    EXPECT_EQ(second.ErrorText(),
              "I couldn't copy maps/example.map to " + b.Destination() + "/maps/example.map.");
}

TEST(Installation, FailedLinkIsReportedAndTheRestGoesOn) {
    Attempt a;
    a.set.AddFile("Tarno", "t");
    a.set.AddFile("help.html", "h");
    a.set.WriteSetupInf("2\nTarno bad/name\nhelp.html Manual\n");
    Installation installation = a.Make();
    EXPECT_EQ(installation.Run(a.Destination(), a.Folder()), InstallDone);
    const QString message = "I couldn't create the link:\n" + a.Folder() + "/bad/name.desktop";
    EXPECT_EQ(installation.LinkFailures(), QStringList({message}));
    EXPECT_EQ(installation.ErrorText(), message);
    EXPECT_TRUE(QFileInfo::exists(a.Folder() + "/Manual.desktop"));
    EXPECT_EQ(a.progress.calls.mid(a.progress.calls.size() - 3),
              QStringList({"position 3", "position 4", "close"}));
}
