#pragma once

#include "FreeSpace.h"
#include "InstallProgress.h"
#include "SetupFile.h"

#include <QString>
#include <QStringList>

// How an installation attempt ended.
enum InstallResult : int {
    InstallFailed = -1, // failed for good: the installer ends
    InstallRetry = 0,   // failed, the user may choose another directory or folder
    InstallDone = 1,
};

// Copies the files of one installation set (the folder holding setup.inf) into a destination
// directory and writes a desktop entry for each file that has a shortcut name. When setup.inf
// names file types (".filetypes"), their description goes to the user's MIME database and the
// program's desktop entry declares that it opens them.
class Installation {
public:
    Installation(QString setDirectory, FreeSpaceQuery freeSpace, InstallProgress& progress);

    // Runs one attempt; setup.inf is read afresh each time. Afterwards ErrorText() holds the
    // message of the last failure (empty when there was none).
    InstallResult Run(const QString& destination, const QString& shortcutFolder);

    const QString& ErrorText() const { return errorText_; }
    // One message per desktop entry that couldn't be written, and one when the file types
    // couldn't be registered; the installation went on.
    const QStringList& LinkFailures() const { return linkFailures_; }
    const SetupFile& Setup() const { return setup_; }
    const QString& SetDirectory() const { return setDirectory_; }

private:
    InstallResult CopyFiles(const QString& destination);
    void CreateShortcuts(const QString& destination, const QString& shortcutFolder);
    void RegisterFileTypes(const QString& destination);

    QString setDirectory_;
    FreeSpaceQuery freeSpace_;
    InstallProgress& progress_;
    SetupFile setup_;
    QString errorText_;
    QStringList linkFailures_;
};
