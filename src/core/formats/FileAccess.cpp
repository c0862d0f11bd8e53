#include "formats/FileAccess.h"

#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {
// The whole content of a regular file.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        std::fclose(file);
        return false;
    }
    // Read straight into the string; a file that grows meanwhile is read to its end.
    data.resize(static_cast<std::size_t>(info.st_size));
    std::size_t size = std::fread(data.data(), 1, data.size(), file);
    while (size == data.size() && !std::ferror(file)) {
        data.resize(size + (1 << 16));
        size += std::fread(data.data() + size, 1, data.size() - size, file);
    }
    data.resize(size);
    const bool failed = std::ferror(file) != 0;
    if (failed) {
        error = std::strerror(errno);
    }
    std::fclose(file);
    return !failed;
}
} // namespace

FileResult ReadFileWith(const std::string& path,
                        const std::function<FileResult(std::string_view data)>& read) {
    std::string data;
    std::string error;
    if (!ReadWholeFile(path, data, error)) {
        FileResult result;
        result.Add(FileDiagnosticKind::CannotRead, 0, 0, error);
        return result;
    }
    return read(data);
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
