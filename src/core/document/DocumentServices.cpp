#include "document/DocumentServices.h"

#include "common/InstalledSlot.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/TextureManager.h"

#include <atomic>

DocumentServices::DocumentServices()
    : gameData(std::make_unique<GameDataSet>()),
      textureManager(std::make_unique<TextureManager>()) {
    textureManager->SetPalette(&gameData->Palette());
}

DocumentServices::~DocumentServices() {
    DestroyParts();
}

DocumentServices& DocumentServices::Installed() {
    return InstalledSlot<DocumentServices>::Get();
}

void DocumentServices::SetFallback(DocumentServices& (*fallback)()) {
    InstalledSlot<DocumentServices>::SetFallback(fallback);
}

DocumentServices* DocumentServices::Install(DocumentServices* services) {
    return InstalledSlot<DocumentServices>::Swap(services);
}

void DocumentServices::DestroyParts() {
    while (!m_partOrder.empty()) {
        const std::size_t slot = m_partOrder.back();
        m_partOrder.pop_back();
        m_parts[slot].reset();
    }
}

std::size_t DocumentServices::NewPartSlot() {
    static std::atomic<std::size_t> next{0};
    return next++;
}
