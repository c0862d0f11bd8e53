#pragma once

#include "common/ErrorList.h"
#include "common/HistoryRecorder.h"
#include "common/MessageLog.h"
#include "common/PrimitiveTable.h"
#include "common/Prompts.h"
#include "common/RandomGenerator.h"
#include "common/SettingsStore.h"
#include "gamedata/Options.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CMapClass;
class CMapDoc;
class Clipboard;
class MainFrameSink;
class ObjectPropertiesSink;
class FacePropertiesSink;
class EntityClassLookup;
class GameDataSet;
class TextureManager;
class TextureLookup;
class PlaceholderTextures;
class PrefabRegistry;
class NewObjectBarModel;
class StatusPanes;

// The editor's process-wide objects, kept together so each test can start from a fresh set.
// Code reaches the current one through Editor().
class EditorContext {
public:
    EditorContext();
    ~EditorContext();
    EditorContext(const EditorContext&) = delete;
    EditorContext& operator=(const EditorContext&) = delete;

    MessageLog messages;
    ErrorList errors;
    RandomGenerator random;

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

    // Identifier of the next undo track (28 bits, from 1).
    std::uint32_t nextTrackId = 1;
    // Told when an object is about to be destroyed for good (the object properties close it).
    std::function<void(CMapClass*)> objectGoingAway;

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

    // Table of world slots; a world's index in it is the world index of its objects.
    std::array<CMapClass*, 256> worlds{};

    // Services the outer layers install. Prompts and settings always exist (console and
    // in-memory defaults); the lookups are null until game data and textures are loaded.
    Prompts& GetPrompts() { return *prompts; }
    void SetPrompts(Prompts* p) { prompts = p ? p : defaultPrompts.get(); }
    SettingsStore& Settings() { return *settings; }
    void SetSettings(SettingsStore* s) { settings = s ? s : defaultSettings.get(); }

    std::unique_ptr<Prompts> defaultPrompts;
    Prompts* prompts = nullptr;
    std::unique_ptr<SettingsStore> defaultSettings;
    SettingsStore* settings = nullptr;
    StatusPanes* statusPanes = nullptr;
    EntityClassLookup* entityClasses = nullptr;
    TextureLookup* textures = nullptr;

    // The persistent settings.
    Options options;

    // Where faces find their textures: the installed lookup, or, until one is installed,
    // placeholders without images kept here for the rest of the context's life.
    TextureLookup& Textures();
    std::unique_ptr<PlaceholderTextures> placeholderTextures;

    // The primitive shapes with their current face counts.
    PrimitiveTable primitives = DefaultPrimitiveTable();

    // The one game data set and texture manager of the run (created empty; the texture
    // manager draws with the game data palette). LoadGameData() and LoadTextureFiles()
    // (gamedata/GameDataStartup.h) fill them and install them as the lookups above.
    GameDataSet& GameData() { return *gameData; }
    TextureManager& TextureCatalogue() { return *textureManager; }
    std::unique_ptr<GameDataSet> gameData;
    std::unique_ptr<TextureManager> textureManager;

    // Folder of the running program; relative data paths resolve against it (empty: the
    // working directory). See common/ProgramDirectory.h.
    std::string programDirectory;

    // The type the next new 2D view starts with (0, 1, 2, then 0 again).
    int next2DViewType = 0;

    // Texture lock: while on, moving, turning, scaling and flipping solids keeps their textures
    // fixed to them; while off, textures stay fixed to the world. The shell sets it from the
    // setting of the active map's dialect.
    bool textureLock = false;

    // Name of the texture chosen in the texture bar; new faces take it.
    std::string currentTexture = "AAATRIGGER";

    // The editor-wide clipboard of copied map objects: it outlives the documents and is
    // freed with the context.
    Clipboard& GetClipboard() { return *clipboard; }
    std::unique_ptr<Clipboard> clipboard;
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

    // The loaded prefab libraries, their load cache and the prefab folder. Declared last so
    // the prefab maps go before anything they use.
    PrefabRegistry& Prefabs() { return *prefabRegistry; }
    std::unique_ptr<PrefabRegistry> prefabRegistry;

    // What the Block and Entity tools create (tools/NewObjectBarModel.h), made when first used.
    std::unique_ptr<NewObjectBarModel> newObjectBar;
};

// The current editor context (a process-wide default unless a test installed its own).
EditorContext& Editor();

// Installs a fresh context for the lifetime of this object and restores the previous one.
class ScopedEditorContext {
public:
    ScopedEditorContext();
    ~ScopedEditorContext();
    ScopedEditorContext(const ScopedEditorContext&) = delete;
    ScopedEditorContext& operator=(const ScopedEditorContext&) = delete;
    EditorContext& Context() { return *m_context; }

private:
    std::unique_ptr<EditorContext> m_context;
    EditorContext* m_previous;
};
