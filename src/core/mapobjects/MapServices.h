#pragma once

#include "common/CoreServices.h"
#include "common/HistoryRecorder.h"
#include "common/PrimitiveTable.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CMapClass;
class EntityClassLookup;
class PlaceholderTextures;
class StatusPanes;
class TextureLookup;

// What map objects need from the editor around them: object ids, undo recording, texture and
// entity class lookups, the current texture and the settings that shape new objects. A world
// carries the services it was made with, and an object finds them through its world (up the
// parent chain); an object in no world yet uses the installed ones. The editor session owns
// the services and installs them.
class MapServices : public CoreServices {
public:
    MapServices();
    ~MapServices() override;

    // The services installed now (the session's process-wide default until one installs its
    // own; in a program without a session, services of this floor's own).
    static MapServices& Installed();
    static void SetFallback(MapServices& (*fallback)());

    // Map object ids: 24 bits, counting from 1.
    std::uint32_t NextObjectId();
    std::uint32_t nextObjectId = 1;

    // Bytes of map objects alive (solids 192, entities 220 each).
    std::int64_t objectMemory = 0;

    // The active undo history; never null (the disabled fallback when no document is active).
    HistoryRecorder& ActiveHistory() { return *activeHistory; }
    void SetActiveHistory(HistoryRecorder* history) {
        activeHistory = history ? history : fallbackHistory.get();
    }
    std::unique_ptr<HistoryRecorder> fallbackHistory;
    HistoryRecorder* activeHistory = nullptr;
    // Told when an object is about to be destroyed for good (the object properties close it).
    std::function<void(CMapClass*)> objectGoingAway;

    // World indexes in use: a new world takes the first free one. With all taken it gets
    // index 0 without holding it, and false.
    bool TakeWorldIndex(std::uint8_t& index);
    void ReleaseWorldIndex(std::uint8_t index);

    // Where faces find their textures: the installed lookup, or, until one is installed,
    // placeholders without images kept here for the rest of the services' life.
    TextureLookup& Textures();
    TextureLookup* textures = nullptr;
    std::unique_ptr<PlaceholderTextures> placeholderTextures;
    // The game data's entity classes; null until game data is loaded.
    EntityClassLookup* entityClasses = nullptr;
    // The main frame's status bar, when the user interface exists.
    StatusPanes* statusPanes = nullptr;

    // The primitive shapes with their current face counts.
    PrimitiveTable primitives = DefaultPrimitiveTable();

    // Texture lock: while on, moving, turning, scaling and flipping solids keeps their textures
    // fixed to them; while off, textures stay fixed to the world. The shell sets it from the
    // setting of the active map's dialect.
    bool textureLock = false;

    // Name of the texture chosen in the texture bar; new faces take it.
    std::string currentTexture = "AAATRIGGER";

protected:
    // Makes services the installed ones (null: the default) and returns the ones before.
    static MapServices* Install(MapServices* services);

private:
    std::bitset<256> m_worldIndexes;
};
