#include "FileCopy.h"

#include <QFile>
#include <QSaveFile>

bool CopyFileReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (true) {
        const qint64 got = in.read(buffer.data(), kChunk);
        if (got < 0) {
            out.cancelWriting();
            return false;
        }
        if (got == 0) {
            break;
        }
        if (out.write(buffer.constData(), got) != got) {
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        return false;
    }
    return QFile::setPermissions(target, in.permissions());
}
