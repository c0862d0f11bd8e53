#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapWorld.h"

#include <vector>

void OnEditDelete(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    BeginUndoStep(doc, "Delete");
    const std::vector<CMapClass*> victims = doc.SelectedObjects();
    // Emptying the selection first also erases the tool handles.
    doc.SelectObject(nullptr, SELECT_CLEAR);
    HistoryRecorder& history = doc.Services().ActiveHistory();
    for (CMapClass* object : victims) {
        if (CMapClass* parent = object->Parent()) {
            parent->RemoveChild(object, true);
        }
        history.KeepForDestruction(object);
    }
    doc.World()->UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_OBJECTS);
    doc.SetModified();
    ClearObjectProperties();
    doc.UpdateStatusText();
}

void OnEditCopy(CMapDoc& doc) {
    // Copying nothing would only throw away what the clipboard holds.
    if (doc.SelectedObjects().empty()) {
        return;
    }
    doc.Services().GetClipboard().Store(doc.SelectedObjects(), doc.Selection().Bounds());
}

void OnEditCut(CMapDoc& doc) {
    OnEditCopy(doc);
    OnEditDelete(doc);
}

void OnEditPaste(CMapDoc& doc) {
    const Clipboard& clipboard = doc.Services().GetClipboard();
    if (clipboard.IsEmpty()) {
        return;
    }
    BeginUndoStep(doc, "Paste");
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    const Vector point = doc.GetPastePoint();
    CMapWorld& world = *doc.World();
    for (std::size_t i = 0; i < clipboard.Count(); ++i) {
        CMapClass* copy = clipboard.MakeCopy(i);
        {
            // The copy is new in this step: undo destroys it, so its move needs no record.
            RecordingPause pause;
            copy->TransMove(point);
        }
        world.AddChild(copy);
        doc.SelectObject(copy, SELECT_ADD);
    }
    ShowPastedObjects(doc);
}

void ShowPastedObjects(CMapDoc& doc) {
    CUpdateHint hint = SelectionHint(doc);
    SwitchToSelectionTool();
    doc.World()->UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS, &hint);
    doc.SetModified();
    // The status bar and the object properties describe the pasted objects.
    doc.SelectObject(nullptr, SELECT_UPDATE);
}
