#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

// Decides when a modified map is due for an autosave: one interval after the first change
// that no autosave holds yet. The clock is injectable so tests can step time by hand.
class AutosaveSchedule {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;

    // clock empty: the steady clock.
    explicit AutosaveSchedule(Clock clock = {});

    // Seconds between a change and its autosave; 0 or less turns autosave off.
    void SetInterval(int seconds) { m_interval = seconds; }
    int Interval() const { return m_interval; }

    // One look at a document (id: anything unique to it). change counts the document's
    // changes; true when the changes it has now should be written.
    bool Due(const void* id, bool modified, std::uint64_t change);
    // The document was autosaved holding change.
    void Saved(const void* id, std::uint64_t change);
    // The autosave of the document failed: it is tried again one interval later.
    void Failed(const void* id);
    void Forget(const void* id) { m_documents.erase(id); }

private:
    struct DocumentState {
        std::optional<std::uint64_t> savedChange;
        std::optional<TimePoint> pendingSince;
    };
    Clock m_clock;
    int m_interval = 0;
    std::map<const void*, DocumentState> m_documents;
};
