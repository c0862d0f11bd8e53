#include "common/PlaceholderTextures.h"

#include "gamedata/QuakeGraphic.h"
#include "mapobjects/EditGameClass.h"

PlaceholderTextures::PlaceholderTextures() = default;
PlaceholderTextures::~PlaceholderTextures() = default;

QuakeGraphic* PlaceholderTextures::FindTexture(const std::string& name, bool makePlaceholder) {
    const std::string fieldName = name.substr(0, kMaxNameLength);
    for (const auto& texture : m_placeholders) {
        if (EqualsIgnoreCase(texture->name, fieldName)) {
            return texture.get();
        }
    }
    if (!makePlaceholder) {
        return nullptr;
    }
    auto texture = std::make_unique<QuakeGraphic>();
    texture->name = fieldName;
    texture->placeholder = true;
    m_placeholders.push_back(std::move(texture));
    return m_placeholders.back().get();
}
