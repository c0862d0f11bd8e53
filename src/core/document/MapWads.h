#pragma once

#include <string>
#include <string_view>
#include <vector>

class CMapWorld;

// The texture WAD files a map names in its world's "wad" key: found on disk, loaded into the
// texture catalogue when the map is read, and written back so the compile tools find them.

// The entries of a "wad" value: split at ';', blanks around each entry dropped, empty ones
// left out.
std::vector<std::string> SplitWadList(std::string_view value);

// Where the entries of a map's "wad" key are looked for.
struct WadSearchPlaces {
    std::string mapFolder;      // the folder of the map's file (may be empty)
    std::string quakeDirectory; // the configured Quake folder (may be empty)
    std::string programDirectory;
};
// The places the editor uses now for a map file at mapPath.
WadSearchPlaces WadSearchPlacesFor(const std::string& mapPath);

// The file an entry names: an absolute entry as it is; a relative one against the map's
// folder, the Quake folder, its "id1" folder and the program folder, in that order. Failing
// that, the entry's file name alone in the same folders (maps made elsewhere name their own
// machine's folders). Backslashes count as folder separators. Empty when nothing exists.
std::string FindMapWad(const std::string& entry, const WadSearchPlaces& places);

// After a map was read from mapPath: loads every WAD its "wad" key names into the texture
// catalogue (one error line per WAD not found), binds the faces to the textures now known,
// and lists once the textures that no loaded WAD holds (their count and the first names).
// Returns the number of entries not found.
int LoadMapWads(CMapWorld& world, const std::string& mapPath);

// The texture names of the map's faces that no WAD of the catalogue holds, in the order
// they are first met.
std::vector<std::string> MissingTextureNames(const CMapWorld& world);

// The "wad" value a MAP written to exportPath carries (exportPath empty: written to memory).
// The map's own entries come as they are when the compile tools find them from the exported
// file's folder (absolute entries, or relative ones that exist there); an entry found only
// elsewhere (searched from sourceFolder, the folder the map was read from) is written as
// the absolute path of the file found. The editor's configured WAD files follow as absolute
// paths: all of them for a map without entries of its own, else those that hold a texture
// the map uses and its own WADs lack.
std::string ComposeExportWad(const CMapWorld& world, const std::string& sourceFolder,
                             const std::string& exportPath);
