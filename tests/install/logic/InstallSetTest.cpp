// Installs the installation set the build made, as a user would get it.
#include "FreeSpace.h"
#include "InstallTestSupport.h"
#include "Installation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kSetDir = QStringLiteral(INSTALL_SET_DIR);

// Every file of the set, relative to it.
QStringList FilesOfTheSet() {
    QStringList files;
    QDirIterator it(kSetDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(kSetDir).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

class InstallSet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo::exists(kSetDir + "/setup.inf"))
            << "the installation set was not built: " << kSetDir.toStdString();
    }
    Sandbox box;
    RecordingProgress progress;
};

} // namespace

TEST_F(InstallSet, HoldsTarnoTheInstallerAndExactlyTheListedFiles) {
    SetupFile setup;
    QString error;
    ASSERT_TRUE(ReadSetupFile(kSetDir, setup, error)) << error.toStdString();
    QStringList listed;
    for (const SetupRecord& record : setup.records) {
        listed << record.fileName;
    }
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(setup.records[0].fileName, "Tarno");
    EXPECT_EQ(setup.records[0].shortcutName, "Tarno");
    EXPECT_TRUE(listed.contains(setup.readmeName));
    EXPECT_FALSE(setup.directx); // there is no such program on this platform
    EXPECT_TRUE(listed.contains(setup.fileTypesName));
    EXPECT_EQ(setup.fileTypesProgram, "Tarno");

    listed << "install"
           << "setup.inf";
    listed.sort();
    EXPECT_EQ(FilesOfTheSet(), listed);
    EXPECT_TRUE(QFileInfo(kSetDir + "/install").isExecutable());
    EXPECT_TRUE(QFileInfo(kSetDir + "/Tarno").isExecutable());
    // The set mirrors the build's program folder, where Tarno finds its data.
    for (const SetupRecord& record : setup.records) {
        const QString built = QStringLiteral(BRICKHAVEN_BIN_DIR) + '/' + record.fileName;
        if (record.fileName != setup.readmeName && record.fileName != setup.fileTypesName) {
            EXPECT_EQ(QFileInfo(built).size(), QFileInfo(kSetDir + '/' + record.fileName).size())
                << record.fileName.toStdString();
        }
    }
}

TEST_F(InstallSet, InstallsWithValidDesktopEntriesAndAWorkingTarno) {
    const QString destination = box.Path() + "/opt/Brickhaven";
    const QString folder = box.Applications() + "/Brickhaven";
    Installation installation(kSetDir, QueryFreeSpace, progress);
    ASSERT_EQ(installation.Run(destination, folder), InstallDone)
        << installation.ErrorText().toStdString();

    for (const SetupRecord& record : installation.Setup().records) {
        const QString installed = destination + '/' + record.fileName;
        EXPECT_EQ(ReadAll(installed), ReadAll(kSetDir + '/' + record.fileName))
            << record.fileName.toStdString();
    }
    EXPECT_TRUE(QFileInfo(destination + "/Tarno").isExecutable());

    const QStringList entries = QDir(folder).entryList({"*.desktop"}, QDir::Files);
    EXPECT_EQ(entries.size(), installation.Setup().shortcutCount);
    for (const QString& entry : entries) {
        const std::optional<QString> complaints = ValidateDesktopEntry(folder + '/' + entry);
        ASSERT_TRUE(complaints.has_value())
            << "desktop-file-validate is missing (package desktop-file-utils)";
        EXPECT_EQ(*complaints, "") << entry.toStdString();
    }

    // The map file types are the user's now, and Tarno's entry opens them.
    const QString types = box.Path() + "/data/mime/packages/" + installation.Setup().fileTypesName;
    EXPECT_EQ(ReadAll(types), ReadAll(kSetDir + '/' + installation.Setup().fileTypesName));
    const QString tarnoEntry = QString::fromUtf8(ReadAll(folder + "/Tarno.desktop"));
    EXPECT_TRUE(tarnoEntry.contains("MimeType=text/x-quake-map;application/x-brickhaven-rmf;\n"))
        << tarnoEntry.toStdString();
    EXPECT_TRUE(tarnoEntry.contains("/Tarno\" %f\n")) << tarnoEntry.toStdString();
    EXPECT_TRUE(installation.LinkFailures().isEmpty())
        << installation.LinkFailures().join('\n').toStdString();
    if (QFileInfo::exists("/usr/bin/update-mime-database")) {
        EXPECT_TRUE(QFileInfo::exists(box.Path() + "/data/mime/text/x-quake-map.xml"));
    }

    const QString map = destination + "/maps/example.map";
    if (!QFileInfo::exists(map)) {
        GTEST_SKIP() << "the set holds no example map yet, so the installed Tarno is not run";
    }
    // Started from elsewhere, so it can only find its data next to its executable.
    const std::optional<ProgramRun> run =
        RunProgram(destination + "/Tarno", {"--info", map}, 60000);
    ASSERT_TRUE(run.has_value()) << "the installed Tarno did not start or did not end";
    if (run->exitCode == 2 && run->output.contains("not available in this build yet")) {
        GTEST_SKIP() << "Tarno --info is not available in this build yet";
    }
    EXPECT_EQ(run->exitCode, 0) << run->output.toStdString();
    EXPECT_FALSE(run->output.trimmed().isEmpty());
    // The installed Tarno reads its data from its own folder.
    const std::optional<ProgramRun> help = RunProgram(destination + "/Tarno", {"--help"}, 60000);
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->exitCode, 0);
    EXPECT_TRUE(help->output.contains("\n  " + destination + "\n")) << help->output.toStdString();
}
