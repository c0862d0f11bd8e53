#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CMapClass;

// One named editing step of an undo or redo history: for every object the step touched, what
// puts it back (a saved copy, the former parent, or the fact it was created or removed).
class CHistoryTrack {
public:
    enum Kind : std::uint32_t { Changed = 1, Removed = 2, Created = 4, ParentChanged = 8 };
    enum Disposal { Discard = 1, WithDocument = 2 };

    struct Entry {
        CMapClass* object = nullptr;       // null once the entry no longer holds it
        CMapClass* copyOrParent = nullptr; // kind 1: owned copy; kind 8: former parent
        CMapClass* nextSibling = nullptr;  // kind 8: the object's place among its siblings
        Kind kind = Changed;
        int state = 1;
        int size = 0;
    };

    static constexpr std::size_t kMaxNameLength = 127;

    CHistoryTrack(std::uint32_t id, const std::string& name,
                  const std::vector<CMapClass*>& selection);
    ~CHistoryTrack();
    CHistoryTrack(const CHistoryTrack&) = delete;
    CHistoryTrack& operator=(const CHistoryTrack&) = delete;

    std::uint32_t Id() const { return m_id; }
    const std::string& Name() const { return m_name; }
    const std::vector<CMapClass*>& SavedSelection() const { return m_selection; }
    std::vector<Entry>& Entries() { return m_entries; }
    const std::vector<Entry>& Entries() const { return m_entries; }
    long long TotalSize() const { return m_totalSize; }
    void Add(const Entry& entry);

    // Names the state of the map once the step is done: the track's own id, or, for a track
    // that an undo or redo recorded, the state that applying it gives back.
    std::uint32_t StateTag() const { return m_stateTag; }
    void SetStateTag(std::uint32_t tag) { m_stateTag = tag; }

    void SetDisposal(Disposal mode) { m_disposal = mode; }
    Disposal DisposalMode() const { return m_disposal; }

private:
    std::uint32_t m_id;
    std::uint32_t m_stateTag;
    std::string m_name;
    std::vector<CMapClass*> m_selection;
    std::vector<Entry> m_entries;
    long long m_totalSize = 0;
    Disposal m_disposal = Discard;
};
