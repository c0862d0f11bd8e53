#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <vector>

void OnApplyCurrentTexture(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    const UndoStep step(doc, "Apply Texture");
    const std::string texture = doc.Services().currentTexture;
    for (CMapClass* object : doc.SelectedObjects()) {
        if (object->IsType(kTypeMapSolid)) {
            static_cast<CMapSolid*>(object)->SetTexture(texture);
        }
        EnumChildren(
            *object,
            [&texture](CMapClass* solid) {
                static_cast<CMapSolid*>(solid)->SetTexture(texture);
                return true;
            },
            kTypeMapSolid);
    }
    if (doc.World()->TexturesShown() && doc.Has3DView()) {
        doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_3D_ONLY);
    }
    if (step.Changed()) {
        doc.SetModified();
    }
}

void OnHideSelected(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    for (CMapClass* object : doc.SelectedObjects()) {
        object->SetShown(false);
    }
    CUpdateHint hint = SelectionHint(doc);
    doc.SelectObject(nullptr, SELECT_CLEAR);
    doc.World()->UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS | UPDATE_2D_ONLY, &hint);
    doc.UpdateAllViews(UPDATE_OBJECTS | UPDATE_3D_ONLY);
    doc.UpdateStatusText();
}

void OnShowHidden(CMapDoc& doc) {
    CUpdateHint hint;
    for (CMapClass* object : doc.World()->Children()) {
        if (!object->IsShown()) {
            object->SetShown(true);
            hint.objects.push_back(object);
            hint.box.UpdateBounds(object->Bounds());
        }
    }
    if (hint.objects.empty()) {
        doc.Services().GetPrompts().Message("There are no temporarily hidden objects.");
        return;
    }
    doc.SelectObject(nullptr, SELECT_CLEAR);
    doc.World()->UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS | UPDATE_2D_ONLY, &hint);
    doc.UpdateAllViews(UPDATE_OBJECTS | UPDATE_3D_ONLY);
    doc.UpdateStatusText();
}
