#include "SetupFile.h"
#include "InstallTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

SetupFile ReadOk(const FakeSet& set) {
    SetupFile setup;
    QString error;
    EXPECT_TRUE(ReadSetupFile(set.Path(), setup, error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    return setup;
}

} // namespace

TEST(SetupFile, ReadsRecordsShortcutsSizesAndOptionLines) {
    FakeSet set;
    set.AddFile("Tarno", QByteArray(100, 'x'));
    set.AddFile("quake.pal", QByteArray(768, '\0'));
    set.AddFile("maps/example.map", "{\n}\n");
    set.WriteSetupInf("3\r\n"
                      "Tarno Brickhaven Level Editor\r\n"
                      "quake.pal\r\n"
                      "maps/example.map\r\n"
                      "anything else is ignored\r\n"
                      ".directx\r\n"
                      ".filetypes types.xml Tarno\r\n"
                      ".readme notes.txt");
    const SetupFile setup = ReadOk(set);
    ASSERT_EQ(setup.records.size(), 3);
    EXPECT_EQ(setup.records[0].fileName, "Tarno");
    EXPECT_EQ(setup.records[0].shortcutName, "Brickhaven Level Editor");
    EXPECT_EQ(setup.records[1].fileName, "quake.pal");
    EXPECT_TRUE(setup.records[1].shortcutName.isEmpty());
    EXPECT_EQ(setup.records[2].fileName, "maps/example.map");
    EXPECT_EQ(setup.shortcutCount, 1);
    EXPECT_EQ(setup.totalSize, 100u + 768u + 4u);
    EXPECT_EQ(setup.readmeName, "notes.txt");
    EXPECT_TRUE(setup.directx);
    EXPECT_EQ(setup.fileTypesName, "types.xml");
    EXPECT_EQ(setup.fileTypesProgram, "Tarno");
}

TEST(SetupFile, WithoutOptionLinesNoReadmeAndNoDirectx) {
    FakeSet set;
    set.AddFile("a", "1");
    set.WriteSetupInf("1\na\n.readmenotes.txt\n.direct\n.filetypes types.xml\n");
    const SetupFile setup = ReadOk(set);
    EXPECT_TRUE(setup.readmeName.isEmpty());
    EXPECT_FALSE(setup.directx);
    EXPECT_TRUE(setup.fileTypesName.isEmpty()); // no program named
    EXPECT_TRUE(setup.fileTypesProgram.isEmpty());
}

TEST(SetupFile, EmptyShortcutNameMakesNoShortcut) {
    FakeSet set;
    set.AddFile("a", "1");
    set.AddFile("b", "2");
    set.WriteSetupInf("2\na \nb  two spaces\n");
    const SetupFile setup = ReadOk(set);
    EXPECT_TRUE(setup.records[0].shortcutName.isEmpty());
    EXPECT_EQ(setup.records[1].shortcutName, " two spaces");
    EXPECT_EQ(setup.shortcutCount, 1);
}

TEST(SetupFile, LongLineIsCutAndTheNextLineStaysARecord) {
    FakeSet set;
    set.AddFile("a", "1");
    set.AddFile("b", "2");
    const QByteArray longName = QByteArray(200, 'n');
    set.WriteSetupInf("2\na " + longName + "\r\nb\n");
    const SetupFile setup = ReadOk(set);
    ASSERT_EQ(setup.records.size(), 2);
    EXPECT_EQ(setup.records[0].shortcutName, QString(kSetupLineLimit - 2, 'n'));
    EXPECT_EQ(setup.records[1].fileName, "b");
}

TEST(SetupFile, FewerFileLinesThanTheCountFailsWithoutOwnMessage) {
    FakeSet set;
    set.AddFile("a", "1");
    set.WriteSetupInf("3\na\na\n");
    SetupFile setup;
    QString error;
    EXPECT_FALSE(ReadSetupFile(set.Path(), setup, error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(SetupFile, MissingOrUnusableCountFails) {
    for (const QByteArray& text : {QByteArray(), QByteArray("abc\n"), QByteArray("-1\n"),
                                   QByteArray("\n"), QByteArray("99999999999\n")}) {
        FakeSet set;
        set.WriteSetupInf(text);
        SetupFile setup;
        QString error;
        EXPECT_FALSE(ReadSetupFile(set.Path(), setup, error)) << text.toStdString();
    }
    FakeSet noFile;
    SetupFile setup;
    QString error;
    EXPECT_FALSE(ReadSetupFile(noFile.Path(), setup, error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(SetupFile, CountWithBlanksAndTrailingTextIsRead) {
    FakeSet set;
    set.AddFile("a", "1");
    set.WriteSetupInf("  1 file\na\n");
    EXPECT_EQ(ReadOk(set).records.size(), 1);
}

TEST(SetupFile, ListedFileMissingOrAFolderIsNamed) {
    for (const QByteArray& name : {QByteArray("gone.wad"), QByteArray("maps")}) {
        FakeSet set;
        set.AddFile("maps/example.map", "x");
        set.WriteSetupInf("1\n" + name + " Shortcut\n");
        SetupFile setup;
        QString error;
        EXPECT_FALSE(ReadSetupFile(set.Path(), setup, error));
        EXPECT_EQ(error, "I can't find the installation file '" + name + "'");
    }
}

TEST(SetupFile, NamesLeavingTheSetAreRefused) {
    for (const QByteArray& name : {QByteArray("../outside"), QByteArray("/etc/hostname"),
                                   QByteArray("maps/../../outside")}) {
        FakeSet set;
        set.WriteSetupInf("1\n" + name + "\n");
        SetupFile setup;
        QString error;
        EXPECT_FALSE(ReadSetupFile(set.Path(), setup, error)) << name.toStdString();
    }
}

TEST(SetupFile, LineReaderHandlesEndOfInputAndNulBytes) {
    QByteArray data("first\r\nsec\0ond\nlast", 20);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadSetupLine(buffer), QByteArray("first"));
    EXPECT_EQ(ReadSetupLine(buffer), QByteArray("sec"));
    EXPECT_EQ(ReadSetupLine(buffer), QByteArray("last"));
    EXPECT_FALSE(ReadSetupLine(buffer).has_value());
}
