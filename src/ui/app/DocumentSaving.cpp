#include "app/DocumentSaving.h"

#include "common/Prompts.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "formats/MapDialectFormats.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kMapFilter = "Brickhaven Maps (*.rmf);;Quake Maps (*.map)";
const char* const kRmfFilter = "Brickhaven Maps (*.rmf)";

// The path with its file name cut at the name's first '.'.
std::string CutAtFirstDot(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    std::string::size_type start = slash == std::string::npos ? 0 : slash + 1;
    std::string::size_type dot = path.find('.', start);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

bool HasDotInName(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    std::string::size_type start = slash == std::string::npos ? 0 : slash + 1;
    return path.find('.', start) != std::string::npos;
}

// What the user changed in the object properties and has not applied yet counts as a change
// of the map.
void ApplyPendingEdits(const CMapDoc& document) {
    if (ObjectPropertiesSink* sheet = document.Services().objectProperties) {
        sheet->ApplyPending();
    }
}

bool SaveUnderChosenName(CMapDoc& document, bool rmfOnly) {
    // A prefab document is stored into its library whatever file name would be chosen.
    if (document.IsPrefabDocument()) {
        return document.UpdatePrefab();
    }
    auto choice = document.Services().GetPrompts().ChooseSaveFile(
        "Save As", rmfOnly ? kRmfFilter : kMapFilter, CutAtFirstDot(document.Path()));
    if (!choice || choice->path.empty()) {
        return false;
    }
    std::string path = choice->path;
    if (rmfOnly) {
        if (!IsRmfPath(path)) {
            // "room.map" becomes "room.rmf"; any other name gets ".rmf" added.
            const std::size_t slash = path.find_last_of('/');
            const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
            std::string tail = path.size() >= nameStart + 4 ? path.substr(path.size() - 4) : "";
            std::transform(tail.begin(), tail.end(), tail.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (tail == ".map") {
                path.resize(path.size() - 4);
            }
            path += ".rmf";
        }
    } else if (!HasDotInName(path)) {
        path += choice->filterIndex == 1 ? ".map" : ".rmf";
    }
    if (!document.SaveDocument(path)) {
        return false;
    }
    document.SetPathAfterSave(path);
    return true;
}

} // namespace

namespace DocumentSaving {

bool Save(CMapDoc& document) {
    if (document.IsPrefabDocument()) {
        return document.UpdatePrefab();
    }
    const std::string path = document.Path();
    if (!path.empty() && access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) == 0) {
        return document.SaveDocument(path);
    }
    // An untitled map gets its first file as RMF, the format that keeps groups and visgroups;
    // MAP text is what Export (or Save As with the MAP filter) is for.
    return SaveUnderChosenName(document, path.empty());
}

bool SaveAs(CMapDoc& document) {
    return SaveUnderChosenName(document, false);
}

bool& ExportVisibleOnly() {
    static bool visibleOnly = false;
    return visibleOnly;
}

bool Export(CMapDoc& document) {
    if (document.Path().empty()) {
        Save(document);
        if (document.Path().empty()) {
            return false;
        }
    }
    bool visibleOnly = ExportVisibleOnly();
    // One filter per dialect, the map's own first: it is what an export writes unless the
    // user picks another.
    const MapDialect own = document.World()->Dialect();
    std::vector<MapDialect> dialects{own};
    std::string filters(MapDialectFormatOf(own).exportFilter);
    for (const MapDialectFormat& format : MapDialectFormats()) {
        if (format.dialect != own) {
            dialects.push_back(format.dialect);
            filters += ";;" + std::string(format.exportFilter);
        }
    }
    auto choice = document.Services().GetPrompts().ChooseSaveFile(
        "Export to Quake MAP", filters, CutAtFirstDot(document.Path()) + ".map",
        "Save &Visible objects only", &visibleOnly);
    if (!choice || choice->path.empty()) {
        return false;
    }
    const std::size_t chosen = static_cast<std::size_t>(choice->filterIndex);
    const MapDialect dialect = chosen < dialects.size() ? dialects[chosen] : own;
    ExportVisibleOnly() = visibleOnly;
    std::string path = choice->path;
    if (!HasDotInName(path)) {
        path += ".map";
    }
    return document.ExportMap(path, visibleOnly, dialect);
}

bool SaveModified(CMapDoc& document) {
    ApplyPendingEdits(document);
    if (!document.IsModified()) {
        return true;
    }
    Prompts& prompts = document.Services().GetPrompts();
    if (document.IsPrefabDocument()) {
        Prompts::Answer answer = prompts.YesNoCancel(
            "Do you want to save the changes to this prefab object?", Prompts::Icon::Question);
        if (answer == Prompts::Answer::Cancel) {
            return false;
        }
        if (answer == Prompts::Answer::Yes) {
            // Stays open when nothing was stored (the library is gone or can't be written).
            if (!document.StoreIntoPrefabLibrary()) {
                return false;
            }
            document.SetModified(false);
        }
        return true;
    }
    Prompts::Answer answer =
        prompts.YesNoCancel("Save changes to " + document.Title() + "?", Prompts::Icon::Warning);
    if (answer == Prompts::Answer::Cancel) {
        return false;
    }
    if (answer == Prompts::Answer::Yes) {
        return Save(document);
    }
    return true;
}

} // namespace DocumentSaving
