#pragma once

#include "common/HistoryRecorder.h"
#include "document/UpdateHint.h"

#include <string>

class CHistoryTrack;
class CMapClass;
class CMapDoc;

// Steps the editing commands share.

// Writes an edit the object properties hold and have not applied yet (its own undo step).
void ApplyPendingProperties();

// Makes the document the active one (so its undo history records what the objects do) and
// opens an undo step with the document's selection; an edit pending in the object
// properties is applied first.
void BeginUndoStep(CMapDoc& doc, const std::string& name);

// An undo step for the length of a command: opened like BeginUndoStep, and dropped again at
// the end when the command recorded nothing, so that a command that changes nothing leaves
// the history as it was.
class UndoStep {
public:
    UndoStep(CMapDoc& doc, const std::string& name);
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    // True once the step recorded a change (and whenever the history cannot tell, so a real
    // change is never left unmarked): a command marks the map modified only then.
    bool Changed() const;

private:
    CMapDoc& m_doc;
    const CHistoryTrack* m_track = nullptr;
};

// Records the object and every object below it as changed: a colour given to a container
// reaches its children, which must come back with it on undo.
void KeepWithDescendants(CMapClass& object);

// True when object is root or lies below it.
bool IsInTree(const CMapClass* object, const CMapClass* root);

// Hint with the document's selection list and box.
CUpdateHint SelectionHint(const CMapDoc& doc);

// Makes the Selection Tool current in every document (through the main window).
void SwitchToSelectionTool();

// Tells the object properties window that its objects are gone.
void ClearObjectProperties();

// Keeps the active history from recording for a scope: for changes to objects that are new
// in the running step (undo destroys them anyway) or that never enter a map.
class RecordingPause {
public:
    RecordingPause();
    ~RecordingPause();
    RecordingPause(const RecordingPause&) = delete;
    RecordingPause& operator=(const RecordingPause&) = delete;

private:
    HistoryRecorder* m_previous;
    DisabledHistoryRecorder m_none;
};
