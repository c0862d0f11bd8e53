#include "common/PlaceholderTextures.h"

#include "gamedata/QuakeGraphic.h"

#include <cctype>

PlaceholderTextures::PlaceholderTextures() = default;
PlaceholderTextures::~PlaceholderTextures() = default;

QuakeGraphic* PlaceholderTextures::FindTexture(const std::string& name, bool makePlaceholder) {
    const std::string fieldName = name.substr(0, kMaxNameLength);
    std::string key = fieldName;
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    auto found = m_byLowerName.find(key);
    if (found != m_byLowerName.end()) {
        return found->second;
    }
    if (!makePlaceholder) {
        return nullptr;
    }
    auto texture = std::make_unique<QuakeGraphic>();
    texture->name = fieldName;
    texture->placeholder = true;
    m_placeholders.push_back(std::move(texture));
    m_byLowerName.emplace(std::move(key), m_placeholders.back().get());
    return m_placeholders.back().get();
}
