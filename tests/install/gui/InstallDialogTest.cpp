// The installation dialog driven as a user would: offscreen, with recorded message boxes.
#include "InstallDialog.h"
#include "InstallTestSupport.h"
#include "ReleaseNotesWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Records each message box as "icon|caption|text" into a shared event log and answers
// questions with `answer`.
class RecordingPrompts : public InstallerPrompts {
public:
    explicit RecordingPrompts(QStringList& log) : log_(log) {}
    bool answer = true;

    void Message(QWidget*, Icon icon, const QString& caption, const QString& text) override {
        const char* name = icon == Icon::Information ? "info"
                           : icon == Icon::Warning   ? "warning"
                                                     : "error";
        log_ << QStringLiteral("%1|%2|%3").arg(name, caption, text);
    }
    bool YesNo(QWidget*, const QString& caption, const QString& text) override {
        log_ << QStringLiteral("question|%1|%2").arg(caption, text);
        return answer;
    }

private:
    QStringList& log_;
};

ReleaseNotesWindow* OpenNotesWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* notes = qobject_cast<ReleaseNotesWindow*>(widget); notes && notes->isVisible()) {
            return notes;
        }
    }
    return nullptr;
}

const QString kComplete = QStringLiteral("info|Brickhaven Installation|The installation is "
                                         "complete. To run Brickhaven, choose\nStart Menu, then "
                                         "Programs, then Brickhaven.");
const QString kReadmeNotice = QStringLiteral("info|Brickhaven Installation|Information about the "
                                             "new release will now be displayed.\nPlease read "
                                             "it! Please! Pleeeeeease!");
const QString kDirectxQuestion =
    QStringLiteral("question|Brickhaven Installation|DirectX is required to run Brickhaven. Do "
                   "you want\nto install it now? If you aren't sure, press Yes -\nit won't harm "
                   "anything if DirectX is already installed.");

class InstallDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        set.AddFile("Tarno", "#!/bin/sh\n");
        set.AddFile("maps/example.map", "{\n}\n");
        set.AddFile("notes.txt", "Release notes of this version.\n");
    }

    // Makes the dialog the way the program does and shows it.
    std::unique_ptr<InstallDialog> Open(const QString& setDir) {
        InstallerServices services;
        services.setDirectory = setDir;
        services.prompts = &prompts;
        services.freeSpace = [this](const QString&) { return freeSpace; };
        if (!realPrograms) {
            services.runAndWait = [this](const QString& program, const QString& directory) {
                log << QStringLiteral("run|%1|%2").arg(program, directory);
                return true;
            };
        }
        auto dialog = std::make_unique<InstallDialog>(services);
        QObject::connect(dialog.get(), &InstallDialog::InstallerFinished,
                         [this](int result) { finished = result; });
        if (dialog->LoadProgramFolders()) {
            dialog->show();
        }
        return dialog;
    }
    std::unique_ptr<InstallDialog> Open() { return Open(set.Path()); }

    void Type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void PressInstall(InstallDialog& dialog) {
        QTest::mouseClick(dialog.InstallButton(), Qt::LeftButton);
    }

    FakeSet set;
    Sandbox box;
    QStringList log;
    RecordingPrompts prompts{log};
    quint64 freeSpace = quint64(1) << 40;
    std::optional<int> finished;
    bool realPrograms = false; // start programs for real instead of recording them
};

} // namespace

TEST_F(InstallDialogTest, OpensWithDefaultsAndTheVisibleProgramFolders) {
    set.WriteSetupInf("1\nTarno Tarno\n");
    for (const char* name : {"Games", ".hidden", "Development"}) {
        ASSERT_TRUE(QDir().mkpath(box.Applications() + '/' + name));
    }
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "Brickhaven Installation");
    EXPECT_EQ(dialog->DestinationEdit()->text(), QDir::homePath() + "/.local/opt/Brickhaven");
    EXPECT_EQ(dialog->FolderCombo()->currentText(), "Brickhaven");
    QStringList items;
    for (int i = 0; i < dialog->FolderCombo()->count(); ++i) {
        items << dialog->FolderCombo()->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"Development", "Games"}));
    EXPECT_TRUE(dialog->InstallButton()->isDefault());
    EXPECT_EQ(dialog->InstallButton()->text(), "&Install Brickhaven");
    EXPECT_EQ(dialog->ExitButton()->text(), "Exit Installation");
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(InstallDialogTest, MissingProgramsFolderIsMadeUnreadableOneClosesTheDialog) {
    set.WriteSetupInf("1\nTarno Tarno\n");
    {
        auto dialog = Open();
        EXPECT_TRUE(QFileInfo(box.Applications()).isDir());
        EXPECT_TRUE(dialog->isVisible());
    }
    ASSERT_TRUE(QDir(box.Applications()).removeRecursively());
    ASSERT_TRUE(WriteAll(box.Applications(), "not a folder"));
    auto dialog = Open();
    EXPECT_EQ(log, QStringList({"error|Brickhaven Installation|I couldn't read the Programs "
                                "Directory."}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(finished, InstallDialog::kExitResult);
}

TEST_F(InstallDialogTest, TypedDestinationWithTrailingSlashAndNewFolderInstall) {
    set.WriteSetupInf("2\nTarno Tarno\nmaps/example.map\n");
    auto dialog = Open();
    const QString destination = box.Path() + "/games/Brickhaven";
    Type(dialog->DestinationEdit(), destination + "/");
    dialog->FolderCombo()->setEditText(QString());
    QTest::keyClicks(dialog->FolderCombo(), "Level Editors");
    PressInstall(*dialog);

    EXPECT_EQ(log, QStringList({kComplete}));
    EXPECT_EQ(ReadAll(destination + "/maps/example.map"), "{\n}\n");
    const QString entry = box.Applications() + "/Level Editors/Tarno.desktop";
    EXPECT_TRUE(ReadAll(entry).contains("Exec=\"" + QFile::encodeName(destination) + "/Tarno\""));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), InstallDialog::kDoneResult);
    EXPECT_EQ(finished, InstallDialog::kDoneResult);
    EXPECT_EQ(OpenNotesWindow(), nullptr);
}

TEST_F(InstallDialogTest, EnterInEitherFieldInstalls) {
    set.WriteSetupInf("1\nTarno Tarno\n");
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/viaenter");
    QTest::keyClick(dialog->DestinationEdit(), Qt::Key_Return);
    EXPECT_EQ(log, QStringList({kComplete}));
    EXPECT_TRUE(QFileInfo::exists(box.Path() + "/viaenter/Tarno"));

    log.clear();
    auto second = Open();
    Type(second->DestinationEdit(), box.Path() + "/viacombo");
    QTest::keyClicks(second->FolderCombo(), " Tools");
    QTest::keyClick(second->FolderCombo(), Qt::Key_Return);
    EXPECT_EQ(log, QStringList({kComplete}));
    EXPECT_TRUE(QFileInfo::exists(box.Applications() + "/Brickhaven Tools/Tarno.desktop"));
}

TEST_F(InstallDialogTest, NotEnoughSpaceKeepsTheDialogOpenForAnotherTry) {
    set.WriteSetupInf("1\nTarno Tarno\n");
    freeSpace = 1;
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/full");
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({"error|Error|There is not enough space on the destination "
                                "disk.\nPlease choose another location."}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(finished.has_value());
    EXPECT_FALSE(QFileInfo::exists(box.Path() + "/full"));

    log.clear();
    freeSpace = quint64(1) << 40;
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({kComplete}));
    EXPECT_TRUE(QFileInfo::exists(box.Path() + "/full/Tarno"));
}

TEST_F(InstallDialogTest, FailureForGoodClosesTheDialogAndSaysSo) {
    set.WriteSetupInf("2\nTarno Tarno\nquake.ymx\n");
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({"error|Error|I can't find the installation file 'quake.ymx'",
                                "error|Brickhaven Installation|The installation could not be "
                                "completed."}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(finished, InstallDialog::kFailedResult);
    EXPECT_FALSE(QFileInfo::exists(box.Path() + "/dest"));
}

TEST_F(InstallDialogTest, ReleaseNotesStayOpenAfterTheInstallerIsDone) {
    set.WriteSetupInf("2\nTarno Tarno\nnotes.txt\n.readme notes.txt\n");
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    PressInstall(*dialog);

    EXPECT_EQ(log, QStringList({kComplete, kReadmeNotice}));
    ReleaseNotesWindow* notes = OpenNotesWindow();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->Text(), "Release notes of this version.\n");
    EXPECT_FALSE(notes->isModal());
    EXPECT_FALSE(dialog->isVisible());
    // The program lives on while the notes are open.
    EXPECT_FALSE(finished.has_value());
    notes->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.has_value(); }, 5000));
    EXPECT_EQ(finished, InstallDialog::kDoneResult);
}

TEST_F(InstallDialogTest, DirectxIsOfferedOnlyAfterTheNotesWindowIsClosed) {
    set.WriteSetupInf("2\nTarno Tarno\nnotes.txt\n.directx\n.readme notes.txt\n");
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    // Whoever reads the notes closes them a moment after they appear.
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        if (ReleaseNotesWindow* notes = OpenNotesWindow()) {
            log << QStringLiteral("notes open, modal=%1").arg(notes->isModal());
            notes->close();
        }
    });
    reader.start(20);
    PressInstall(*dialog);
    reader.stop();

    EXPECT_EQ(log, QStringList({kComplete, kReadmeNotice, "notes open, modal=1", kDirectxQuestion,
                                "run|" + set.Path() + "/directx|" + set.Path()}));
    EXPECT_EQ(finished, InstallDialog::kDoneResult);
}

TEST_F(InstallDialogTest, DirectxDeclinedRunsNothingAndNoLinesShowNothing) {
    set.WriteSetupInf("1\nTarno Tarno\n.directx\n");
    prompts.answer = false;
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({kComplete, kDirectxQuestion}));

    log.clear();
    set.WriteSetupInf("1\nTarno Tarno\n");
    auto plain = Open();
    Type(plain->DestinationEdit(), box.Path() + "/dest2");
    PressInstall(*plain);
    EXPECT_EQ(log, QStringList({kComplete}));
}

TEST_F(InstallDialogTest, DirectxSetupIsStartedInTheSetFolderAndWaitedFor) {
    set.WriteSetupInf("1\nTarno Tarno\n.directx\n");
    set.AddFile("directx", "#!/bin/sh\nsleep 0.3\npwd > finished\n");
    QFile::setPermissions(set.Path() + "/directx", QFile::ReadOwner | QFile::ExeOwner);
    realPrograms = true;
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({kComplete, kDirectxQuestion}));
    // Written at the program's very end, in the set's folder: the installer waited for it.
    EXPECT_EQ(ReadAll(set.Path() + "/finished").trimmed(), QFile::encodeName(set.Path()));
}

TEST_F(InstallDialogTest, DirectxSetupThatCantStartIsReported) {
    set.WriteSetupInf("1\nTarno Tarno\n.directx\n");
    realPrograms = true;
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({kComplete, kDirectxQuestion,
                                "error|Error|I couldn't start " + set.Path() + "/directx."}));
    EXPECT_EQ(finished, InstallDialog::kDoneResult);
}

TEST_F(InstallDialogTest, FailedLinkIsShownAndTheInstallationCompletes) {
    set.WriteSetupInf("2\nTarno Tarno\nnotes.txt Notes\n");
    auto dialog = Open();
    Type(dialog->DestinationEdit(), box.Path() + "/dest");
    ASSERT_TRUE(QDir().mkpath(box.Applications() + "/Brickhaven/Notes.desktop"));
    PressInstall(*dialog);
    EXPECT_EQ(log, QStringList({"warning|Error|I couldn't create the link:\n" + box.Applications() +
                                    "/Brickhaven/Notes.desktop",
                                kComplete}));
    EXPECT_TRUE(QFileInfo::exists(box.Applications() + "/Brickhaven/Tarno.desktop"));
}

TEST_F(InstallDialogTest, ExitClosesWithoutInstalling) {
    set.WriteSetupInf("1\nTarno Tarno\n");
    auto dialog = Open();
    QTest::mouseClick(dialog->ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(finished, InstallDialog::kExitResult);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dialog->DestinationEdit()->text()));
}

TEST_F(InstallDialogTest, InstallsTheRealInstallationSet) {
    const QString setDir = QStringLiteral(INSTALL_SET_DIR);
    ASSERT_TRUE(QFileInfo::exists(setDir + "/setup.inf")) << "the installation set was not built";
    auto dialog = Open(setDir);
    Type(dialog->DestinationEdit(), box.Path() + "/opt/Brickhaven");
    PressInstall(*dialog);
    ASSERT_GE(log.size(), 1);
    EXPECT_EQ(log[0], kComplete);
    EXPECT_TRUE(QFileInfo(box.Path() + "/opt/Brickhaven/Tarno").isExecutable());
    EXPECT_TRUE(QFileInfo::exists(box.Applications() + "/Brickhaven/Tarno.desktop"));
    if (ReleaseNotesWindow* notes = OpenNotesWindow()) {
        EXPECT_FALSE(notes->Text().isEmpty());
        notes->close();
    }
}
