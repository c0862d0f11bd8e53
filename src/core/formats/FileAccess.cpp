#include "formats/FileAccess.h"

#include "platform/AtomicFileWriter.h"
#include "platform/FileText.h"

FileResult ReadFileWith(const std::string& path,
                        const std::function<FileResult(std::string_view data)>& read) {
    FileText text;
    std::string error;
    if (!text.Read(path, error)) {
        FileResult result;
        result.Add(FileDiagnosticKind::CannotRead, 0, 0, error);
        return result;
    }
    return read(text.Text());
}

FileResult WriteFileWith(const std::string& path, bool keepBackup,
                         const std::function<FileResult(OutputBuffer::Sink sink)>& write) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) {
        FileResult result;
        result.Add(FileDiagnosticKind::CannotWrite, 0, 0, writer.Error());
        return result;
    }
    if (keepBackup) {
        writer.SetBackupPath(BackupPathOf(path));
    }
    FileResult result = write(
        [&writer](std::string_view bytes) { return writer.Write(bytes.data(), bytes.size()); });
    // A world that could not be written says so; a write that failed part-way (a full disk)
    // also gives the system's reason.
    if (!result.Ok()) {
        if (!writer.Error().empty()) {
            result.Add(FileDiagnosticKind::CannotWrite, 0, 0, writer.Error());
        }
        return result;
    }
    if (!writer.Commit()) {
        result.Add(FileDiagnosticKind::CannotWrite, 0, 0, writer.Error());
        return result;
    }
    if (!writer.BackupError().empty()) {
        result.Add(FileDiagnosticKind::BackupFailed, 0, 0, writer.BackupError());
    }
    return result;
}

std::string BackupPathOf(const std::string& path) {
    return path + ".bak";
}

OutputBuffer::Sink SinkInto(std::string& out) {
    return [&out](std::string_view bytes) {
        out.append(bytes);
        return true;
    };
}
