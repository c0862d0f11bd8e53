#include "gamedata/PlaceholderTextures.h"

#include "gamedata/QuakeGraphic.h"

namespace {
std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}
} // namespace

PlaceholderTextures::PlaceholderTextures() = default;
PlaceholderTextures::~PlaceholderTextures() = default;

QuakeGraphic* PlaceholderTextures::FindTexture(const std::string& name, bool makePlaceholder) {
    const std::string fieldName = name.substr(0, kMaxNameLength);
    const std::string key = UpperCase(fieldName);
    auto found = m_byName.find(key);
    if (found != m_byName.end()) {
        return found->second;
    }
    if (!makePlaceholder) {
        return nullptr;
    }
    auto texture = std::make_unique<QuakeGraphic>();
    texture->name = fieldName;
    texture->placeholder = true;
    m_placeholders.push_back(std::move(texture));
    m_byName.emplace(key, m_placeholders.back().get());
    return m_placeholders.back().get();
}
