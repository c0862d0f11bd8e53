#include "session/EditorContext.h"

#include "gamedata/GameDataSet.h"
#include "gamedata/TextureManager.h"

#include <atomic>

namespace {
EditorContext*& CurrentContext() {
    static EditorContext* current = nullptr;
    return current;
}

EditorContext& DefaultContext() {
    static EditorContext defaultContext;
    return defaultContext;
}

CoreServices& DefaultCoreServices() {
    return Editor();
}

MapServices& DefaultMapServices() {
    return Editor();
}

// The floors below the session see the session's default context while no other is current.
[[maybe_unused]] const bool fallbacksSet = [] {
    CoreServices::SetFallback(&DefaultCoreServices);
    MapServices::SetFallback(&DefaultMapServices);
    return true;
}();
} // namespace

EditorContext::EditorContext()
    : gameData(std::make_unique<GameDataSet>()),
      textureManager(std::make_unique<TextureManager>()) {
    textureManager->SetPalette(&gameData->Palette());
}

EditorContext::~EditorContext() {
    DestroyParts();
}

void EditorContext::DestroyParts() {
    while (!m_partOrder.empty()) {
        const std::size_t slot = m_partOrder.back();
        m_partOrder.pop_back();
        m_parts[slot].reset();
    }
}

std::size_t EditorContext::NewPartSlot() {
    static std::atomic<std::size_t> next{0};
    return next++;
}

EditorContext* EditorContext::MakeCurrent() {
    EditorContext* previous = CurrentContext();
    CurrentContext() = this;
    CoreServices::Install(this);
    MapServices::Install(this);
    return previous;
}

void EditorContext::Restore(EditorContext* previous) {
    CurrentContext() = previous;
    CoreServices::Install(previous);
    MapServices::Install(previous);
}

EditorContext& Editor() {
    EditorContext* current = CurrentContext();
    return current ? *current : DefaultContext();
}

ScopedEditorContext::ScopedEditorContext()
    : m_context(std::make_unique<EditorContext>()), m_previous(m_context->MakeCurrent()) {}

ScopedEditorContext::~ScopedEditorContext() {
    // Objects that outlive the documents go while their own context is still the current one.
    m_context->DestroyParts();
    EditorContext::Restore(m_previous);
}
