#include "prefabs/Prefab.h"

#include "document/DocumentServices.h"
#include "document/MapFiles.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/PrefabHistoryPause.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

namespace {
// A copy of an object together with all objects below it.
CMapClass* DeepCopy(const CMapClass& object) {
    CMapClass* copy = object.Clone();
    copy->AddDeepClonesOf(object);
    copy->CalcBounds(false);
    return copy;
}

BoundBox BoundsOfChildren(const CMapClass& parent) {
    BoundBox box;
    for (const CMapClass* child : parent.Children()) {
        box.UpdateBounds(child->Bounds());
    }
    return box;
}
} // namespace

CPrefab::CPrefab() : m_registry(&DocumentServices::Installed().Prefabs()) {
    m_id = m_registry->NextPrefabId();
}

CPrefab::~CPrefab() {
    m_registry->Forget(this);
}

void CPrefab::SetName(std::string_view name) {
    m_name = std::string(name.substr(0, kMaxName));
}

void CPrefab::SetNotes(std::string_view notes) {
    m_notes = std::string(notes.substr(0, kMaxNotes));
}

bool CPrefab::EnsureLoaded() {
    if (m_map) {
        m_registry->NoteLoaded(this);
        return true;
    }
    CPrefabLibrary* library = m_registry->FindLibrary(m_libraryId);
    if (!library || !m_hasStoredData) {
        return false;
    }
    std::string data;
    if (!library->ReadPrefabData(*this, data)) {
        return false;
    }
    if (LoadMap(data, 0, library->Path() + ": " + m_name) != 0) {
        return false;
    }
    // The map is what the library file holds.
    m_hasStoredData = true;
    m_registry->NoteLoaded(this);
    return true;
}

bool CPrefab::Unload() {
    if (!m_map) {
        return true;
    }
    if (!m_hasStoredData) {
        return false;
    }
    PrefabHistoryPause pause;
    m_map.reset();
    return true;
}

void CPrefab::SetMap(std::unique_ptr<CMapWorld> map) {
    PrefabHistoryPause pause;
    m_map = std::move(map);
    // The library file holds the old map; the new one is written with the next save.
    m_hasStoredData = false;
}

namespace {
// A new world filled by read (0 on success) with its bounds computed; null when read failed.
template <class Read> std::unique_ptr<CMapWorld> ReadPrefabMap(Read read) {
    auto map = std::make_unique<CMapWorld>();
    if (read(*map) != 0) {
        return nullptr;
    }
    map->CalcBounds(false);
    return map;
}
} // namespace

int CPrefab::LoadMap(std::string_view data, int flags, const std::string& displayName) {
    PrefabHistoryPause pause;
    return TakeMap(ReadPrefabMap([&](CMapWorld& map) {
        return (flags & kMapText) ? ReadMapData(map, data, displayName)
                                  : ReadRmfData(map, data, displayName);
    }));
}

int CPrefab::LoadMapFile(const std::string& path, int flags) {
    PrefabHistoryPause pause;
    return TakeMap(ReadPrefabMap([&](CMapWorld& map) {
        return (flags & kMapText) ? ReadMapFile(map, path) : ReadRmfFile(map, path);
    }));
}

int CPrefab::TakeMap(std::unique_ptr<CMapWorld> map) {
    if (!map) {
        return -1;
    }
    m_map = std::move(map);
    m_hasStoredData = false;
    return 0;
}

int CPrefab::SaveMap(std::string& out, int flags) const {
    if (!m_map) {
        return -1;
    }
    PrefabHistoryPause pause;
    return (flags & kMapText) ? WriteMapData(*m_map, out) : WriteRmfData(*m_map, out);
}

int CPrefab::SaveMapFile(const std::string& path, int flags) const {
    if (!m_map) {
        return -1;
    }
    PrefabHistoryPause pause;
    return (flags & kMapText) ? WriteMapFile(*m_map, path) : WriteRmfFile(*m_map, path);
}

bool CPrefab::GetBounds(BoundBox& box) {
    if (!EnsureLoaded()) {
        return false;
    }
    box = BoundsOfChildren(*m_map);
    return !box.IsEmpty();
}

CMapClass* CPrefab::CreateInBox(const BoundBox& box) {
    if (!EnsureLoaded() || m_map->Children().empty() || box.IsEmpty()) {
        return nullptr;
    }
    CMapClass* object = nullptr;
    {
        PrefabHistoryPause pause;
        if (m_map->Children().size() == 1) {
            object = DeepCopy(*m_map->Children().front());
        } else {
            object = new CMapGroup;
            for (const CMapClass* child : m_map->Children()) {
                object->AddChild(DeepCopy(*child));
            }
            object->CalcBounds(false);
        }
        const BoundBox own = object->Bounds();
        if (!own.IsEmpty()) {
            const Vector ownSize = own.Size();
            const Vector boxSize = box.Size();
            Vector3d factors{1, 1, 1};
            bool scaled = false;
            for (int axis = 0; axis < 3; ++axis) {
                // A flat object keeps its thickness on that axis.
                if (ownSize[axis] > 0.0f && boxSize[axis] != ownSize[axis]) {
                    factors[axis] = double(boxSize[axis]) / double(ownSize[axis]);
                    scaled = true;
                }
            }
            if (scaled) {
                object->TransScale(own.Center(), factors);
            }
            const Vector delta = box.Center() - object->Bounds().Center();
            if (!(delta == Vector{0, 0, 0})) {
                object->TransMove(delta);
            }
        }
    }
    DocumentServices::Installed().ActiveHistory().KeepNew(object);
    return object;
}
