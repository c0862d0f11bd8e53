#include "DesktopEntry.h"

#include <QFile>
#include <QSaveFile>

QString EscapeDesktopValue(const QString& value) {
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == '\\') {
            out += QStringLiteral("\\\\");
        } else if (c == '\n') {
            out += QStringLiteral("\\n");
        } else if (c == '\t') {
            out += QStringLiteral("\\t");
        } else if (c == '\r') {
            out += QStringLiteral("\\r");
        } else if (c == ' ' && i == 0) {
            out += QStringLiteral("\\s");
        } else {
            out += c;
        }
    }
    return out;
}

QString DesktopExecValue(const QString& program) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    return EscapeDesktopValue(quoted);
}

QString DesktopEntryText(const QString& name, const QString& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QString directory = slash > 0 ? target.left(slash) : QStringLiteral("/");
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=Brickhaven\n"
                          "Exec=%2\n"
                          "Path=%3\n")
        .arg(EscapeDesktopValue(name), DesktopExecValue(target), EscapeDesktopValue(directory));
}

bool WriteDesktopEntry(const QString& linkPath, const QString& name, const QString& target) {
    if (name.contains('/')) {
        return false;
    }
    QSaveFile file(linkPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray text = DesktopEntryText(name, target).toUtf8();
    if (file.write(text) != text.size() || !file.commit()) {
        return false;
    }
    // Readable by the desktop and by everyone who may run the program.
    return QFile::setPermissions(linkPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther);
}
