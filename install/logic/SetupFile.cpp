#include "SetupFile.h"

#include <QFile>
#include <QFileInfo>

#include <climits>

namespace {

// The number on the first line: optional leading blanks, then decimal digits; anything after
// the digits is ignored. A line without digits, a negative count or one that doesn't fit an
// int is refused instead of being read as zero or as a huge table.
std::optional<int> ParseCount(const QByteArray& line) {
    qsizetype pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
        ++pos;
    }
    if (pos < line.size() && line[pos] == '+') {
        ++pos;
    }
    long long value = 0;
    qsizetype digits = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos, ++digits) {
        value = value * 10 + (line[pos] - '0');
        if (value > INT_MAX) {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// File names stay inside the installation set and the destination: no absolute names and no
// ".." components, which would copy from or to anywhere on the machine.
bool IsSafeRelativeName(const QString& name) {
    if (name.startsWith('/')) {
        return false;
    }
    const QStringList parts = name.split('/');
    return !parts.contains(QStringLiteral(".."));
}

} // namespace

std::optional<QByteArray> ReadSetupLine(QIODevice& in) {
    char c = 0;
    if (!in.getChar(&c)) {
        return std::nullopt;
    }
    QByteArray line;
    bool ended = false; // a NUL ends the text; the rest of the line is skipped
    do {
        if (c == '\n') {
            break;
        }
        if (c == '\0') {
            ended = true;
        } else if (c != '\r' && !ended && line.size() < kSetupLineLimit) {
            line.append(c);
        }
    } while (in.getChar(&c));
    return line;
}

bool ReadSetupFile(const QString& setDir, SetupFile& setup, QString& error) {
    setup = SetupFile{};
    QFile file(setDir + QStringLiteral("/setup.inf"));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const std::optional<QByteArray> countLine = ReadSetupLine(file);
    if (!countLine) {
        return false;
    }
    const std::optional<int> count = ParseCount(*countLine);
    if (!count) {
        return false;
    }
    for (int i = 0; i < *count; ++i) {
        const std::optional<QByteArray> line = ReadSetupLine(file);
        if (!line) {
            return false;
        }
        SetupRecord record;
        const qsizetype space = line->indexOf(' ');
        if (space < 0) {
            record.fileName = QFile::decodeName(*line);
        } else {
            record.fileName = QFile::decodeName(line->left(space));
            record.shortcutName = QString::fromUtf8(line->mid(space + 1));
            if (!record.shortcutName.isEmpty()) {
                ++setup.shortcutCount;
            }
        }
        if (!IsSafeRelativeName(record.fileName)) {
            return false;
        }
        const QString source = setDir + '/' + record.fileName;
        QFile listed(source);
        if (!QFileInfo(source).isFile() || !listed.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("I can't find the installation file '%1'").arg(record.fileName);
            return false;
        }
        setup.totalSize += static_cast<quint64>(listed.size());
        setup.records.append(record);
    }
    while (const std::optional<QByteArray> line = ReadSetupLine(file)) {
        if (line->startsWith(".readme ")) {
            setup.readmeName = QFile::decodeName(line->mid(8));
        } else if (line->startsWith(".directx")) {
            setup.directx = true;
        } else if (line->startsWith(".filetypes ")) {
            const QByteArray rest = line->mid(11);
            const qsizetype space = rest.indexOf(' ');
            if (space > 0) {
                setup.fileTypesName = QFile::decodeName(rest.left(space));
                setup.fileTypesProgram = QFile::decodeName(rest.mid(space + 1));
            }
        }
    }
    return true;
}
