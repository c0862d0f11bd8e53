#include "prefabs/PrefabDocument.h"

#include "document/DocumentServices.h"
#include "document/History.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "document/PrefabLink.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabHistoryPause.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

#include <cstdio>
#include <memory>

namespace {
const char* const kPrefabLibraryGone =
    "The library this prefab object belongs to has been\ndeleted. This document will now "
    "behave as a regular file\ndocument.";

// A prefab of a loaded library, found again by ids when the document is saved (the library
// may have been unloaded or the prefab deleted meanwhile).
class LibraryPrefabLink : public PrefabLink {
public:
    LibraryPrefabLink(std::uint32_t libraryId, std::uint32_t prefabId)
        : m_libraryId(libraryId), m_prefabId(prefabId) {}

    std::uint32_t LibraryId() const override { return m_libraryId; }
    std::uint32_t PrefabId() const override { return m_prefabId; }

    bool Store(CMapDoc& document, std::string& orphanName) override {
        PrefabRegistry& registry = document.Services().Prefabs();
        CPrefabLibrary* library = registry.FindLibrary(m_libraryId);
        if (!library) {
            document.Services().GetPrompts().Message(kPrefabLibraryGone, Prompts::Icon::Warning);
            char name[32];
            std::snprintf(name, sizeof name, "Prefab%d.rmf", registry.NextOrphanDocumentNumber());
            orphanName = name;
            return false;
        }
        // The prefab gets its own copy of the map (through its RMF form, so the world's keys
        // and visgroups go along); the document keeps editing until it closes.
        std::string data;
        auto map = std::make_unique<CMapWorld>();
        int result;
        {
            RecordingSuspender suspend(&document.UndoHistory());
            PrefabHistoryPause pause;
            result = WriteRmfData(*document.World(), data);
            if (result == 0) {
                result = ReadRmfData(*map, data, document.Path());
                map->CalcBounds(false);
            }
        }
        if (result != 0) {
            document.Services().GetPrompts().Message("There was a file error.",
                                                     Prompts::Icon::Warning);
            return false;
        }
        CPrefab* prefab = library->FindPrefab(m_prefabId);
        if (!prefab) {
            auto created = std::make_unique<CPrefab>();
            created->SetName(document.Path());
            prefab = library->AddPrefab(std::move(created));
            m_prefabId = prefab->Id();
        }
        prefab->SetMap(std::move(map));
        registry.NoteLoaded(prefab);
        const bool saved = library->Save() == 0;
        registry.NotifyChanged();
        return saved;
    }

private:
    std::uint32_t m_libraryId;
    std::uint32_t m_prefabId;
};
} // namespace

bool OpenPrefabDocument(CMapDoc& document, CPrefab& prefab) {
    if (!prefab.EnsureLoaded()) {
        return false;
    }
    document.BeginPrefabDocument(
        std::make_unique<LibraryPrefabLink>(prefab.LibraryId(), prefab.Id()), prefab.Name());
    {
        PrefabHistoryPause pause;
        document.World()->AddDeepClonesOf(*prefab.Map());
        document.World()->UpdateVisibleObjects();
    }
    document.SetModified(false);
    CMapDoc::SetActiveMapDoc(&document);
    document.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
    return true;
}
