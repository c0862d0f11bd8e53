#include "DesktopEntry.h"
#include "InstallTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(DesktopEntry, PlainEntryText) {
    EXPECT_EQ(DesktopEntryText("Tarno", "/home/u/opt/Brickhaven/Tarno"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Tarno\n"
              "Comment=Brickhaven\n"
              "Exec=\"/home/u/opt/Brickhaven/Tarno\"\n"
              "Path=/home/u/opt/Brickhaven\n");
}

TEST(DesktopEntry, ExecQuotesReservedCharactersAndDoublesPercent) {
    EXPECT_EQ(DesktopExecValue("/a b/c"), "\"/a b/c\"");
    EXPECT_EQ(DesktopExecValue("/x\"y"), "\"/x\\\\\"y\"");
    EXPECT_EQ(DesktopExecValue("/$HOME/`x`"), "\"/\\\\$HOME/\\\\`x\\\\`\"");
    // A literal backslash is escaped for the quotes and again for the string: four in all.
    EXPECT_EQ(DesktopExecValue("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(DesktopExecValue("/100%/x"), "\"/100%%/x\"");
    EXPECT_EQ(EscapeDesktopValue(" lead\ttab\nline"), "\\slead\\ttab\\nline");
}

TEST(DesktopEntry, WrittenEntriesPassTheValidatorEvenForAwkwardPaths) {
    Sandbox box;
    const QString awkward = box.Path() + "/My Games/100% \"real\" $dir/back\\slash/it's (x)/Tarno";
    const QString link = box.Path() + "/Brickhaven Editor.desktop";
    ASSERT_TRUE(WriteDesktopEntry(link, " Brickhaven Editor", awkward));
    EXPECT_EQ(QFile::permissions(link) & (QFile::ReadOther | QFile::ReadOwner | QFile::ExeOwner),
              QFile::ReadOther | QFile::ReadOwner);
    const std::optional<QString> complaints = ValidateDesktopEntry(link);
    if (!complaints) {
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    }
    EXPECT_EQ(*complaints, "");
}

TEST(DesktopEntry, ReplacesAnOldEntryAndRefusesNamesWithSlashes) {
    Sandbox box;
    const QString link = box.Path() + "/Tarno.desktop";
    ASSERT_TRUE(WriteAll(link, "old"));
    ASSERT_TRUE(WriteDesktopEntry(link, "Tarno", "/opt/Tarno"));
    EXPECT_EQ(ReadAll(link), DesktopEntryText("Tarno", "/opt/Tarno").toUtf8());
    EXPECT_FALSE(WriteDesktopEntry(box.Path() + "/../x.desktop", "../x", "/opt/Tarno"));
    EXPECT_FALSE(WriteDesktopEntry(box.Path() + "/missing/x.desktop", "x", "/opt/Tarno"));
}

TEST(DesktopEntry, ProgramThatOpensFileTypesTakesTheFileAndDeclaresTheTypes) {
    Sandbox box;
    const QString types = box.Path() + "/types.xml";
    ASSERT_TRUE(WriteAll(
        types, "<?xml version=\"1.0\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">"
               "<mime-type type=\"text/x-quake-map\"><glob pattern=\"*.map\"/></mime-type>"
               "<mime-type type=\"bad;type\"/>"
               "<mime-type type=\"application/x-brickhaven-rmf\"/></mime-info>"));
    const QStringList found = MimeTypesOfFile(types);
    EXPECT_EQ(found, QStringList({"text/x-quake-map", "application/x-brickhaven-rmf"}));
    const QString link = box.Path() + "/Tarno.desktop";
    ASSERT_TRUE(WriteDesktopEntry(link, "Tarno", box.Path() + "/100% sure/Tarno", found));
    const QString text = QString::fromUtf8(ReadAll(link));
    EXPECT_TRUE(text.contains("Exec=\"" + box.Path() + "/100%% sure/Tarno\" %f\n"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("MimeType=text/x-quake-map;application/x-brickhaven-rmf;\n"));
    if (const std::optional<QString> complaints = ValidateDesktopEntry(link)) {
        EXPECT_EQ(*complaints, "");
    }

    // A description that is cut off or missing declares nothing.
    ASSERT_TRUE(WriteAll(types, "<mime-info><mime-type type=\"text/x-quake-map\">"));
    EXPECT_TRUE(MimeTypesOfFile(types).isEmpty());
    EXPECT_TRUE(MimeTypesOfFile(box.Path() + "/missing.xml").isEmpty());
}
