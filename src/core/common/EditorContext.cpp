#include "common/EditorContext.h"

#include "common/PlaceholderTextures.h"
#include "document/Clipboard.h"
#include "document/History.h"
#include "document/PrefabRegistry.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/TextureManager.h"
#include "mapobjects/MapClass.h"
#include "tools/NewObjectBarModel.h"

namespace {
EditorContext*& CurrentContext() {
    static EditorContext defaultContext;
    static EditorContext* current = &defaultContext;
    return current;
}
} // namespace

void DisabledHistoryRecorder::KeepForDestruction(CMapClass* object) {
    delete object;
}

EditorContext::EditorContext()
    : fallbackHistory(std::make_unique<CHistory>(CHistory::Disabled)),
      activeHistory(fallbackHistory.get()), defaultPrompts(std::make_unique<ConsolePrompts>()),
      prompts(defaultPrompts.get()), defaultSettings(std::make_unique<MemorySettingsStore>()),
      settings(defaultSettings.get()), placeholderTextures(std::make_unique<PlaceholderTextures>()),
      gameData(std::make_unique<GameDataSet>()), textureManager(std::make_unique<TextureManager>()),
      clipboard(std::make_unique<Clipboard>()), prefabRegistry(std::make_unique<PrefabRegistry>()) {
    textureManager->SetPalette(&gameData->Palette());
}

EditorContext::~EditorContext() {
    // The copies count themselves out of this context's object memory while it is current.
    clipboard.reset();
}

std::uint32_t EditorContext::NextObjectId() {
    std::uint32_t id = nextObjectId;
    nextObjectId = (nextObjectId + 1) & 0xFFFFFFu;
    if (nextObjectId == 0) {
        nextObjectId = 1;
    }
    return id;
}

TextureLookup& EditorContext::Textures() {
    if (textures) {
        return *textures;
    }
    return *placeholderTextures;
}

EditorContext& Editor() {
    return *CurrentContext();
}

ScopedEditorContext::ScopedEditorContext()
    : m_context(std::make_unique<EditorContext>()), m_previous(CurrentContext()) {
    CurrentContext() = m_context.get();
}

ScopedEditorContext::~ScopedEditorContext() {
    // Objects that outlive the documents go while their own context is still the current one.
    m_context->clipboard.reset();
    CurrentContext() = m_previous;
}
