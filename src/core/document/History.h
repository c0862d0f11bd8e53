#pragma once

#include "common/HistoryRecorder.h"
#include "document/HistoryTrack.h"

class DocumentServices;

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An undo (or redo) history: a list of named tracks, each recording the objects a step
// touched so it can be put back. The undo and redo histories of a document are linked as
// each other's opposite; undoing a track records the opposite changes into the other one.
class CHistory : public HistoryRecorder {
public:
    enum RecordingState { Recording = 0, Suspended = 1, Disabled = 2 };

    // A history that counts its track ids and reads its settings from the installed document
    // services, or from the services given.
    explicit CHistory(RecordingState initial = Recording);
    explicit CHistory(DocumentServices& services, RecordingState initial = Recording);
    ~CHistory() override;
    CHistory(const CHistory&) = delete;
    CHistory& operator=(const CHistory&) = delete;

    // Links two histories; the undo history empties its opposite on every new step.
    static void Link(CHistory& undo, CHistory& redo);
    // Destroys both histories' tracks as when their document closes: objects the histories
    // hold as removed are freed exactly once, objects still in a tree are left to their owner.
    // Call before the document's world is destroyed.
    static void DisposeWithDocument(CHistory& undo, CHistory& redo);

    // Opens a track. A track in which nothing gets recorded changes nothing: the opposite
    // history is emptied and the oldest tracks are trimmed only when the first entry comes,
    // an empty current track gives way to the next one, and the steps before it stay
    // undoable.
    void MarkUndoPosition(const std::vector<CMapClass*>& selection, const std::string& name,
                          bool fromUndo = false);
    void Keep(CMapClass* object) override;
    void KeepParent(CMapClass* object) override;
    void KeepNew(CMapClass* object) override;
    void KeepForDestruction(CMapClass* object) override;

    // Removes the current track when nothing was recorded in it.
    void DropEmptyStep();

    // Whether there is a track with entries, and the newest such track's name.
    bool CanUndo() const;
    std::string CurrentName() const;
    // Applies the newest track with entries and returns its saved selection.
    std::vector<CMapClass*> Undo();
    // Names the state the steps of this history lead to: equal tags, equal maps (as far as
    // the recorded steps go). Undoing a step and redoing it gives its tag back.
    std::uint32_t StateTag() const;

    RecordingState State() const { return m_state; }
    void SetState(RecordingState state) { m_state = state; }
    // Suspends recording (a disabled history stays disabled); Resume undoes it.
    void Suspend();
    void Resume();

    std::size_t TrackCount() const { return m_tracks.size(); }
    CHistoryTrack* CurrentTrack() const {
        return m_tracks.empty() ? nullptr : m_tracks.back().get();
    }
    CHistory* Opposite() const { return m_opposite; }
    void DestroyAllTracks(CHistoryTrack::Disposal mode);

    // Where the memory load comes from (tests replace it).
    std::function<std::optional<int>()> memoryLoad;

private:
    // Record-stamp test: true if the object was already recorded with this kind in the track.
    static bool AlreadyRecorded(CMapClass* object, const CHistoryTrack& track,
                                CHistoryTrack::Kind kind);
    void Record(CMapClass* object, CHistoryTrack::Kind kind);
    // The newest track with entries, or none.
    const CHistoryTrack* NewestStep() const;
    // Work that a new track does once it records its first entry.
    void BeginRecordingStep();
    void WarnAboutMemoryLoad();
    void TrimToUndoLevels();

    std::list<std::unique_ptr<CHistoryTrack>> m_tracks;
    CHistory* m_opposite = nullptr;
    bool m_clearsOpposite = false;
    // The current track was opened by a new step (not by an undo) and is still empty: its
    // first entry empties the opposite history.
    bool m_clearOppositeOnFirstEntry = false;
    DocumentServices& m_services;
    RecordingState m_state;
    // The state before the oldest track (0: the map as it was opened).
    std::uint32_t m_baseTag = 0;
};

// Menu text of the Undo (isRedo false) or Redo item and whether it is enabled.
struct UndoMenuItem {
    std::string text;
    bool enabled;
};
UndoMenuItem UndoMenuText(const CHistory& history, bool isRedo);

// Suspends a history's recording for a scope (file reading and writing, clipboard copies).
class RecordingSuspender {
public:
    explicit RecordingSuspender(CHistory* history) : m_history(history) {
        if (m_history) {
            m_history->Suspend();
        }
    }
    ~RecordingSuspender() {
        if (m_history) {
            m_history->Resume();
        }
    }
    RecordingSuspender(const RecordingSuspender&) = delete;
    RecordingSuspender& operator=(const RecordingSuspender&) = delete;

private:
    CHistory* m_history;
};
