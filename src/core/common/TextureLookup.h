#pragma once

#include <string>

class QuakeGraphic;

// How faces bind to their texture by name.
class TextureLookup {
public:
    virtual ~TextureLookup() = default;
    // Case-insensitive. With makePlaceholder, a name no WAD holds gets a placeholder texture
    // (a name without an image) that stays valid for the rest of the run.
    virtual QuakeGraphic* FindTexture(const std::string& name, bool makePlaceholder) = 0;
};
