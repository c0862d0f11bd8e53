#include "document/HistoryTrack.h"

#include "common/EditorContext.h"
#include "mapobjects/MapClass.h"

#include <algorithm>

CHistoryTrack::CHistoryTrack(std::uint32_t id, const std::string& name,
                             const std::vector<CMapClass*>& selection)
    : m_id(id), m_name(name.substr(0, kMaxNameLength)), m_selection(selection) {
    m_entries.reserve(16);
}

void CHistoryTrack::Add(const Entry& entry) {
    if (m_entries.size() == m_entries.capacity()) {
        // Whole steps of 16 entries, but half the size again at a time: a step that records
        // many thousand objects (a carve through a large map) stays linear.
        const std::size_t half = (m_entries.capacity() / 2 + 15) / 16 * 16;
        m_entries.reserve(m_entries.capacity() + std::max<std::size_t>(16, half));
    }
    m_entries.push_back(entry);
    m_totalSize += entry.size;
}

CHistoryTrack::~CHistoryTrack() {
    for (Entry& entry : m_entries) {
        entry.state = m_disposal;
        switch (entry.kind) {
        case Changed:
            delete entry.copyOrParent;
            entry.copyOrParent = nullptr;
            break;
        case Removed:
            if (entry.object && entry.state != WithDocument) {
                if (CMapClass* parent = entry.object->Parent()) {
                    parent->RemoveChild(entry.object, true);
                }
                if (Editor().objectGoingAway) {
                    Editor().objectGoingAway(entry.object);
                }
                delete entry.object;
            }
            entry.object = nullptr;
            break;
        case Created:
        case ParentChanged:
            break;
        }
    }
}
