#pragma once

#include "common/MapReadReport.h"
#include "formats/FileAccess.h"
#include "formats/FileResult.h"
#include "formats/RmfReader.h"
#include "mapobjects/MapDialect.h"

#include <optional>
#include <string>
#include <string_view>

class CMapWorld;
class Progress;

// Whole-file reading and writing of maps for callers that tell the user of every problem
// as it is: each returns 0 on success and -1 on failure, after the user was told why (see
// TellFileResult). Writing goes to a temporary file that replaces the target only when
// everything was written.

// Quake MAP text. Reading fills an empty world; progress (may be null) gets 0-100. A MAP
// with faulty lines or solids still loads (result 0): the user was told, and report (when
// given) gets the counts and the errors of the read.
int ReadMapFile(CMapWorld& world, const std::string& path, Progress* progress = nullptr,
                MapReadReport* report = nullptr);
// visibleOnly skips every object that fails the visibility test with the world's filter.
// keepBackup: a file that is replaced stays as path + ".bak" (see BackupPathOf).
// wadSourceFolder: the folder the map was read from, where the relative entries of its "wad"
// key were found (see ComposeExportWad). header (a "//" comment line, without its line feed)
// is written before the map when not empty. dialect: the face lines' dialect; by default the
// one the map was read in. Faces a standard line cannot give exactly are counted and named in
// the message window.
int WriteMapFile(const CMapWorld& world, const std::string& path, bool visibleOnly = false,
                 bool keepBackup = false, const std::string& wadSourceFolder = "",
                 const std::string& header = "", std::optional<MapDialect> dialect = std::nullopt);

// RMF binary.
int ReadRmfFile(CMapWorld& world, const std::string& path);
int WriteRmfFile(const CMapWorld& world, const std::string& path, bool keepBackup = false);

// RMF in memory (prefab libraries embed RMF streams). displayName names the data in messages.
int ReadRmfData(CMapWorld& world, std::string_view data, const std::string& displayName);
int WriteRmfData(const CMapWorld& world, std::string& out);

// MAP text in memory.
int ReadMapData(CMapWorld& world, std::string_view data, const std::string& displayName,
                Progress* progress = nullptr, MapReadReport* report = nullptr);
int WriteMapData(const CMapWorld& world, std::string& out, bool visibleOnly = false,
                 std::optional<MapDialect> dialect = std::nullopt);

// The format readers and writers on whole files, telling nothing: what the document and the
// batch commands tell the user their own way.
FileResult ReadMapFileResult(CMapWorld& world, const std::string& path, Progress* progress);
FileResult WriteMapFileResult(const CMapWorld& world, const std::string& path, bool visibleOnly,
                              bool keepBackup, const std::string& wadSourceFolder,
                              const std::string& header, std::optional<MapDialect> dialect);
FileResult ReadRmfFileResult(CMapWorld& world, const std::string& path);
FileResult WriteRmfFileResult(const CMapWorld& world, const std::string& path, bool keepBackup);

// Title of the progress window a caller shows while a MAP file loads.
inline constexpr const char* kLoadingFileTitle = "Loading File";

// A path names an RMF file when its last three characters are "rmf" (any letter case);
// everything else is read as Quake MAP text.
bool IsRmfPath(const std::string& path);
