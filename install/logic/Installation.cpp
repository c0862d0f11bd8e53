#include "Installation.h"

#include "DesktopEntry.h"
#include "FileCopy.h"
#include "InstallPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

Installation::Installation(QString setDirectory, FreeSpaceQuery freeSpace,
                           InstallProgress& progress)
    : setDirectory_(std::move(setDirectory)), freeSpace_(std::move(freeSpace)),
      progress_(progress) {}

InstallResult Installation::Run(const QString& destination, const QString& shortcutFolder) {
    errorText_.clear();
    linkFailures_.clear();
    if (!ReadSetupFile(setDirectory_, setup_, errorText_)) {
        if (errorText_.isEmpty()) {
            errorText_ = QStringLiteral("I couldn't read the installation file.");
        }
        return InstallFailed;
    }

    // Twice the total leaves room for whatever the program writes later. When the free space
    // can't be found out, creating and copying report their own failures.
    const std::optional<quint64> freeSpace = freeSpace_ ? freeSpace_(destination) : std::nullopt;
    if (freeSpace && *freeSpace / 2 < setup_.totalSize) {
        errorText_ = QStringLiteral("There is not enough space on the destination disk.\n"
                                    "Please choose another location.");
        return InstallRetry;
    }

    if (!CreateDirectoryWithParents(destination) && !IsDirectory(destination)) {
        errorText_ =
            QStringLiteral("I couldn't create the program directory:\n%1\n").arg(destination);
        return InstallRetry;
    }
    if (!CreateDirectoryWithParents(shortcutFolder) && !IsDirectory(shortcutFolder)) {
        // Only an empty destination goes; one that already held files stays as it was.
        QDir().rmdir(destination);
        errorText_ = QStringLiteral("I couldn't create the shortcut folder.");
        return InstallRetry;
    }

    progress_.Open(static_cast<int>(setup_.records.size()) + setup_.shortcutCount);
    progress_.SetStatus(QStringLiteral("Copying files..."));
    const InstallResult copied = CopyFiles(destination);
    if (copied != InstallDone) {
        progress_.Close();
        return copied;
    }
    progress_.SetStatus(QStringLiteral("Creating shortcuts..."));
    CreateShortcuts(destination, shortcutFolder);
    RegisterFileTypes(destination);
    progress_.Close();
    return InstallDone;
}

InstallResult Installation::CopyFiles(const QString& destination) {
    int position = 0;
    for (const SetupRecord& record : std::as_const(setup_.records)) {
        const QString source = setDirectory_ + '/' + record.fileName;
        const QString target = destination + '/' + record.fileName;
        if (!QFileInfo::exists(source)) {
            errorText_ = QStringLiteral("I couldn't find the file '%1.'").arg(record.fileName);
            return InstallFailed;
        }
        // Files in subfolders of the set (maps/, help/) get the same subfolders.
        const QString targetFolder = QFileInfo(target).path();
        if (!CreateDirectoryWithParents(targetFolder) || !CopyFileReplacing(source, target)) {
            errorText_ = QStringLiteral("I couldn't copy %1 to %2.").arg(record.fileName, target);
            return InstallRetry;
        }
        progress_.SetPosition(++position);
    }
    return InstallDone;
}

void Installation::CreateShortcuts(const QString& destination, const QString& shortcutFolder) {
    const QStringList mimeTypes = setup_.fileTypesName.isEmpty()
                                      ? QStringList()
                                      : MimeTypesOfFile(destination + '/' + setup_.fileTypesName);
    int position = static_cast<int>(setup_.records.size());
    for (const SetupRecord& record : std::as_const(setup_.records)) {
        if (record.shortcutName.isEmpty()) {
            continue;
        }
        const QString link =
            shortcutFolder + '/' + record.shortcutName + QStringLiteral(".desktop");
        const QString target = destination + '/' + record.fileName;
        const bool opensFiles = record.fileName == setup_.fileTypesProgram;
        if (!WriteDesktopEntry(link, record.shortcutName, target,
                               opensFiles ? mimeTypes : QStringList())) {
            errorText_ = QStringLiteral("I couldn't create the link:\n%1").arg(link);
            linkFailures_.append(errorText_);
        }
        progress_.SetPosition(++position);
    }
}

void Installation::RegisterFileTypes(const QString& destination) {
    if (setup_.fileTypesName.isEmpty()) {
        return;
    }
    // The description goes to the user's MIME database, and the desktop's lookup tables are
    // rebuilt when the tools for that are there (desktops without them read the files).
    const QString packages = DataHomeDirectory() + QStringLiteral("/mime/packages");
    const QString target = packages + '/' + QFileInfo(setup_.fileTypesName).fileName();
    if (MimeTypesOfFile(destination + '/' + setup_.fileTypesName).isEmpty() ||
        !CreateDirectoryWithParents(packages) ||
        !CopyFileReplacing(destination + '/' + setup_.fileTypesName, target)) {
        linkFailures_.append(
            QStringLiteral("I couldn't register the file types in %1.").arg(packages));
        return;
    }
    const auto run = [](const QString& program, const QStringList& arguments) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            return;
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(found, arguments);
        if (process.waitForStarted() && !process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
        }
    };
    run(QStringLiteral("update-mime-database"), {DataHomeDirectory() + QStringLiteral("/mime")});
    run(QStringLiteral("update-desktop-database"), {QStringLiteral("-q"), ProgramsDirectory()});
}
