#include "prefabs/PrefabFiles.h"

#include "document/DocumentServices.h"
#include "platform/RandomAccessFile.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr const char* kCouldNotLoadMessage = "Couldn't Load prefab to Save it.";
// How much of a file the content test looks at.
constexpr std::size_t kContentProbeSize = 256 * 1024;
constexpr int kMapProbeLines = 500;

std::string FileName(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool StartsAsRmf(std::string_view head) {
    if (head.size() < 7) {
        return false;
    }
    float version = 0;
    std::memcpy(&version, head.data(), sizeof version);
    if (!(version >= 0.3f && version <= 0.9f)) {
        return false;
    }
    if (version >= 0.8f) {
        return head.substr(4, 3) == "RMF";
    }
    constexpr std::string_view kWorld{"\x0A"
                                      "CMapWorld\0",
                                      11};
    return head.substr(4, kWorld.size()) == kWorld;
}

} // namespace

PrefabFileType ClassifyPrefabContent(std::string_view head) {
    if (StartsAsRmf(head)) {
        return PrefabFileType::Rmf;
    }
    if (head.substr(0, 7) == "[Script") {
        return PrefabFileType::ObjectScript;
    }
    std::size_t start = 0;
    for (int line = 0; line < kMapProbeLines && start < head.size(); ++line) {
        std::size_t at = start;
        while (at < head.size() && (head[at] == ' ' || head[at] == '\t')) {
            ++at;
        }
        if (at < head.size() && head[at] == '{') {
            return PrefabFileType::Map;
        }
        const std::size_t end = head.find('\n', start);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return PrefabFileType::Unknown;
}

PrefabFileType ClassifyPrefabFile(const std::string& path) {
    const std::string name = FileName(path);
    const std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos) {
        const std::string extension = Lower(name.substr(dot + 1));
        if (extension == "rmf") {
            return PrefabFileType::Rmf;
        }
        if (extension == "map") {
            return PrefabFileType::Map;
        }
        if (extension == "os") {
            return PrefabFileType::ObjectScript;
        }
    }
    RandomAccessFile file;
    if (!file.Open(path)) {
        return PrefabFileType::Unknown;
    }
    std::string head(
        static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), kContentProbeSize)), '\0');
    if (!file.ReadAt(0, head.data(), head.size())) {
        return PrefabFileType::Unknown;
    }
    return ClassifyPrefabContent(head);
}

int ImportPrefabFiles(CPrefabLibrary& library, const std::vector<std::string>& paths) {
    PrefabRegistry& registry = DocumentServices::Installed().Prefabs();
    const bool cacheWasOn = registry.CacheEnabled();
    registry.SetCacheEnabled(false);
    int added = 0;
    for (const std::string& path : paths) {
        const PrefabFileType type = ClassifyPrefabFile(path);
        if (type == PrefabFileType::ObjectScript) {
            DocumentServices::Installed().messages.AddText(
                MessageLog::Normal, path + ": ObjectScript files are not imported, skipped");
            continue;
        }
        if (type != PrefabFileType::Rmf && type != PrefabFileType::Map) {
            DocumentServices::Installed().messages.AddText(MessageLog::Normal,
                                                           path + ": not a map file, skipped");
            continue;
        }
        auto prefab = std::make_unique<CPrefab>();
        std::string name = FileName(path);
        name = name.substr(0, name.rfind('.'));
        prefab->SetName(name.empty() ? std::string("Prefab") : name);
        const int flags = type == PrefabFileType::Map ? CPrefab::kMapText : 0;
        if (prefab->LoadMapFile(path, flags) != 0) {
            continue;
        }
        library.AddPrefab(std::move(prefab));
        ++added;
    }
    library.Save();
    registry.UnloadAll();
    registry.SetCacheEnabled(cacheWasOn);
    if (added > 0) {
        registry.NotifyChanged();
    }
    return added;
}

int ExportPrefab(CPrefab& prefab, const std::string& path) {
    if (!prefab.EnsureLoaded()) {
        DocumentServices::Installed().GetPrompts().Message(kCouldNotLoadMessage,
                                                           Prompts::Icon::Warning);
        return -1;
    }
    const std::string name = FileName(path);
    const std::string::size_type dot = name.find('.');
    const bool asMap = dot != std::string::npos && Lower(name.substr(dot + 1, 3)) == "map";
    return prefab.SaveMapFile(path, asMap ? CPrefab::kMapText : 0);
}

int ExportPrefabs(const std::vector<CPrefab*>& prefabs) {
    int written = 0;
    for (CPrefab* prefab : prefabs) {
        std::optional<std::string> chosen = DocumentServices::Installed().GetPrompts().SaveFileName(
            "Export Object", kPrefabExportFilter, prefab->Name());
        if (!chosen || chosen->empty()) {
            break;
        }
        std::string path = *chosen;
        if (FileName(path).find('.') == std::string::npos) {
            path += ".map";
        }
        if (ExportPrefab(*prefab, path) == 0) {
            ++written;
        }
    }
    return written;
}
