// Feeds arbitrary bytes to the WAD2 catalogue and loads, stretches and colours every texture.
#include "SilentPrompts.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/TextureManager.h"
#include "session/EditorContext.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScopedEditorContext scoped;
    SilentPrompts prompts;
    scoped.Context().SetPrompts(&prompts);
    TextureManager& textures = scoped.Context().TextureCatalogue();
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size >= GamePalette::kFileSize) {
        scoped.Context().GameData().Palette().LoadFromBytes(data, size);
    }
    if (textures.AddWadFromMemory("fuzz.wad", bytes) == 0) {
        return 0;
    }
    textures.SortAllTextures();
    for (int i = 0; i < textures.TextureCount(); ++i) {
        QuakeGraphic* texture = textures.TextureAt(i);
        if (texture->name.empty() || texture->name.size() > QuakeGraphic::kMaxName) {
            __builtin_trap();
        }
        if (textures.FindTexture(texture->name, false) == nullptr) {
            __builtin_trap();
        }
        textures.MarkUsed(texture);
        const TextureImage* scaled = textures.GetScaledImage(*texture);
        const TextureImage* natural = textures.GetNaturalImage(*texture);
        if (scaled != nullptr &&
            scaled->rgba.size() != static_cast<std::size_t>(scaled->width) * scaled->height * 4) {
            __builtin_trap();
        }
        if (natural != nullptr &&
            (natural->width != texture->width || natural->height != texture->height)) {
            __builtin_trap();
        }
    }
    scoped.Context().GameData().Palette().SetBrightness(1.6f);
    if (textures.RecentlyUsed().size() > TextureManager::kMaxRecentlyUsed) {
        __builtin_trap();
    }
    return 0;
}
