#include "autosave/AutosaveSchedule.h"

AutosaveSchedule::AutosaveSchedule(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock) {
        m_clock = [] { return std::chrono::steady_clock::now(); };
    }
}

bool AutosaveSchedule::Due(const void* id, bool modified, std::uint64_t change) {
    DocumentState& state = m_documents[id];
    if (!modified || state.savedChange == change) {
        state.pendingSince.reset();
        return false;
    }
    const TimePoint now = m_clock();
    if (!state.pendingSince) {
        state.pendingSince = now;
    }
    return m_interval > 0 && now - *state.pendingSince >= std::chrono::seconds(m_interval);
}

void AutosaveSchedule::Saved(const void* id, std::uint64_t change) {
    DocumentState& state = m_documents[id];
    state.savedChange = change;
    state.pendingSince.reset();
}

void AutosaveSchedule::Failed(const void* id) {
    DocumentState& state = m_documents[id];
    state.savedChange.reset();
    state.pendingSince = m_clock();
}
