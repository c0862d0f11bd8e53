#include "formats/MapFiles.h"

#include "common/EditorContext.h"
#include "formats/MapTextStream.h"
#include "formats/RmfStream.h"
#include "gamedata/MapWads.h"
#include "mapobjects/MapWorld.h"
#include "platform/AtomicFileWriter.h"
#include "platform/FileText.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {
void ShowOsError(const char* action, const std::string& path, const std::string& detail) {
    if (!detail.empty()) {
        Editor().messages.AddText(MessageLog::Error, path + ": " + detail);
    }
    char text[600];
    std::snprintf(text, sizeof text, "The OS reported an error %s the file: %s", action,
                  path.c_str());
    // The system's reason on a line of its own, so the user knows what to mend.
    Editor().GetPrompts().Message(detail.empty() ? text : text + ("\n" + detail),
                                  Prompts::Icon::Error);
}

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
    // Read straight into the string; a file that grows meanwhile is read to its end. The
    // byte of room beyond the size lets a file that did not grow end the reading at once,
    // without growing (and copying) the whole text.
    data.resize(static_cast<std::size_t>(info.st_size) + 1);
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

OutputBuffer::Sink SinkInto(std::string& out) {
    return [&out](std::string_view bytes) {
        out.append(bytes);
        return true;
    };
}

OutputBuffer::Sink SinkInto(AtomicFileWriter& writer) {
    return [&writer](std::string_view bytes) { return writer.Write(bytes.data(), bytes.size()); };
}

// The file forms share one operation for reading and writing, so it is not const; writing
// only reads the map.
CMapWorld& Writable(const CMapWorld& world) {
    return const_cast<CMapWorld&>(world);
}

// Commits a written file; a world that failed has shown its message already, a write that
// failed part-way (a full disk) shows the system's reason now.
int FinishFile(AtomicFileWriter& writer, int written, const std::string& path) {
    if (written != 0) {
        if (!writer.Error().empty()) {
            ShowOsError("saving", path, writer.Error());
        }
        return -1;
    }
    if (!writer.Commit()) {
        ShowOsError("saving", path, writer.Error());
        return -1;
    }
    if (!writer.BackupError().empty()) {
        Editor().messages.AddText(MessageLog::Error, path + ": " + writer.BackupError());
    }
    return 0;
}
} // namespace

bool IsRmfPath(const std::string& path) {
    if (path.size() < 3) {
        return false;
    }
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return tail == "rmf";
}

bool LooksLikeMapText(std::string_view data) {
    // A real RMF file starts with its version; one the reader takes is never MAP text.
    float version = 0.0f;
    if (data.size() >= sizeof version) {
        std::memcpy(&version, data.data(), sizeof version);
        if (version >= RmfStream::kOldestVersion && version <= RmfStream::kVersion) {
            return false;
        }
    }
    std::size_t start = 0;
    while (start < data.size() && std::isspace(static_cast<unsigned char>(data[start]))) {
        ++start;
    }
    const std::string_view text = data.substr(start);
    return text.starts_with('{') || text.starts_with("//");
}

const MapReadReport& LastMapReadReport() {
    return Editor().lastMapRead;
}

int ReadMapData(CMapWorld& world, std::string_view data, const std::string& displayName,
                Progress* progress) {
    MapTextStream stream(data, displayName, progress);
    const int result = world.SerializeMAP(stream, false);
    Editor().lastMapRead = MapReadReport{stream.droppedSolids, stream.parseErrors,
                                         std::move(stream.errors), stream.wad};
    return result;
}

int ReadMapFile(CMapWorld& world, const std::string& path, Progress* progress) {
    FileText text;
    std::string error;
    if (!text.Read(path, error)) {
        Editor().lastMapRead = MapReadReport{};
        ShowOsError("loading", path, error);
        return -1;
    }
    return ReadMapData(world, text.Text(), path, progress);
}

int WriteMapData(const CMapWorld& world, std::string& out, bool visibleOnly,
                 std::optional<MapDialect> dialect) {
    out.clear();
    MapTextStream stream(SinkInto(out), "");
    stream.visibleOnly = visibleOnly;
    stream.dialect = dialect.value_or(world.Dialect());
    stream.wadToWrite = ComposeExportWad(world, "", "");
    return Writable(world).SerializeMAP(stream, true);
}

std::string BackupPathOf(const std::string& path) {
    return path + ".bak";
}

int WriteMapFile(const CMapWorld& world, const std::string& path, bool visibleOnly, bool keepBackup,
                 const std::string& wadSourceFolder, const std::string& header,
                 std::optional<MapDialect> dialect) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) {
        ShowOsError("saving", path, writer.Error());
        return -1;
    }
    if (keepBackup) {
        writer.SetBackupPath(BackupPathOf(path));
    }
    MapTextStream stream(SinkInto(writer), path);
    stream.visibleOnly = visibleOnly;
    stream.dialect = dialect.value_or(world.Dialect());
    stream.wadToWrite = ComposeExportWad(world, wadSourceFolder, path);
    if (!header.empty()) {
        stream.Out() += header + "\n";
    }
    return FinishFile(writer, Writable(world).SerializeMAP(stream, true), path);
}

int ReadRmfData(CMapWorld& world, std::string_view data, const std::string& displayName) {
    if (LooksLikeMapText(data)) {
        const std::string text = displayName + " is not an RMF file; it looks like a MAP file.\n" +
                                 "Give it the extension .map to open it.";
        Editor().GetPrompts().Message(text, Prompts::Icon::Error);
        return -1;
    }
    RmfStream stream(data, displayName);
    return world.SerializeRMF(stream, false);
}

int ReadRmfFile(CMapWorld& world, const std::string& path) {
    std::string data;
    std::string error;
    if (!ReadWholeFile(path, data, error)) {
        ShowOsError("loading", path, error);
        return -1;
    }
    return ReadRmfData(world, data, path);
}

int WriteRmfData(const CMapWorld& world, std::string& out) {
    out.clear();
    RmfStream stream(SinkInto(out), "");
    return Writable(world).SerializeRMF(stream, true);
}

int WriteRmfFile(const CMapWorld& world, const std::string& path, bool keepBackup) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) {
        ShowOsError("saving", path, writer.Error());
        return -1;
    }
    if (keepBackup) {
        writer.SetBackupPath(BackupPathOf(path));
    }
    RmfStream stream(SinkInto(writer), path);
    return FinishFile(writer, Writable(world).SerializeRMF(stream, true), path);
}
