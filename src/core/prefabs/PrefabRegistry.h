#pragma once

#include "document/ServicesPart.h"
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class CPrefab;
class CPrefabLibrary;

// The editor-wide state of the prefab libraries: every loaded library in load order, the
// identifier counters, the load cache of recently loaded prefab maps and the prefab folder.
// It is a part of the document services (DocumentServices::Prefabs()).
class PrefabRegistry : public ServicesPart {
public:
    // How many prefab maps the load cache keeps loaded.
    static constexpr std::size_t kDefaultCacheSize = 16;
    static constexpr const char* kDefaultLibraryFile = "unreg.ol";

    PrefabRegistry();
    ~PrefabRegistry();
    PrefabRegistry(const PrefabRegistry&) = delete;
    PrefabRegistry& operator=(const PrefabRegistry&) = delete;

    // Library identifiers skip 0xFFFF, the library value of a prefab that has none.
    std::uint32_t NextLibraryId() {
        if (m_nextLibraryId == 0xFFFF) {
            ++m_nextLibraryId;
        }
        return m_nextLibraryId++;
    }
    std::uint32_t NextPrefabId() { return m_nextPrefabId++; }

    // --- libraries ---
    const std::vector<std::unique_ptr<CPrefabLibrary>>& Libraries() const { return m_libraries; }
    CPrefabLibrary* AddLibrary(std::unique_ptr<CPrefabLibrary> library);
    CPrefabLibrary* FindLibrary(std::uint32_t id) const;
    // The loaded library whose file is path, if any.
    CPrefabLibrary* FindLibraryByPath(const std::string& path) const;
    // Destroys a library and its prefabs (the file is left alone).
    bool DestroyLibrary(std::uint32_t id);
    // Reads a library file and adds it: null when it is not a library.
    CPrefabLibrary* LoadLibrary(const std::string& path);
    // The prefab with this identifier in any loaded library.
    CPrefab* FindPrefab(std::uint32_t id) const;

    // The default library, "unreg.ol" in the prefab folder: loaded and added unless a library
    // of that file is loaded already (then that one is returned). When the file does not
    // exist yet an empty library of that name and path is added; it is written when first
    // saved. Null only when the file exists but is not a library.
    CPrefabLibrary* LoadDefaultLibrary();

    // The folder of the prefab libraries, created when first asked for: the program folder
    // plus "/prefabs" when a file can be written there, else the user's data folder
    // ($XDG_DATA_HOME, by default ~/.local/share) plus "/Brickhaven/prefabs".
    const std::string& PrefabDirectory();
    // Forgets the folder chosen, so the next call decides again.
    void ResetPrefabDirectory() { m_directory.clear(); }

    // --- load cache ---
    // Called when a prefab's map was loaded: while the cache is on, the prefab moves to the
    // front; one that was not in the cache first unloads the prefab at its end when full.
    void NoteLoaded(CPrefab* prefab);
    // Takes a prefab out of the cache (it is going away).
    void Forget(CPrefab* prefab);
    bool CacheEnabled() const { return m_cacheEnabled; }
    void SetCacheEnabled(bool on) { m_cacheEnabled = on; }
    const std::list<CPrefab*>& Cache() const { return m_cache; }
    std::size_t cacheSize = kDefaultCacheSize;

    // Unloads the maps of all prefabs of all libraries (maps that exist nowhere else stay).
    void UnloadAll();

    // Told after prefabs or libraries were created, so the object bar can refill its lists.
    std::function<void()> librariesChanged;
    void NotifyChanged() const {
        if (librariesChanged) {
            librariesChanged();
        }
    }

    // Numbers prefab documents that lost their library ("Prefab%d.rmf").
    int NextOrphanDocumentNumber() { return ++m_orphanDocuments; }

private:
    std::vector<std::unique_ptr<CPrefabLibrary>> m_libraries;
    std::list<CPrefab*> m_cache;
    bool m_cacheEnabled = true;
    std::uint32_t m_nextLibraryId = 1;
    std::uint32_t m_nextPrefabId = 1;
    std::string m_directory;
    int m_orphanDocuments = 0;
};
