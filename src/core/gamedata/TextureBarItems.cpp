#include "gamedata/TextureBarItems.h"

#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureManager.h"

#include <cctype>

std::vector<QuakeGraphic*> TextureBarItems::Build(TextureManager& textures) {
    std::vector<QuakeGraphic*> items = textures.RecentlyUsed();
    if (!items.empty()) {
        items.push_back(nullptr);
    }
    const TextureList& list = textures.CurrentList();
    items.reserve(items.size() + static_cast<std::size_t>(list.Count()));
    for (int index : list.Indices()) {
        items.push_back(textures.TextureAt(index));
    }
    return items;
}

int TextureBarItems::StartPosition(const std::vector<QuakeGraphic*>& items) {
    int first = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QuakeGraphic* texture = items[i];
        if (!texture) {
            continue;
        }
        if (first < 0) {
            first = static_cast<int>(i);
        }
        const std::string& name = texture->name;
        if (!name.empty() && name[0] != '*' && name[0] != '+' &&
            name.find("door") == std::string::npos) {
            return static_cast<int>(i);
        }
    }
    return first;
}

int TextureBarItems::FindByPrefix(const std::vector<QuakeGraphic*>& items, const std::string& text,
                                  int after) {
    for (std::size_t i = static_cast<std::size_t>(after + 1); i < items.size(); ++i) {
        const QuakeGraphic* texture = items[i];
        if (!texture || texture->name.size() < text.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t k = 0; k < text.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(texture->name[k])) ==
                   std::tolower(static_cast<unsigned char>(text[k]));
        }
        if (same) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
