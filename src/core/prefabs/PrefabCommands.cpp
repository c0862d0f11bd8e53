#include "prefabs/PrefabCommands.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "mapobjects/MapWorld.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabHistoryPause.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

#include <memory>

CPrefab* CreatePrefab(CMapDoc& document, const std::string& name, const std::string& notes,
                      CPrefabLibrary& library) {
    if (document.SelectedObjects().empty()) {
        return nullptr;
    }
    auto prefab = std::make_unique<CPrefab>();
    {
        PrefabHistoryPause pause;
        auto map = std::make_unique<CMapWorld>();
        for (const CMapClass* object : document.SelectedObjects()) {
            CMapClass* copy = object->Clone();
            copy->AddDeepClonesOf(*object);
            copy->CalcBounds(false);
            map->AddChild(copy);
        }
        map->CalcBounds(false);
        prefab->SetMap(std::move(map));
    }
    prefab->SetName(name);
    prefab->SetNotes(notes);
    CPrefab* added = library.AddPrefab(std::move(prefab));
    document.Services().Prefabs().NoteLoaded(added);
    library.Save();
    document.Services().Prefabs().NotifyChanged();
    return added;
}

CMapClass* InsertPrefab(CMapDoc& document, CPrefab* prefab) {
    BoundBox box;
    if (!prefab || !prefab->GetBounds(box)) {
        return nullptr;
    }
    const Vector shift = document.GetPastePoint() - box.Center();
    box.mins = box.mins + shift;
    box.maxs = box.maxs + shift;

    CMapDoc::SetActiveMapDoc(&document);
    document.UndoHistory().MarkUndoPosition({}, "Insert Prefab");
    CMapClass* object = prefab->CreateInBox(box);
    if (!object) {
        return nullptr;
    }
    document.ToolHandlesNotify(nullptr, 3);
    CMapWorld* world = document.World();
    world->AddChild(object);
    if (document.Services().applyDefaultVisGroups) {
        document.Services().applyDefaultVisGroups(*object);
    }
    world->UpdateVisibleObjects();
    document.SelectObject(object, SELECT_CLEAR | SELECT_ADD);
    CUpdateHint hint;
    hint.objects.push_back(object);
    hint.box = object->Bounds();
    document.UpdateAllViews(UPDATE_OBJECTS, &hint);
    document.SetModified();
    return object;
}
