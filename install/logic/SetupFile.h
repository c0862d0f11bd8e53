#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// One file line of setup.inf: the file to install (relative to the installation set's folder,
// "/" separates subfolders) and the name of its desktop entry (empty: no entry).
struct SetupRecord {
    QString fileName;
    QString shortcutName;
};

// Everything setup.inf says, plus the total size of the listed files.
struct SetupFile {
    QList<SetupRecord> records;
    int shortcutCount = 0;
    quint64 totalSize = 0;
    QString readmeName;
    bool directx = false;
    // ".filetypes <file> <program>": the listed file is a shared-mime-info description of the
    // file types that the listed program opens (both empty without such a line).
    QString fileTypesName;
    QString fileTypesProgram;
};

// Longest line setup.inf may hold; the rest of a longer line is dropped.
inline constexpr int kSetupLineLimit = 127;

// Reads one line: at most kSetupLineLimit characters are kept, carriage returns and the line
// feed are removed, and the line ends at a NUL byte. Returns nothing at the end of the input.
std::optional<QByteArray> ReadSetupLine(QIODevice& in);

// Reads setDir/setup.inf and measures the listed files (relative to setDir). On failure returns
// false; `error` then holds the message for a missing file, or stays empty for a file that
// can't be read or doesn't have the expected form.
bool ReadSetupFile(const QString& setDir, SetupFile& setup, QString& error);
