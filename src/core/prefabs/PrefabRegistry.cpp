#include "prefabs/PrefabRegistry.h"

#include "document/DocumentServices.h"
#include "platform/FileSystemOps.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"

#include <algorithm>
#include <cstdlib>

namespace {
// $XDG_DATA_HOME/Brickhaven/prefabs, by default ~/.local/share/Brickhaven/prefabs.
std::string UserPrefabDirectory() {
    return XdgBaseDirectory("XDG_DATA_HOME", ".local/share") + "/Brickhaven/prefabs";
}
} // namespace

PrefabRegistry::PrefabRegistry() = default;

PrefabRegistry::~PrefabRegistry() {
    // The prefabs take themselves out of the cache while the cache still exists.
    m_libraries.clear();
}

CPrefabLibrary* PrefabRegistry::AddLibrary(std::unique_ptr<CPrefabLibrary> library) {
    if (!library) {
        return nullptr;
    }
    m_libraries.push_back(std::move(library));
    return m_libraries.back().get();
}

CPrefabLibrary* PrefabRegistry::FindLibrary(std::uint32_t id) const {
    for (const auto& library : m_libraries) {
        if (library->Id() == id) {
            return library.get();
        }
    }
    return nullptr;
}

CPrefabLibrary* PrefabRegistry::FindLibraryByPath(const std::string& path) const {
    for (const auto& library : m_libraries) {
        if (!path.empty() && library->Path() == path) {
            return library.get();
        }
    }
    return nullptr;
}

bool PrefabRegistry::DestroyLibrary(std::uint32_t id) {
    auto it = std::find_if(m_libraries.begin(), m_libraries.end(),
                           [id](const auto& library) { return library->Id() == id; });
    if (it == m_libraries.end()) {
        return false;
    }
    std::unique_ptr<CPrefabLibrary> library = std::move(*it);
    m_libraries.erase(it);
    return true;
}

CPrefabLibrary* PrefabRegistry::LoadLibrary(const std::string& path) {
    auto library = std::make_unique<CPrefabLibrary>();
    if (library->Load(path) != 1) {
        return nullptr;
    }
    return AddLibrary(std::move(library));
}

CPrefab* PrefabRegistry::FindPrefab(std::uint32_t id) const {
    for (const auto& library : m_libraries) {
        if (CPrefab* prefab = library->FindPrefab(id)) {
            return prefab;
        }
    }
    return nullptr;
}

CPrefabLibrary* PrefabRegistry::LoadDefaultLibrary() {
    const std::string path = PrefabDirectory() + "/" + kDefaultLibraryFile;
    if (CPrefabLibrary* loaded = FindLibraryByPath(path)) {
        return loaded;
    }
    if (!PathExists(path)) {
        auto library = std::make_unique<CPrefabLibrary>();
        library->SetPath(path);
        library->SetName(CPrefabLibrary::NameFromPath(path));
        return AddLibrary(std::move(library));
    }
    return LoadLibrary(path);
}

const std::string& PrefabRegistry::PrefabDirectory() {
    if (!m_directory.empty()) {
        return m_directory;
    }
    const std::string& program = DocumentServices::Installed().programDirectory;
    std::string beside = (program.empty() ? std::string(".") : program);
    if (beside.size() > 1 && beside.back() == '/') {
        beside.pop_back();
    }
    beside += "/prefabs";
    // A system-wide install (below /usr) is the package manager's: the user's own folder is used,
    // even when the editor runs as root, so removing the package leaves no stray folder.
    const bool systemInstall = beside.starts_with("/usr/");
    if (!systemInstall && MakeDirectories(beside) && IsDirectoryWritable(beside)) {
        m_directory = beside;
    } else {
        m_directory = UserPrefabDirectory();
        MakeDirectories(m_directory);
    }
    return m_directory;
}

void PrefabRegistry::NoteLoaded(CPrefab* prefab) {
    if (!m_cacheEnabled || !prefab) {
        return;
    }
    auto it = std::find(m_cache.begin(), m_cache.end(), prefab);
    if (it != m_cache.end()) {
        m_cache.splice(m_cache.begin(), m_cache, it);
        return;
    }
    while (!m_cache.empty() && m_cache.size() >= std::max<std::size_t>(cacheSize, 1)) {
        CPrefab* last = m_cache.back();
        m_cache.pop_back();
        last->Unload();
    }
    m_cache.push_front(prefab);
}

void PrefabRegistry::Forget(CPrefab* prefab) {
    m_cache.remove(prefab);
}

void PrefabRegistry::UnloadAll() {
    for (const auto& library : m_libraries) {
        for (const auto& prefab : library->Prefabs()) {
            prefab->Unload();
        }
    }
    m_cache.clear();
}
