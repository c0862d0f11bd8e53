#pragma once

#include "FreeSpace.h"
#include "InstallerPrompts.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class ProgressWindow;
class ReleaseNotesWindow;

// What the dialog needs from the world; tests replace each piece.
struct InstallerServices {
    // The folder holding setup.inf and the files to install.
    QString setDirectory;
    InstallerPrompts* prompts = nullptr;
    FreeSpaceQuery freeSpace = QueryFreeSpace;
    // Starts a program of the installation set in the set's folder and waits for it to end;
    // false when it couldn't be started.
    std::function<bool(const QString& program, const QString& workingDirectory)> runAndWait;
};

// Starts `program` with no arguments in `workingDirectory` and waits until it ends.
bool RunProgramAndWait(const QString& program, const QString& workingDirectory);

// The installation dialog: destination directory, folder for the desktop entries, and the
// buttons that install or leave.
class InstallDialog : public QDialog {
    Q_OBJECT
public:
    // Results the dialog closes with.
    static constexpr int kFailedResult = -1;
    static constexpr int kDoneResult = 0;
    static constexpr int kExitResult = 2;

    explicit InstallDialog(InstallerServices services, QWidget* parent = nullptr);

    // Lists the subfolders of the Programs folder (made first when it is missing) into the
    // combo box. When it can't be read, says so and closes with kExitResult.
    bool LoadProgramFolders();

    QLineEdit* DestinationEdit() const { return destination_; }
    QComboBox* FolderCombo() const { return folder_; }
    QPushButton* InstallButton() const { return install_; }
    QPushButton* ExitButton() const { return exit_; }

public slots:
    void Install();
    // "Exit Installation", Escape and the window's close button.
    void reject() override;

signals:
    // The installer has nothing more to show: the dialog is closed and no release notes window
    // is open any longer. `result` is the dialog's result.
    void InstallerFinished(int result);

private:
    void ShowError(const QString& text);
    void ShowReleaseNotes(const QString& path, bool waitUntilClosed);
    void OfferDirectx();
    void Finish(int result);

    InstallerServices services_;
    QString programsDirectory_;
    QLineEdit* destination_;
    QComboBox* folder_;
    QPushButton* install_;
    QPushButton* exit_;
    ProgressWindow* progress_;
    QPointer<ReleaseNotesWindow> notes_;
};
