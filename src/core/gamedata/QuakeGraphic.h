#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One texture of the catalogue. A placeholder (made for a name no WAD holds) has a name only.
// (The texture manager fills in the WAD location and loads the pixels.)
class QuakeGraphic {
public:
    std::string name;
    int width = 0;
    int height = 0;
    bool placeholder = false;

    bool IsPlaceholder() const { return placeholder; }
};
