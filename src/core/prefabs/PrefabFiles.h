#pragma once

#include <string>
#include <string_view>
#include <vector>

class CPrefab;
class CPrefabLibrary;

// Kinds of files the Prefab Factory imports.
enum class PrefabFileType { Rmf, Map, ObjectScript, Unknown };

// The filter of the import dialog (several files, all must exist) and of the export dialog.
inline constexpr const char* kPrefabImportFilter =
    "Prefab files (*.map *.rmf *.os);;Quake MAP files (*.map);;Brickhaven RMF files (*.rmf);;"
    "ObjectScript files (*.os)";
inline constexpr const char* kPrefabExportFilter = "Map files (*.map *.rmf)";

// By the extension after the last '.' of the file name, in any letter case: ".rmf", ".map",
// ".os". Any other file is classified by its first bytes (ClassifyPrefabContent).
PrefabFileType ClassifyPrefabFile(const std::string& path);
// RMF when the data begins as an RMF file does (a version from 0.3 to 0.8, then "RMF" or, for
// versions before 0.8, the world's class name); ObjectScript when the first line begins with
// "[Script"; Quake MAP when one of the first 500 lines begins with '{' (after blanks);
// otherwise unknown.
PrefabFileType ClassifyPrefabContent(std::string_view head);

// Imports map files as new prefabs of the library: RMF and MAP files become prefabs named
// after the file (its name without folder and extension, up to 30 characters) with empty
// notes; ObjectScript and unrecognised files, and files that fail to load, are skipped. The
// load cache is off meanwhile; afterwards the library is saved and all prefabs are unloaded.
// Returns how many prefabs were added.
int ImportPrefabFiles(CPrefabLibrary& library, const std::vector<std::string>& paths);

// Writes a prefab's map to a file: Quake MAP when the three characters after the first '.' of
// the file name are "map" (any letter case), RMF otherwise. A map that cannot be loaded shows
// "Couldn't Load prefab to Save it.". 0, or -1.
int ExportPrefab(CPrefab& prefab, const std::string& path);
// Offers a save dialog for each prefab in turn (the prefab's name as file name, ".map" added
// to a name without extension) and exports it; Cancel ends the loop. Returns how many were
// written.
int ExportPrefabs(const std::vector<CPrefab*>& prefabs);
