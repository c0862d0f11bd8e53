#pragma once

#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapDialect.h"
#include "mapobjects/VisGroup.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The root of a map's tree. It is itself the "worldspawn" entity, owns every top-level
// object, the map's visgroup table and the list of currently visible objects. Each world
// carries the map services it was made with and takes a free world index from them.
class CMapWorld : public CMapClass, public CEditGameClass {
public:
    static constexpr std::uint8_t kNoVisGroupIndex = 255;
    static constexpr int kUseStoredFilter = -1;

    // A world with the installed map services, or with the services given.
    CMapWorld();
    explicit CMapWorld(MapServices& services);
    ~CMapWorld() override;

    // Visgroups, in creation order.
    const std::vector<VisGroup>& VisGroups() const { return m_visGroupTable; }
    int VisGroupCount() const { return static_cast<int>(m_visGroupTable.size()); }
    VisGroup& VisGroupAt(int index) { return m_visGroupTable[static_cast<std::size_t>(index)]; }
    // Appends a group and enters its id in the id index.
    void AddVisGroup(const VisGroup& group);
    // Replaces the whole table and rebuilds the id index.
    void ReplaceVisGroups(std::vector<VisGroup> groups);
    // The group with this id and its index in the table; null (index -1) when there is none.
    VisGroup* FindVisGroup(std::uint8_t id, int* index = nullptr);
    const VisGroup* FindVisGroup(std::uint8_t id, int* index = nullptr) const;
    // Rebuilds the id index from the table (after the table was edited in place).
    void RebuildVisGroupIndex();

    // Region filter records; none unless a caller adds them.
    std::vector<FilterRecord>& FilterRecords() { return m_filterRecords; }
    const std::vector<FilterRecord>& FilterRecords() const { return m_filterRecords; }
    std::uint32_t DisplayFilterFlags() const { return m_filterFlags; }

    // Lists every solid, then every entity, that passes the visibility test, in tree
    // pre-order. flags -1 uses the stored display filter flags; any other value is stored
    // first.
    void UpdateVisibleObjects(int flags = kUseStoredFilter);
    const std::vector<CMapClass*>& VisibleObjects() const { return m_visibleObjects; }

    // Switches textures in the 3D view on or off for every solid that is shown there.
    void ShowTextures(bool on);

    // Subtracts the carver's solids from the target's solids (document/Carve.cpp): targets
    // that overlap are replaced by their pieces outside the carving solids. The pieces stay
    // with the parent of the solid they were cut from: an entity gets them as its own
    // solids, the world or a group one new group of them (or the single piece). Returns the
    // first object attached, or null when nothing was carved.
    CMapClass* Carve(CMapClass* carver, CMapClass* target);

    // The object that stands for the visgroup table in the undo history (made and used by
    // the visgroup commands, document/VisGroups.cpp); owned by the world.
    std::unique_ptr<CMapClass>& VisGroupTableRecord() { return m_visGroupTableRecord; }

    // The dialect the map was read in, which exports write unless told otherwise.
    MapDialect Dialect() const { return m_dialect; }
    void SetDialect(MapDialect dialect) { m_dialect = dialect; }

    bool IsWorld() const override { return true; }
    bool TexturesShown() const override { return m_texturesShown; }
    bool FindVisGroupColor(std::uint8_t id, std::uint32_t& color) const override;
    const char* GetType() const override { return kTypeMapWorld; }
    MapServices* OwnServices() const override { return m_services; }
    // A world copies only the keyvalues of another: its clone is an empty world with them.
    void CopyFrom(const CMapClass& other) override;
    CMapClass* Clone() const override;

private:
    // The services the world was made with; its objects reach them through it.
    MapServices* m_services;
    bool m_holdsWorldIndex = false;
    std::vector<FilterRecord> m_filterRecords;
    std::vector<VisGroup> m_visGroupTable;
    std::array<std::uint8_t, 256> m_visGroupIndex;
    std::vector<CMapClass*> m_visibleObjects;
    std::uint32_t m_filterFlags = 0;
    bool m_texturesShown = false;
    MapDialect m_dialect = MapDialect::Standard;
    std::unique_ptr<CMapClass> m_visGroupTableRecord;
};
