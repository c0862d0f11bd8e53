#include "InstallTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

FakeSet::FakeSet() : dir_(QDir::tempPath() + QStringLiteral("/brickhaven-set-XXXXXX")) {}

void FakeSet::AddFile(const QString& name, const QByteArray& content) {
    const QString path = dir_.path() + '/' + name;
    QDir().mkpath(QFileInfo(path).path());
    WriteAll(path, content);
}

Sandbox::Sandbox() : dir_(QDir::tempPath() + QStringLiteral("/brickhaven-sandbox-XXXXXX")) {
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
    }
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/data")));
}

Sandbox::~Sandbox() {
    if (oldDataHome_) {
        qputenv("XDG_DATA_HOME", *oldDataHome_);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

void RecordingProgress::Open(int maximum) {
    open = true;
    calls << QStringLiteral("open %1").arg(maximum);
}

void RecordingProgress::SetStatus(const QString& text) {
    calls << QStringLiteral("status ") + text;
}

void RecordingProgress::SetPosition(int position) {
    calls << QStringLiteral("position %1").arg(position);
}

void RecordingProgress::Close() {
    open = false;
    calls << QStringLiteral("close");
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

std::optional<ProgramRun> RunProgram(const QString& program, const QStringList& arguments,
                                     int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        return std::nullopt;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    ProgramRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

std::optional<QString> ValidateDesktopEntry(const QString& path) {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<ProgramRun> run = RunProgram(validator, {path});
    if (!run) {
        return QStringLiteral("desktop-file-validate did not run");
    }
    if (run->exitCode != 0) {
        return run->output.isEmpty() ? QStringLiteral("rejected") : run->output;
    }
    // Hints are advice; errors and warnings are complaints.
    QStringList complaints;
    for (const QString& line : run->output.split('\n', Qt::SkipEmptyParts)) {
        if (line.contains(QStringLiteral(": error:")) ||
            line.contains(QStringLiteral(": warning:"))) {
            complaints << line;
        }
    }
    return complaints.join('\n');
}

TemporaryHome::TemporaryHome()
    : dir_(QDir::tempPath() + QStringLiteral("/brickhaven-home-XXXXXX")) {
    const QByteArray home = QFile::encodeName(dir_.path());
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("QT_QPA_PLATFORM", "offscreen");
}
