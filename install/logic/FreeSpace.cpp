#include "FreeSpace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>

std::optional<quint64> QueryFreeSpace(const QString& path) {
    QString probe = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    while (!QFileInfo(probe).isDir()) {
        const QString parent = QFileInfo(probe).path();
        if (parent == probe) {
            return std::nullopt;
        }
        probe = parent;
    }
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(probe).constData(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<quint64>(info.f_bavail) * static_cast<quint64>(info.f_frsize);
}
