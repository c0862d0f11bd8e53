#include "document/HistoryTrack.h"

#include "mapobjects/MapClass.h"
#include "mapobjects/MapServices.h"

CHistoryTrack::CHistoryTrack(std::uint32_t id, const std::string& name,
                             const std::vector<CMapClass*>& selection)
    : m_id(id), m_stateTag(id), m_name(name.substr(0, kMaxNameLength)), m_selection(selection) {
    m_entries.reserve(16);
}

void CHistoryTrack::Add(const Entry& entry) {
    // Grows geometrically: steps of a fixed size would copy the whole array again and again
    // on steps that touch thousands of objects.
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
                MapServices& services = entry.object->Services();
                if (CMapClass* parent = entry.object->Parent()) {
                    parent->RemoveChild(entry.object, true);
                }
                if (services.objectGoingAway) {
                    services.objectGoingAway(entry.object);
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
