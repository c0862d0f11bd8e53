#include "properties/PropertiesApply.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "properties/ClassInfoState.h"
#include "properties/SpawnFlagsState.h"
#include "properties/VisGroupRows.h"

#include <optional>

namespace {
const char* const kUndoName = "Properties";

bool SameGameClassData(const CEditGameClass& a, const CEditGameClass& b) {
    return a.ClassName() == b.ClassName() && a.Angle() == b.Angle() &&
           a.SpawnFlags() == b.SpawnFlags() && SameKeyValues(a, b);
}

void WriteGameClassPages(const PropertyPages& pages, CEditGameClass& holder) {
    if (pages.classInfo) {
        pages.classInfo->Write(holder);
    }
    if (pages.flags) {
        pages.flags->Write(holder);
    }
}

// What the pages would make of one object, worked out without touching it.
struct PlannedChange {
    CMapClass* object = nullptr;
    bool gameClassChanges = false;
    CEditGameClass gameClass;
    bool visGroupsChange = false;
    VisGroupIds visGroups{};
};

bool Plan(CMapClass* object, const PropertyPages& pages, PlannedChange& change) {
    change.object = object;
    if (CEditGameClass* holder = GameClassPart(object);
        holder && (pages.classInfo || pages.flags)) {
        change.gameClass.CopyGameClassFrom(*holder);
        WriteGameClassPages(pages, change.gameClass);
        change.gameClassChanges = !SameGameClassData(change.gameClass, *holder);
    }
    if (pages.visGroups) {
        change.visGroups = pages.visGroups->Write(object->OwnVisGroups());
        change.visGroupsChange = change.visGroups != object->OwnVisGroups();
    }
    return change.gameClassChanges || change.visGroupsChange;
}
} // namespace

bool SameKeyValues(const CEditGameClass& a, const CEditGameClass& b) {
    if (a.KeyValueCount() != b.KeyValueCount()) {
        return false;
    }
    for (int i = 0; i < a.KeyValueCount(); ++i) {
        const auto& left = a.KeyValues()[static_cast<std::size_t>(i)];
        const auto& right = b.KeyValues()[static_cast<std::size_t>(i)];
        if (left.key != right.key || left.value != right.value) {
            return false;
        }
    }
    return true;
}

SelectionKind SelectionKindOf(const std::vector<CMapClass*>& objects) {
    if (objects.empty()) {
        return SelectionKind::Nothing;
    }
    if (objects.size() > 1) {
        return SelectionKind::Several;
    }
    if (objects.front()->IsWorld()) {
        return SelectionKind::World;
    }
    if (objects.front()->IsType(kTypeMapEntity)) {
        return SelectionKind::Entity;
    }
    return SelectionKind::SolidOrGroup;
}

std::vector<PropertyPage> PagesFor(SelectionKind kind) {
    switch (kind) {
    case SelectionKind::Nothing:
        return {PropertyPage::NoProperties};
    case SelectionKind::Entity:
        return {PropertyPage::ClassInfo, PropertyPage::Flags, PropertyPage::VisGroups};
    case SelectionKind::World:
        return {PropertyPage::ClassInfo};
    case SelectionKind::SolidOrGroup:
    case SelectionKind::Several:
        break;
    }
    return {PropertyPage::VisGroups};
}

CEditGameClass* GameClassPart(CMapClass* object) {
    if (!object) {
        return nullptr;
    }
    if (object->IsWorld()) {
        return static_cast<CMapWorld*>(object);
    }
    if (object->IsType(kTypeMapEntity)) {
        return static_cast<CMapEntity*>(object);
    }
    return nullptr;
}

int ApplyObjectProperties(CMapDoc& doc, const std::vector<CMapClass*>& objects,
                          const PropertyPages& pages, bool asUndoStep) {
    std::vector<PlannedChange> changes;
    for (CMapClass* object : objects) {
        PlannedChange change;
        if (Plan(object, pages, change)) {
            changes.push_back(std::move(change));
        }
    }
    if (changes.empty()) {
        return 0;
    }
    std::optional<RecordingPause> pause;
    if (asUndoStep) {
        BeginUndoStep(doc, kUndoName);
    } else {
        pause.emplace();
    }
    HistoryRecorder& history = doc.Services().ActiveHistory();
    CUpdateHint hint;
    for (PlannedChange& change : changes) {
        CMapClass* object = change.object;
        if (change.gameClassChanges) {
            history.Keep(object);
            WriteGameClassPages(pages, *GameClassPart(object));
        }
        if (change.visGroupsChange) {
            KeepWithDescendants(*object);
            object->SetVisGroups(change.visGroups);
        }
        hint.objects.push_back(object);
        hint.box.UpdateBounds(object->Bounds());
    }
    doc.SetModified();
    doc.UpdateAllViews(UPDATE_OBJECTS, &hint);
    return static_cast<int>(changes.size());
}
