#include "document/MapFiles.h"

#include "document/FileReport.h"
#include "document/MapWads.h"
#include "formats/MapTextReader.h"
#include "formats/MapTextWriter.h"
#include "formats/RmfWriter.h"

#include <cctype>

namespace {
int Told(const FileResult& result, const std::string& name) {
    TellFileResult(result, name);
    return result.Ok() ? 0 : -1;
}

int ToldMapRead(const FileResult& result, const std::string& name, MapReadReport* report) {
    if (report) {
        *report = MapReadReportOf(result, name);
    }
    return Told(result, name);
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

FileResult ReadMapFileResult(CMapWorld& world, const std::string& path, Progress* progress) {
    return ReadFileWith(
        path, [&](std::string_view data) { return MapTextReader::Read(world, data, progress); });
}

FileResult WriteMapFileResult(const CMapWorld& world, const std::string& path, bool visibleOnly,
                              bool keepBackup, const std::string& wadSourceFolder,
                              const std::string& header, std::optional<MapDialect> dialect) {
    MapWriteOptions options;
    options.visibleOnly = visibleOnly;
    options.wad = ComposeExportWad(world, wadSourceFolder, path);
    options.header = header;
    options.dialect = dialect;
    return WriteFileWith(path, keepBackup, [&](OutputBuffer::Sink sink) {
        return MapTextWriter::Write(world, std::move(sink), options);
    });
}

FileResult ReadRmfFileResult(CMapWorld& world, const std::string& path) {
    return ReadFileWith(path, [&](std::string_view data) { return RmfReader::Read(world, data); });
}

FileResult WriteRmfFileResult(const CMapWorld& world, const std::string& path, bool keepBackup) {
    return WriteFileWith(path, keepBackup, [&](OutputBuffer::Sink sink) {
        return RmfWriter::Write(world, std::move(sink));
    });
}

int ReadMapData(CMapWorld& world, std::string_view data, const std::string& displayName,
                Progress* progress, MapReadReport* report) {
    return ToldMapRead(MapTextReader::Read(world, data, progress), displayName, report);
}

int ReadMapFile(CMapWorld& world, const std::string& path, Progress* progress,
                MapReadReport* report) {
    return ToldMapRead(ReadMapFileResult(world, path, progress), path, report);
}

int WriteMapData(const CMapWorld& world, std::string& out, bool visibleOnly,
                 std::optional<MapDialect> dialect) {
    out.clear();
    MapWriteOptions options;
    options.visibleOnly = visibleOnly;
    options.wad = ComposeExportWad(world, "", "");
    options.dialect = dialect;
    return Told(MapTextWriter::Write(world, SinkInto(out), options), "");
}

int WriteMapFile(const CMapWorld& world, const std::string& path, bool visibleOnly, bool keepBackup,
                 const std::string& wadSourceFolder, const std::string& header,
                 std::optional<MapDialect> dialect) {
    return Told(
        WriteMapFileResult(world, path, visibleOnly, keepBackup, wadSourceFolder, header, dialect),
        path);
}

int ReadRmfData(CMapWorld& world, std::string_view data, const std::string& displayName) {
    return Told(RmfReader::Read(world, data), displayName);
}

int ReadRmfFile(CMapWorld& world, const std::string& path) {
    return Told(ReadRmfFileResult(world, path), path);
}

int WriteRmfData(const CMapWorld& world, std::string& out) {
    out.clear();
    return Told(RmfWriter::Write(world, SinkInto(out)), "");
}

int WriteRmfFile(const CMapWorld& world, const std::string& path, bool keepBackup) {
    return Told(WriteRmfFileResult(world, path, keepBackup), path);
}
