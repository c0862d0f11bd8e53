#include "common/EntityClassLookup.h"
#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "editing/VisGroups.h"
#include "gamedata/GameDataSet.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <unordered_set>
#include <vector>

namespace {

std::vector<CMapClass*> ChildrenOf(const CMapClass& object) {
    return {object.Children().begin(), object.Children().end()};
}

std::string DefaultEntityClass() {
    if (const EntityClassLookup* classes = DocumentServices::Installed().entityClasses) {
        return classes->DefaultClassName();
    }
    return DocumentServices::Installed().GameData().DefaultClass();
}

// The containers gave solids away: a group left without members goes (and so does a group
// that held only such groups); every container left behind gets its bounds recomputed.
// A group, or a brush entity, left with nothing in it: it would stay in the map with nothing
// to show or select (an entity without solids does not even compile).
bool IsEmptiedContainer(const CMapClass& object) {
    if (!object.Children().empty()) {
        return false;
    }
    return object.IsType(kTypeMapGroup) ||
           (object.IsType(kTypeMapEntity) &&
            !static_cast<const CMapEntity&>(object).IsPointEntity());
}

void RemoveEmptiedContainers(const std::vector<CMapClass*>& formerParents) {
    HistoryRecorder& history = DocumentServices::Installed().ActiveHistory();
    // Without an undo step a removed container is freed at once: it is never looked at again.
    std::unordered_set<const CMapClass*> removed;
    for (CMapClass* container : formerParents) {
        CMapClass* p = container;
        while (p && !p->IsWorld() && !removed.count(p)) {
            CMapClass* parent = p->Parent();
            if (parent && IsEmptiedContainer(*p)) {
                parent->RemoveChild(p, true);
                removed.insert(p);
                history.KeepForDestruction(p);
            } else {
                p->CalcBounds();
            }
            p = parent;
        }
    }
}

} // namespace

void OnGroup(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        doc.Services().GetPrompts().Message("No objects are selected.");
        return;
    }
    BeginUndoStep(doc, "Group");
    const std::vector<CMapClass*> members = doc.SelectedObjects();
    CMapWorld& world = *doc.World();
    auto* group = new CMapGroup;
    doc.Services().ActiveHistory().KeepNew(group);
    world.AddChild(group);
    ApplyDefaultVisGroups(*group, world);
    group->SetRenderState(RENDER_SET_COLOR, doc.Services().random.Next() % 65535u);
    for (CMapClass* member : members) {
        group->AddChild(member);
    }
    group->CalcBounds();
    world.CalcBounds();
    doc.SelectObject(nullptr, SELECT_CLEAR);
    doc.SelectObject(group, SELECT_ADD | SELECT_UPDATE);
    doc.SetModified();
}

void OnUngroup(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    const UndoStep step(doc, "Ungroup");
    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    doc.SelectObject(nullptr, SELECT_CLEAR);
    for (CMapClass* object : selection) {
        if (!object->IsType(kTypeMapGroup)) {
            doc.SelectObject(object, SELECT_ADD);
        }
    }
    HistoryRecorder& history = doc.Services().ActiveHistory();
    for (CMapClass* object : selection) {
        CMapClass* parent = object->Parent();
        if (!object->IsType(kTypeMapGroup) || !parent) {
            continue;
        }
        const VisGroupIds memberships = object->GetVisGroups();
        const std::uint32_t color = object->GetColor();
        for (CMapClass* child : ChildrenOf(*object)) {
            parent->AddChild(child);
            // The group's colour reaches the child's own children too.
            KeepWithDescendants(*child);
            child->SetVisGroups(memberships);
            child->SetRenderState(RENDER_SET_COLOR, color);
            child->SetShown(true);
            doc.SelectObject(child, SELECT_ADD);
        }
        parent->RemoveChild(object, true);
        history.KeepForDestruction(object);
    }
    doc.World()->CalcBounds();
    ClearObjectProperties();
    doc.SelectObject(nullptr, SELECT_UPDATE);
    if (step.Changed()) {
        doc.SetModified();
    }
}

void OnTieToEntity(CMapDoc& doc) {
    std::vector<CMapSolid*> solids;
    CMapEntity* candidate = nullptr;
    for (CMapClass* object : doc.SelectedObjects()) {
        if (object->IsType(kTypeMapSolid)) {
            solids.push_back(static_cast<CMapSolid*>(object));
        } else if (object->IsType(kTypeMapGroup)) {
            EnumChildren(
                *object,
                [&solids](CMapClass* solid) {
                    solids.push_back(static_cast<CMapSolid*>(solid));
                    return true;
                },
                kTypeMapSolid);
        } else if (object->IsType(kTypeMapEntity)) {
            auto* entity = static_cast<CMapEntity*>(object);
            candidate = entity->IsPointEntity() ? nullptr : entity;
        }
    }
    Prompts& prompts = doc.Services().GetPrompts();
    if (solids.empty()) {
        prompts.Message("There are no eligible selected objects.");
        return;
    }
    if (candidate) {
        const std::string question =
            "You have selected an existing entity (a '" + candidate->ClassName() +
            "'.)\nWould you like to add the selected solids to the existing entity?\nIf you "
            "select 'No', a new entity will be created.";
        if (prompts.YesNo(question) != Prompts::Answer::Yes) {
            candidate = nullptr;
        }
    }

    BeginUndoStep(doc, "toEntity");
    CMapWorld& world = *doc.World();
    CMapEntity* entity = candidate;
    const bool created = entity == nullptr;
    if (created) {
        entity = new CMapEntity;
        doc.Services().ActiveHistory().KeepNew(entity);
        entity->SetClass(DefaultEntityClass());
    }
    std::vector<CMapClass*> formerParents;
    for (CMapSolid* solid : solids) {
        if (solid->Parent() && solid->Parent() != entity) {
            formerParents.push_back(solid->Parent());
        }
        entity->AddChild(solid);
    }
    RemoveEmptiedContainers(formerParents);
    if (created) {
        world.AddChild(entity);
        ApplyDefaultVisGroups(*entity, world);
    }
    entity->CalcBounds();
    world.CalcBounds();

    doc.SetModified();
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    doc.SelectObject(entity, SELECT_ADD);
    CUpdateHint hint = SelectionHint(doc);
    SwitchToSelectionTool();
    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_2D_ONLY, &hint);
    if (created) {
        if (ObjectPropertiesSink* props = doc.Services().objectProperties) {
            props->ShowAndActivate();
        }
    }
    // The status bar and the object properties describe the entity, new or not.
    doc.SelectObject(nullptr, SELECT_UPDATE);
}

void OnMoveToWorld(CMapDoc& doc) {
    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    if (selection.empty()) {
        return;
    }
    const UndoStep step(doc, "toWorld");
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    CMapWorld& world = *doc.World();
    HistoryRecorder& history = doc.Services().ActiveHistory();
    for (CMapClass* object : selection) {
        if (!object->IsType(kTypeMapEntity) || static_cast<CMapEntity*>(object)->IsPointEntity()) {
            continue;
        }
        const VisGroupIds memberships = object->OwnVisGroups();
        for (CMapClass* solid : ChildrenOf(*object)) {
            world.AddChild(solid);
            KeepWithDescendants(*solid);
            solid->SetVisGroups(memberships);
            solid->SetShown(true);
            doc.SelectObject(solid, SELECT_ADD);
        }
        if (CMapClass* parent = object->Parent()) {
            parent->RemoveChild(object, true);
        }
        history.KeepForDestruction(object);
    }
    world.CalcBounds();
    ClearObjectProperties();
    CUpdateHint hint = SelectionHint(doc);
    SwitchToSelectionTool();
    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_2D_ONLY, &hint);
    if (step.Changed()) {
        doc.SetModified();
    }
    // The status bar and the object properties describe the solids now selected.
    doc.SelectObject(nullptr, SELECT_UPDATE);
}
