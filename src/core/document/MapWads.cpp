#include "document/MapWads.h"

#include "common/ProgramDirectory.h"
#include "document/DocumentServices.h"
#include "gamedata/TextureManager.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kMissingNamesShown = 8;

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string Tidy(const fs::path& path) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec);
    return (ec ? path : full).lexically_normal().string();
}

std::string FolderOf(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    return fs::path(Tidy(path)).parent_path().string();
}

std::string OwnWadValue(const CMapWorld& world) {
    auto value = world.GetKeyValue("wad");
    return value ? value->first : std::string();
}

// Every texture name the map's faces use, lower-cased and in the order first met, with the
// name as the face has it.
std::vector<std::string> UsedTextureNames(const CMapWorld& world) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    EnumChildren(
        world,
        [&](CMapClass* object) {
            const auto* solid = static_cast<const CMapSolid*>(object);
            for (const CMapFace& face : solid->Faces()) {
                std::string name = face.TextureName();
                std::string lower = name;
                std::transform(lower.begin(), lower.end(), lower.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                if (!name.empty() && seen.insert(lower).second) {
                    names.push_back(name);
                }
            }
            return true;
        },
        kTypeMapSolid);
    return names;
}
} // namespace

std::vector<std::string> SplitWadList(std::string_view value) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        std::string_view entry = value.substr(start, end - start);
        while (!entry.empty() && (entry.front() == ' ' || entry.front() == '\t')) {
            entry.remove_prefix(1);
        }
        while (!entry.empty() && (entry.back() == ' ' || entry.back() == '\t')) {
            entry.remove_suffix(1);
        }
        if (!entry.empty()) {
            entries.emplace_back(entry);
        }
        start = end + 1;
    }
    return entries;
}

WadSearchPlaces WadSearchPlacesFor(const std::string& mapPath) {
    WadSearchPlaces places;
    places.mapFolder = FolderOf(mapPath);
    places.quakeDirectory = DocumentServices::Installed().options.quakeDirectory;
    places.programDirectory = DocumentServices::Installed().programDirectory;
    return places;
}

std::string FindMapWad(const std::string& entry, const WadSearchPlaces& places) {
    std::string path = entry;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) {
        return {};
    }
    std::vector<fs::path> folders;
    for (const std::string* folder : {&places.mapFolder, &places.quakeDirectory}) {
        if (!folder->empty()) {
            folders.emplace_back(*folder);
        }
        if (folder == &places.quakeDirectory && !folder->empty()) {
            folders.push_back(fs::path(*folder) / "id1");
        }
    }
    if (!places.programDirectory.empty()) {
        folders.emplace_back(places.programDirectory);
    }
    const fs::path given(path);
    if (given.is_absolute()) {
        if (IsFile(given)) {
            return Tidy(given);
        }
    } else {
        for (const fs::path& folder : folders) {
            if (IsFile(folder / given)) {
                return Tidy(folder / given);
            }
        }
    }
    // "C:/quake/id1/gfx/base.wad" or "/home/someone/quake/q.wad": the file name alone.
    const fs::path name = given.filename();
    if (name.empty() || name == given) {
        return {};
    }
    for (const fs::path& folder : folders) {
        if (IsFile(folder / name)) {
            return Tidy(folder / name);
        }
    }
    return {};
}

std::vector<std::string> MissingTextureNames(const CMapWorld& world) {
    const TextureManager& catalogue = DocumentServices::Installed().TextureCatalogue();
    std::vector<std::string> missing;
    for (const std::string& name : UsedTextureNames(world)) {
        if (!catalogue.WadHoldsTexture(-1, name)) {
            missing.push_back(name);
        }
    }
    return missing;
}

int LoadMapWads(CMapWorld& world, const std::string& mapPath) {
    DocumentServices& editor = DocumentServices::Installed();
    TextureManager& catalogue = editor.TextureCatalogue();
    const WadSearchPlaces places = WadSearchPlacesFor(mapPath);
    std::vector<std::string> found;
    int notFound = 0;
    for (const std::string& entry : SplitWadList(OwnWadValue(world))) {
        const std::string file = FindMapWad(entry, places);
        if (file.empty()) {
            ++notFound;
            editor.messages.AddText(MessageLog::Error,
                                    "The map's WAD " + entry +
                                        " was not found beside the map, in the Quake folder, "
                                        "its id1 or the program folder.");
        } else if (catalogue.FindWadFile(file) < 0) {
            // The same file named another way ("textures.wad" beside the program, or its full
            // path) is not catalogued twice.
            found.push_back(file);
        }
    }
    if (!found.empty()) {
        const int before = catalogue.WadCount();
        catalogue.LoadAllWadFiles(found);
        for (int i = before; i < catalogue.WadCount(); ++i) {
            editor.messages.AddText(MessageLog::Normal,
                                    "Loaded the map's texture file " + catalogue.WadAt(i).path);
        }
        for (const std::string& file : found) {
            if (catalogue.FindWadFile(file) < 0) {
                editor.messages.AddText(MessageLog::Error, file +
                                                               " named by the map is no WAD2 "
                                                               "texture file; it was not loaded.");
            }
        }
        editor.textures = &catalogue;
        // Faces were bound while the map was read, before its own textures were known.
        EnumChildren(
            world,
            [](CMapClass* object) {
                auto* solid = static_cast<CMapSolid*>(object);
                for (int i = 0; i < solid->FaceCount(); ++i) {
                    CMapFace& face = solid->Face(i);
                    face.SetTextureName(face.TextureName());
                }
                return true;
            },
            kTypeMapSolid);
    }
    // With no WAD file at all (no settings, batch runs) every name would be listed.
    const std::vector<std::string> missing =
        catalogue.WadCount() > 0 ? MissingTextureNames(world) : std::vector<std::string>();
    if (!missing.empty()) {
        char head[96];
        std::snprintf(head, sizeof head, "%zu %s of this map %s in no loaded WAD: ", missing.size(),
                      missing.size() == 1 ? "texture" : "textures",
                      missing.size() == 1 ? "is" : "are");
        std::string line = head;
        std::size_t shown = 0;
        for (; shown < missing.size() && shown < kMissingNamesShown; ++shown) {
            const std::string next = (shown ? ", " : "") + missing[shown];
            if (line.size() + next.size() + 5 > MessageLog::kMaxLineLength) {
                break;
            }
            line += next;
        }
        if (shown < missing.size()) {
            line += ", ...";
        }
        editor.messages.AddText(MessageLog::Error, line);
    }
    return notFound;
}

std::string ComposeExportWad(const CMapWorld& world, const std::string& sourceFolder,
                             const std::string& exportPath) {
    const TextureManager& catalogue = DocumentServices::Installed().TextureCatalogue();
    WadSearchPlaces places = WadSearchPlacesFor("");
    places.mapFolder = sourceFolder;
    const std::string exportFolder = FolderOf(exportPath);

    std::vector<std::string> entries;
    std::set<std::string> files; // the files named so far
    std::vector<int> ownWads;    // catalogue indices of the map's own WADs
    const std::string ownValue = OwnWadValue(world);
    const std::vector<std::string> own = SplitWadList(ownValue);
    bool changed = false;
    for (const std::string& entry : own) {
        const std::string file = FindMapWad(entry, places);
        std::string written = entry;
        std::string slashed = entry;
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        const bool absolute = fs::path(slashed).is_absolute();
        if (!file.empty() && !exportFolder.empty() && !absolute &&
            !IsFile(fs::path(exportFolder) / slashed)) {
            written = file;
        }
        changed = changed || written != entry;
        entries.push_back(written);
        if (!file.empty()) {
            files.insert(file);
            if (const int index = catalogue.FindWadFile(file); index >= 0) {
                ownWads.push_back(index);
            }
        }
    }

    std::vector<std::string> configured;
    for (const std::string& path : DocumentServices::Installed().options.textureFiles) {
        const std::string file = Tidy(ResolveProgramPath(path));
        if (files.insert(file).second) {
            configured.push_back(file);
        }
    }
    if (own.empty()) {
        entries.insert(entries.end(), configured.begin(), configured.end());
    } else {
        std::vector<bool> needed(configured.size(), false);
        for (const std::string& name : UsedTextureNames(world)) {
            const bool inOwn = std::any_of(ownWads.begin(), ownWads.end(), [&](int index) {
                return catalogue.WadHoldsTexture(index, name);
            });
            if (inOwn) {
                continue;
            }
            for (std::size_t i = 0; i < configured.size(); ++i) {
                const int index = catalogue.FindWadFile(configured[i]);
                if (index >= 0 && catalogue.WadHoldsTexture(index, name)) {
                    needed[i] = true;
                    break;
                }
            }
        }
        for (std::size_t i = 0; i < configured.size(); ++i) {
            if (needed[i]) {
                entries.push_back(configured[i]);
            }
        }
    }
    if (!changed && entries.size() == own.size()) {
        return ownValue; // as the map has it, to the byte
    }
    std::string value;
    for (const std::string& entry : entries) {
        value += (value.empty() ? "" : ";") + entry;
    }
    return value;
}
