#include "render/EntityConnections.h"

#include "mapobjects/MapEntity.h"

#include <string>
#include <unordered_map>

namespace {

std::string Lowered(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

const CMapEntity* AsEntity(const CMapClass* object) {
    return object && object->IsType(kTypeMapEntity) ? static_cast<const CMapEntity*>(object)
                                                    : nullptr;
}

} // namespace

std::vector<EntityConnection> FindEntityConnections(const std::vector<CMapClass*>& objects) {
    std::unordered_multimap<std::string, const CMapEntity*> byTargetName;
    for (const CMapClass* object : objects) {
        if (const CMapEntity* entity = AsEntity(object)) {
            if (auto name = entity->GetKeyValue("targetname")) {
                byTargetName.emplace(Lowered(name->first), entity);
            }
        }
    }
    std::vector<EntityConnection> connections;
    if (byTargetName.empty()) {
        return connections;
    }
    for (const CMapClass* object : objects) {
        const CMapEntity* entity = AsEntity(object);
        if (!entity) {
            continue;
        }
        auto target = entity->GetKeyValue("target");
        if (!target) {
            continue;
        }
        auto [first, last] = byTargetName.equal_range(Lowered(target->first));
        for (auto it = first; it != last; ++it) {
            connections.push_back({entity->Bounds().Center(), it->second->Bounds().Center()});
        }
    }
    return connections;
}
