#pragma once

#include "document/ServicesPart.h"
#include "gamedata/Options.h"
#include "mapobjects/MapServices.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class Clipboard;
class CMapDoc;
class MainFrameSink;
class PrefabRegistry;
class ObjectPropertiesSink;
class FacePropertiesSink;
class GameDataSet;
class TextureManager;

// What documents and the floors above them need besides the map services: the open documents,
// the settings, the game data and texture catalogue, the window sinks, and the parts upper
// floors hang here (clipboard, prefab libraries). Each document holds the services it was made
// with; code without a document at hand uses the installed ones. The editor session makes and
// installs them.
class DocumentServices : public MapServices {
public:
    DocumentServices();
    ~DocumentServices() override;

    // The services installed now (the session's process-wide default until one installs its
    // own; in a program without a session, services of this floor's own).
    static DocumentServices& Installed();
    static void SetFallback(DocumentServices& (*fallback)());

    // Identifier of the next undo track (28 bits, from 1).
    std::uint32_t nextTrackId = 1;

    // Open map documents in creation order, and the active one.
    std::vector<CMapDoc*> documents;
    CMapDoc* activeDocument = nullptr;
    // Told when the user closed a document (its changes saved or discarded); autosave
    // removes the document's autosaves then.
    std::function<void(const CMapDoc&)> documentClosed;
    // The main window and the property editors, when the user interface exists.
    MainFrameSink* mainFrame = nullptr;
    ObjectPropertiesSink* objectProperties = nullptr;
    FacePropertiesSink* faceProperties = nullptr;

    // The persistent settings.
    Options options;

    // The one game data set and texture manager of the run (created empty; the texture
    // manager draws with the game data palette). The session's game data startup fills them
    // and installs them as the lookups.
    GameDataSet& GameData() { return *gameData; }
    TextureManager& TextureCatalogue() { return *textureManager; }
    std::unique_ptr<GameDataSet> gameData;
    std::unique_ptr<TextureManager> textureManager;

    // The type the next new 2D view starts with (0, 1, 2, then 0 again).
    int next2DViewType = 0;

    // The wall thickness Make Hollow offers, remembered for the rest of the run.
    int hollowThickness = 32;

    // Files saved over in this run: each got its ".bak" on its first save, and later saves
    // leave that backup alone, so it keeps the file as it was before the run changed it.
    std::set<std::string> backedUpFiles;

    // How the shell shows the "Map Errors" list of a read's errors when the user asks for it
    // after a load (nothing is shown while unset).
    std::function<void(const ErrorList&)> showMapErrors;

    // Gives an object just created by a command the default visgroup memberships of its map.
    // The visgroup code installs it; while unset, new objects keep the memberships they have.
    std::function<void(CMapClass&)> applyDefaultVisGroups;

    // The part of type T (a ServicesPart), made on first use.
    template <class T> T& Part() {
        const std::size_t slot = PartSlot<T>();
        if (m_parts.size() <= slot) {
            m_parts.resize(slot + 1);
        }
        if (!m_parts[slot]) {
            m_parts[slot] = std::make_unique<T>();
            m_partOrder.push_back(slot);
        }
        return static_cast<T&>(*m_parts[slot]);
    }
    // Replaces the part of type T with a fresh one.
    template <class T> void ResetPart() {
        const std::size_t slot = PartSlot<T>();
        if (slot < m_parts.size() && m_parts[slot]) {
            m_parts[slot] = std::make_unique<T>();
        } else {
            Part<T>();
        }
    }
    // The editor-wide clipboard of copied map objects (editing/Clipboard.h): it outlives the
    // documents and goes with the services.
    template <class T = Clipboard> T& GetClipboard() { return Part<T>(); }
    // The loaded prefab libraries, their load cache and the prefab folder
    // (prefabs/PrefabRegistry.h).
    template <class T = PrefabRegistry> T& Prefabs() { return Part<T>(); }

    // Destroys the parts, newest first, while these services are still the ones their
    // objects count themselves out of.
    void DestroyParts();

protected:
    // Makes services the installed ones (null: the default) and returns the ones before.
    static DocumentServices* Install(DocumentServices* services);

private:
    static std::size_t NewPartSlot();
    template <class T> static std::size_t PartSlot() {
        static const std::size_t slot = NewPartSlot();
        return slot;
    }

    std::vector<std::unique_ptr<ServicesPart>> m_parts;
    std::vector<std::size_t> m_partOrder;
};
