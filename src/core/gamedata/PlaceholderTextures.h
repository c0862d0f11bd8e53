#pragma once

#include "common/TextureLookup.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QuakeGraphic;

// The texture lookup used while no texture catalogue is installed: every name yields a
// placeholder (a name without an image). Placeholders live as long as this object, and the
// same name (ignoring case) always yields the same one.
class PlaceholderTextures : public TextureLookup {
public:
    static constexpr std::size_t kMaxNameLength = 15;

    PlaceholderTextures();
    ~PlaceholderTextures() override;

    QuakeGraphic* FindTexture(const std::string& name, bool makePlaceholder) override;
    std::size_t Count() const { return m_placeholders.size(); }

private:
    std::vector<std::unique_ptr<QuakeGraphic>> m_placeholders;
    // Upper-case name -> placeholder, so lookups stay fast with many unknown names.
    std::unordered_map<std::string, QuakeGraphic*> m_byName;
};
