#include "document/CommandSupport.h"

#include "common/ToolId.h"
#include "document/DocumentServices.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/TreeWalk.h"

namespace {
void ApplyPendingProperties(const DocumentServices& services) {
    if (ObjectPropertiesSink* sheet = services.objectProperties) {
        sheet->ApplyPending();
    }
}
} // namespace

void ApplyPendingProperties() {
    ApplyPendingProperties(DocumentServices::Installed());
}

void BeginUndoStep(CMapDoc& doc, const std::string& name) {
    // An edit waiting in the object properties is a step of its own, before this one.
    ApplyPendingProperties(doc.Services());
    CMapDoc::SetActiveMapDoc(&doc);
    doc.UndoHistory().MarkUndoPosition(doc.SelectedObjects(), name);
}

UndoStep::UndoStep(CMapDoc& doc, const std::string& name) : m_doc(doc) {
    ApplyPendingProperties(doc.Services());
    const std::size_t tracks = doc.UndoHistory().TrackCount();
    BeginUndoStep(doc, name);
    if (doc.UndoHistory().TrackCount() > tracks) {
        m_track = doc.UndoHistory().CurrentTrack();
    }
}

bool UndoStep::Changed() const {
    return !m_track || m_doc.UndoHistory().CurrentTrack() != m_track || !m_track->Entries().empty();
}

UndoStep::~UndoStep() {
    m_doc.UndoHistory().DropEmptyStep();
}

void KeepWithDescendants(CMapClass& object) {
    HistoryRecorder& history = object.Services().ActiveHistory();
    history.Keep(&object);
    EnumChildren(object, [&history](CMapClass* child) {
        history.Keep(child);
        return true;
    });
}

bool IsInTree(const CMapClass* object, const CMapClass* root) {
    for (const CMapClass* o = object; o; o = o->Parent()) {
        if (o == root) {
            return true;
        }
    }
    return false;
}

CUpdateHint SelectionHint(const CMapDoc& doc) {
    CUpdateHint hint;
    hint.objects = doc.SelectedObjects();
    hint.box = doc.Selection().Bounds();
    return hint;
}

void SwitchToSelectionTool() {
    if (MainFrameSink* frame = DocumentServices::Installed().mainFrame) {
        frame->SetCurrentTool(TOOL_SELECTION);
    }
}

void ClearObjectProperties() {
    if (ObjectPropertiesSink* props = DocumentServices::Installed().objectProperties) {
        props->ClearObjects();
    }
}

RecordingPause::RecordingPause() : m_previous(DocumentServices::Installed().activeHistory) {
    DocumentServices::Installed().activeHistory = &m_none;
}

RecordingPause::~RecordingPause() {
    DocumentServices::Installed().activeHistory = m_previous;
}
