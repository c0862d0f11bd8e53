#include "InstallPaths.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace {

QString RemoveOneTrailingSlash(QString path) {
    if (path.endsWith('/')) {
        path.chop(1);
    }
    return path;
}

// Examines one prefix of the path being created: an existing directory is fine, anything else
// that exists fails, and a missing one is made.
bool EnsureDirectory(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (::mkdir(native.constData(), 0777) == 0) {
        return true;
    }
    // Someone else may have made it in the meantime.
    return errno == EEXIST && IsDirectory(path);
}

} // namespace

QString DefaultDestination() {
    return QDir::homePath() + QStringLiteral("/.local/opt/Brickhaven");
}

QString DataHomeDirectory() {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome)) {
        return RemoveOneTrailingSlash(dataHome);
    }
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString ProgramsDirectory() {
    return DataHomeDirectory() + QStringLiteral("/applications");
}

QString DestinationFromText(const QString& text) {
    QString path = RemoveOneTrailingSlash(text);
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) {
        path = QDir::homePath() + path.mid(1);
    }
    if (!path.isEmpty() && QDir::isRelativePath(path)) {
        path = QDir::current().absoluteFilePath(path);
    }
    return path;
}

QString ShortcutFolderFromText(const QString& programsDirectory, const QString& folderName) {
    return RemoveOneTrailingSlash(programsDirectory + '/' + folderName);
}

bool CreateDirectoryWithParents(const QString& path) {
    // Separators after the first character end a component; a leading "/" stays with the
    // first component, so "/" itself is never examined on its own.
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (path[i] == '/' && !EnsureDirectory(path.left(i))) {
            return false;
        }
    }
    return EnsureDirectory(path);
}

bool IsDirectory(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<QStringList> ListProgramFolders(const QString& directory) {
    DIR* dir = ::opendir(QFile::encodeName(directory).constData());
    if (dir == nullptr) {
        return std::nullopt;
    }
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.startsWith('.') && IsDirectory(directory + '/' + name)) {
            names.append(name);
        }
        errno = 0;
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed) {
        return std::nullopt;
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}
