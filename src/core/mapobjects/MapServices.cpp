#include "mapobjects/MapServices.h"

#include "common/InstalledSlot.h"
#include "gamedata/PlaceholderTextures.h"
#include "geometry/Winding.h"
#include "mapobjects/MapClass.h"

namespace {
// Records nothing while no document is active. An object handed over for destruction has no
// other owner left: whoever shows it is told, then it goes.
class NoHistory : public HistoryRecorder {
public:
    explicit NoHistory(MapServices& services) : m_services(services) {}
    void Keep(CMapClass*) override {}
    void KeepParent(CMapClass*) override {}
    void KeepNew(CMapClass*) override {}
    void KeepForDestruction(CMapClass* object) override {
        if (object && m_services.objectGoingAway) {
            m_services.objectGoingAway(object);
        }
        delete object;
    }

private:
    MapServices& m_services;
};
// Geometry errors raised outside a capture: error lines of the installed services' log.
void LogGeometryError(const char* text) {
    MapServices::Installed().messages.AddLine(MessageLog::Error, "%s", text);
}
} // namespace

void DisabledHistoryRecorder::KeepForDestruction(CMapClass* object) {
    delete object;
}

MapServices::MapServices()
    : fallbackHistory(std::make_unique<NoHistory>(*this)), activeHistory(fallbackHistory.get()),
      placeholderTextures(std::make_unique<PlaceholderTextures>()) {
    SetGeometryErrorSink(&LogGeometryError);
}

MapServices::~MapServices() = default;

MapServices& MapServices::Installed() {
    return InstalledSlot<MapServices>::Get();
}

void MapServices::SetFallback(MapServices& (*fallback)()) {
    InstalledSlot<MapServices>::SetFallback(fallback);
}

MapServices* MapServices::Install(MapServices* services) {
    return InstalledSlot<MapServices>::Swap(services);
}

std::uint32_t MapServices::NextObjectId() {
    std::uint32_t id = nextObjectId;
    nextObjectId = (nextObjectId + 1) & 0xFFFFFFu;
    if (nextObjectId == 0) {
        nextObjectId = 1;
    }
    return id;
}

bool MapServices::TakeWorldIndex(std::uint8_t& index) {
    for (std::size_t i = 0; i < m_worldIndexes.size(); ++i) {
        if (!m_worldIndexes.test(i)) {
            m_worldIndexes.set(i);
            index = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    index = 0;
    return false;
}

void MapServices::ReleaseWorldIndex(std::uint8_t index) {
    m_worldIndexes.reset(index);
}

TextureLookup& MapServices::Textures() {
    if (textures) {
        return *textures;
    }
    return *placeholderTextures;
}
