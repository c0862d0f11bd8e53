#pragma once

#include "common/HistoryRecorder.h"
#include "document/DocumentServices.h"

// Suspends recording in the active history for a scope: prefab maps are built, loaded and
// copied outside the undo steps of any document. Whatever history is active, nothing it would
// record during the scope reaches it.
class PrefabHistoryPause {
public:
    PrefabHistoryPause() : m_saved(DocumentServices::Installed().activeHistory) {
        DocumentServices::Installed().activeHistory = &m_quiet;
    }
    ~PrefabHistoryPause() { DocumentServices::Installed().activeHistory = m_saved; }
    PrefabHistoryPause(const PrefabHistoryPause&) = delete;
    PrefabHistoryPause& operator=(const PrefabHistoryPause&) = delete;

private:
    // Records nothing; an object handed over for destruction has no other owner and goes.
    DisabledHistoryRecorder m_quiet;
    HistoryRecorder* m_saved;
};
