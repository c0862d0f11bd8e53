#pragma once

#include "InstallProgress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <ostream>

// Readable gtest output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A folder standing in for an installation set: setup.inf and the files it lists.
class FakeSet {
public:
    FakeSet();
    QString Path() const { return dir_.path(); }
    // Writes a file of the set (subfolders are made).
    void AddFile(const QString& name, const QByteArray& content);
    void WriteSetupInf(const QByteArray& text) { AddFile(QStringLiteral("setup.inf"), text); }

private:
    QTemporaryDir dir_;
};

// A scratch folder for destinations and desktop entries. While it lives, XDG_DATA_HOME points
// into it, so the Programs folder is <scratch>/data/applications.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString Path() const { return dir_.path(); }
    QString Applications() const { return dir_.path() + QStringLiteral("/data/applications"); }

private:
    QTemporaryDir dir_;
    std::optional<QByteArray> oldDataHome_;
};

// Every call the installation makes on its progress display, as text lines.
class RecordingProgress : public InstallProgress {
public:
    QStringList calls;
    bool open = false;

    void Open(int maximum) override;
    void SetStatus(const QString& text) override;
    void SetPosition(int position) override;
    void Close() override;
};

QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& content);

// Runs a program to its end; nothing when it can't be started or doesn't end within the time.
struct ProgramRun {
    int exitCode = -1;
    QString output; // standard output and error together
};
std::optional<ProgramRun> RunProgram(const QString& program, const QStringList& arguments,
                                     int timeoutMs = 30000);

// desktop-file-validate's verdict on one file: empty when it accepts the file, otherwise its
// complaints. Nothing when the validator isn't installed.
std::optional<QString> ValidateDesktopEntry(const QString& path);

// Sets HOME, XDG_CONFIG_HOME and XDG_DATA_HOME to a temporary folder for the whole test
// program and the platform plugin to offscreen; removes the folder at the end.
class TemporaryHome {
public:
    TemporaryHome();
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
