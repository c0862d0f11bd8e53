#pragma once

#include "geometry/BoundBox.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CMapClass;
class CMapWorld;
class PrefabRegistry;

// A named, reusable piece of map kept in a prefab library. Its map is loaded from the library
// file only when it is needed and can be unloaded again; while it is loaded the prefab owns it.
class CPrefab {
public:
    // The library value of a prefab that belongs to no library.
    static constexpr std::uint32_t kNoLibrary = 0xFFFF;
    static constexpr std::size_t kMaxName = 30;
    static constexpr std::size_t kMaxNotes = 500;
    // The one kind of prefab there is (map data), as the library directory stores it.
    static constexpr std::int32_t kKindMap = 0;
    // Flag of LoadMap and SaveMap: set for Quake MAP text, clear for RMF.
    static constexpr int kMapText = 1;

    // A prefab without a map, with the next identifier of the editor's prefabs.
    CPrefab();
    ~CPrefab();
    CPrefab(const CPrefab&) = delete;
    CPrefab& operator=(const CPrefab&) = delete;

    std::uint32_t Id() const { return m_id; }
    const std::string& Name() const { return m_name; }
    // Keeps at most 30 characters.
    void SetName(std::string_view name);
    const std::string& Notes() const { return m_notes; }
    // Keeps at most 500 characters.
    void SetNotes(std::string_view notes);
    std::uint32_t LibraryId() const { return m_libraryId; }
    std::int32_t Kind() const { return kKindMap; }

    // Where the prefab's data lies in its library's file; only meaningful while HasStoredData.
    std::uint32_t Offset() const { return m_offset; }
    std::uint32_t Size() const { return m_size; }
    bool HasStoredData() const { return m_hasStoredData; }

    bool IsLoaded() const { return m_map != nullptr; }
    CMapWorld* Map() const { return m_map.get(); }
    // Loads the map from the library when it is not loaded (and tells the load cache). False
    // when it cannot be read; the user has been told why when the data was unreadable.
    bool EnsureLoaded();
    // Drops the map. A map that exists nowhere else (new, or changed since the library was
    // last written) is kept; false then.
    bool Unload();
    // Takes a map as the prefab's own: it replaces the old one and is saved with the library.
    void SetMap(std::unique_ptr<CMapWorld> map);

    // Fills the map from data (RMF, or MAP text with kMapText); 0, or -1 after telling the user.
    int LoadMap(std::string_view data, int flags, const std::string& displayName);
    // The same from a file.
    int LoadMapFile(const std::string& path, int flags);
    // Writes the loaded map; -1 when the map is not loaded or writing fails.
    int SaveMap(std::string& out, int flags) const;
    int SaveMapFile(const std::string& path, int flags) const;

    // The box around the objects of the prefab's map (loading it first); false when the map
    // cannot be loaded or holds no object.
    bool GetBounds(BoundBox& box);

    // A new object made from the prefab's map and fitted into box: a copy of the one object
    // the map holds, or a new group of copies of all of them, scaled about its centre to the
    // box's size and moved to the box's centre. It is recorded in the active history as a new
    // object and belongs to the caller. Null when the map cannot be loaded or is empty.
    CMapClass* CreateInBox(const BoundBox& box);

private:
    // Makes map the prefab's map and returns 0; a null map (a failed read) returns -1.
    int TakeMap(std::unique_ptr<CMapWorld> map);
    friend class CPrefabLibrary;

    std::uint32_t m_id;
    std::string m_name;
    std::string m_notes;
    std::uint32_t m_libraryId = kNoLibrary;
    std::uint32_t m_offset = 0;
    std::uint32_t m_size = 0;
    bool m_hasStoredData = false;
    std::unique_ptr<CMapWorld> m_map;
    PrefabRegistry* m_registry;
};
