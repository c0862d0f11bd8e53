#include "DesktopEntry.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

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

QString DesktopEntryText(const QString& name, const QString& target, const QStringList& mimeTypes) {
    const qsizetype slash = target.lastIndexOf('/');
    const QString directory = slash > 0 ? target.left(slash) : QStringLiteral("/");
    QString exec = DesktopExecValue(target);
    QString types;
    if (!mimeTypes.isEmpty()) {
        exec += QStringLiteral(" %f");
        for (const QString& type : mimeTypes) {
            types += EscapeDesktopValue(type) + ';';
        }
        types = QStringLiteral("MimeType=") + types + '\n';
    }
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Comment=Brickhaven\n"
                          "Exec=%2\n"
                          "Path=%3\n")
               .arg(EscapeDesktopValue(name), exec, EscapeDesktopValue(directory)) +
           types;
}

QStringList MimeTypesOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList types;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("mime-type")) {
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            // A type is "media/subtype"; anything else would break the MimeType list.
            if (type.count('/') == 1 && !type.contains(';') && !type.contains(' ')) {
                types << type;
            }
        }
    }
    return xml.hasError() ? QStringList() : types;
}

bool WriteDesktopEntry(const QString& linkPath, const QString& name, const QString& target,
                       const QStringList& mimeTypes) {
    if (name.contains('/')) {
        return false;
    }
    QSaveFile file(linkPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray text = DesktopEntryText(name, target, mimeTypes).toUtf8();
    if (file.write(text) != text.size() || !file.commit()) {
        return false;
    }
    // Readable by the desktop and by everyone who may run the program.
    return QFile::setPermissions(linkPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther);
}
