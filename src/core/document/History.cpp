#include "document/History.h"

#include "document/DocumentServices.h"
#include "mapobjects/MapClass.h"
#include "platform/MemoryLoad.h"

#include <algorithm>
#include <unordered_set>

namespace {
constexpr std::uint32_t kTrackIdMask = 0x0FFFFFFFu;
constexpr int kEntryOverhead = 24;
constexpr int kParentEntrySize = 28;

std::uint32_t NextTrackId(DocumentServices& services) {
    std::uint32_t& next = services.nextTrackId;
    std::uint32_t id = next & kTrackIdMask;
    if (id == 0) {
        id = 1;
    }
    next = (id + 1) & kTrackIdMask;
    return id;
}
} // namespace

CHistory::CHistory(RecordingState initial) : CHistory(DocumentServices::Installed(), initial) {}

CHistory::CHistory(DocumentServices& services, RecordingState initial)
    : memoryLoad(MemoryLoadPercent), m_services(services), m_state(initial) {}

CHistory::~CHistory() {
    if (m_opposite && m_opposite->m_opposite == this) {
        m_opposite->m_opposite = nullptr;
    }
    DestroyAllTracks(CHistoryTrack::WithDocument);
}

void CHistory::Link(CHistory& undo, CHistory& redo) {
    undo.m_opposite = &redo;
    redo.m_opposite = &undo;
    undo.m_clearsOpposite = true;
    redo.m_clearsOpposite = false;
}

void CHistory::DisposeWithDocument(CHistory& undo, CHistory& redo) {
    // Objects held as removed are out of the map. Free the ones at the top of their own
    // detached trees; anything still attached to a parent belongs to that parent's owner.
    // Every parent is read before anything is freed.
    std::vector<CMapClass*> roots;
    std::unordered_set<CMapClass*> seen;
    for (CHistory* history : {&undo, &redo}) {
        for (auto& track : history->m_tracks) {
            for (auto& entry : track->Entries()) {
                if (entry.kind != CHistoryTrack::Removed || !entry.object) {
                    continue;
                }
                if (seen.insert(entry.object).second && entry.object->Parent() == nullptr) {
                    roots.push_back(entry.object);
                }
                entry.object = nullptr;
            }
        }
    }
    undo.DestroyAllTracks(CHistoryTrack::WithDocument);
    redo.DestroyAllTracks(CHistoryTrack::WithDocument);
    for (CMapClass* root : roots) {
        if (undo.m_services.objectGoingAway) {
            undo.m_services.objectGoingAway(root);
        }
        delete root;
    }
}

void CHistory::DestroyAllTracks(CHistoryTrack::Disposal mode) {
    // The map stays as the steps left it.
    m_baseTag = StateTag();
    while (!m_tracks.empty()) {
        std::unique_ptr<CHistoryTrack> track = std::move(m_tracks.front());
        m_tracks.pop_front();
        track->SetDisposal(mode);
    }
}

void CHistory::Suspend() {
    if (m_state == Recording) {
        m_state = Suspended;
    }
}

void CHistory::Resume() {
    if (m_state == Suspended) {
        m_state = Recording;
    }
}

bool CHistory::AlreadyRecorded(CMapClass* object, const CHistoryTrack& track,
                               CHistoryTrack::Kind kind) {
    std::uint32_t& stamp = object->RecordStamp();
    if ((stamp & kTrackIdMask) == track.Id()) {
        if (stamp & (static_cast<std::uint32_t>(kind) << 28)) {
            return true;
        }
        stamp |= static_cast<std::uint32_t>(kind) << 28;
        return false;
    }
    stamp = track.Id() | (static_cast<std::uint32_t>(kind) << 28);
    return false;
}

void CHistory::Record(CMapClass* object, CHistoryTrack::Kind kind) {
    if (!object) {
        return;
    }
    CHistoryTrack* track = CurrentTrack();
    if (m_state != Recording || !track) {
        // Not undoable. An object handed over for destruction has no other owner left.
        if (kind == CHistoryTrack::Removed) {
            if (m_services.objectGoingAway) {
                m_services.objectGoingAway(object);
            }
            delete object;
        }
        return;
    }
    bool recorded = AlreadyRecorded(object, *track, kind);
    if (recorded && kind != CHistoryTrack::Created) {
        return;
    }
    if (track->Entries().empty()) {
        BeginRecordingStep();
    }
    if (kind == CHistoryTrack::Removed && m_services.objectGoingAway) {
        m_services.objectGoingAway(object);
    }
    Suspend();
    CHistoryTrack::Entry entry;
    entry.object = object;
    entry.kind = kind;
    switch (kind) {
    case CHistoryTrack::Changed:
        entry.copyOrParent = object->Clone();
        entry.size = entry.copyOrParent->GetSize() + kEntryOverhead;
        break;
    case CHistoryTrack::ParentChanged:
        entry.copyOrParent = object->Parent();
        entry.nextSibling = object->Parent() ? object->NextSibling() : nullptr;
        entry.size = kParentEntrySize;
        break;
    case CHistoryTrack::Removed:
    case CHistoryTrack::Created:
        entry.size = kEntryOverhead;
        break;
    }
    track->Add(entry);
    Resume();
}

void CHistory::Keep(CMapClass* object) {
    Record(object, CHistoryTrack::Changed);
}
void CHistory::KeepParent(CMapClass* object) {
    Record(object, CHistoryTrack::ParentChanged);
}
void CHistory::KeepNew(CMapClass* object) {
    Record(object, CHistoryTrack::Created);
}
void CHistory::KeepForDestruction(CMapClass* object) {
    Record(object, CHistoryTrack::Removed);
}

void CHistory::WarnAboutMemoryLoad() {
    std::optional<int> load = memoryLoad ? memoryLoad() : std::nullopt;
    if (!load || *load <= 80) {
        return;
    }
    SettingsStore& settings = m_services.Settings();
    if (settings.GetInt("General", "Undo Memory Warning", 1) == 0) {
        return;
    }
    bool dontShowAgain = m_services.GetPrompts().MessageWithCheck(
        "Undo Warning",
        "Your system load is very high. If you are experiencing sluggish performance, consider "
        "turning down the number of Undo levels by selecting Options in the Tools menu.",
        "Don't show me this again");
    if (dontShowAgain) {
        settings.WriteInt("General", "Undo Memory Warning", 0);
    }
}

void CHistory::TrimToUndoLevels() {
    const std::size_t levels = static_cast<std::size_t>(std::max(1, m_services.options.undoLevels));
    while (m_tracks.size() > levels) {
        std::unique_ptr<CHistoryTrack> oldest = std::move(m_tracks.front());
        m_tracks.pop_front();
        if (!oldest->Entries().empty()) {
            m_baseTag = oldest->StateTag();
        }
        oldest->SetDisposal(CHistoryTrack::Discard);
    }
}

void CHistory::MarkUndoPosition(const std::vector<CMapClass*>& selection, const std::string& name,
                                bool fromUndo) {
    if (CurrentTrack()) {
        WarnAboutMemoryLoad();
    }
    DropEmptyStep();
    m_tracks.push_back(std::make_unique<CHistoryTrack>(NextTrackId(m_services), name, selection));
    m_clearOppositeOnFirstEntry = m_clearsOpposite && !fromUndo;
}

void CHistory::BeginRecordingStep() {
    if (m_clearOppositeOnFirstEntry && m_opposite) {
        m_opposite->DestroyAllTracks(CHistoryTrack::Discard);
    }
    m_clearOppositeOnFirstEntry = false;
    TrimToUndoLevels();
}

void CHistory::DropEmptyStep() {
    if (CurrentTrack() && CurrentTrack()->Entries().empty()) {
        m_tracks.back()->SetDisposal(CHistoryTrack::Discard);
        m_tracks.pop_back();
        m_clearOppositeOnFirstEntry = false;
    }
}

const CHistoryTrack* CHistory::NewestStep() const {
    for (auto it = m_tracks.rbegin(); it != m_tracks.rend(); ++it) {
        if (!(*it)->Entries().empty()) {
            return it->get();
        }
    }
    return nullptr;
}

std::uint32_t CHistory::StateTag() const {
    const CHistoryTrack* newest = NewestStep();
    return newest ? newest->StateTag() : m_baseTag;
}

bool CHistory::CanUndo() const {
    return NewestStep() != nullptr;
}

std::string CHistory::CurrentName() const {
    const CHistoryTrack* track = NewestStep();
    return track ? track->Name() : std::string();
}

std::vector<CMapClass*> CHistory::Undo() {
    DropEmptyStep();
    if (m_tracks.empty()) {
        return {};
    }
    CHistory* opposite = m_opposite;
    std::unique_ptr<CHistoryTrack> track = std::move(m_tracks.back());
    m_tracks.pop_back();
    if (opposite) {
        opposite->MarkUndoPosition(track->SavedSelection(), track->Name(), true);
        opposite->CurrentTrack()->SetStateTag(track->StateTag());
    }
    // Without an opposite the opposite changes go to a scratch history that records nothing.
    CHistory scratch(Disabled);
    CHistory& other = opposite ? *opposite : scratch;

    Suspend();
    // Parents that lose children get their bounds recomputed once at the end: doing it on
    // every detach would cost time proportional to the number of siblings each time.
    std::vector<CMapClass*> shrunkParents;
    std::vector<CMapClass*> doomed;
    auto& entries = track->Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        CHistoryTrack::Entry& entry = *it;
        if (!entry.object) {
            continue;
        }
        switch (entry.kind) {
        case CHistoryTrack::Changed:
            other.Keep(entry.object);
            if (entry.copyOrParent) {
                entry.object->CopyFrom(*entry.copyOrParent);
                delete entry.copyOrParent;
                entry.copyOrParent = nullptr;
            }
            break;
        case CHistoryTrack::Removed:
            other.KeepNew(entry.object);
            entry.object = nullptr;
            break;
        case CHistoryTrack::Created:
            if (opposite) {
                other.KeepForDestruction(entry.object);
            } else {
                doomed.push_back(entry.object); // freed after the bounds pass below
            }
            entry.object = nullptr;
            break;
        case CHistoryTrack::ParentChanged: {
            other.KeepParent(entry.object);
            if (CMapClass* parent = entry.object->Parent()) {
                parent->RemoveChild(entry.object, false);
                shrunkParents.push_back(parent);
            }
            if (entry.copyOrParent) {
                // Back in its old place: the sibling that followed it is where it was then,
                // since every later change has been undone already.
                entry.copyOrParent->AddChildBefore(entry.object, entry.nextSibling);
            }
            break;
        }
        }
    }
    std::sort(shrunkParents.begin(), shrunkParents.end());
    shrunkParents.erase(std::unique(shrunkParents.begin(), shrunkParents.end()),
                        shrunkParents.end());
    for (CMapClass* parent : shrunkParents) {
        parent->CalcBounds(false);
    }
    for (CMapClass* object : doomed) {
        scratch.KeepForDestruction(object);
    }
    Resume();
    std::vector<CMapClass*> selection = track->SavedSelection();
    track->SetDisposal(CHistoryTrack::Discard);
    return selection;
}

UndoMenuItem UndoMenuText(const CHistory& history, bool isRedo) {
    const char* verb = isRedo ? "Redo" : "Undo";
    const char* key = isRedo ? "Ctrl+Y" : "Ctrl+Z";
    if (history.CanUndo()) {
        return {std::string(verb) + " " + history.CurrentName() + "\t" + key, true};
    }
    return {std::string("Can't ") + verb + "\t" + key, false};
}
