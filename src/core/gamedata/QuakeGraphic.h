#pragma once

#include "gamedata/TextureImage.h"

#include <cstdint>
#include <string>
#include <vector>

// One texture of the catalogue. A placeholder (made for a name no WAD holds) has a name only.
// The texture manager fills in the WAD location and loads the pixels on first use.
class QuakeGraphic {
public:
    static constexpr std::size_t kMaxName = 15;

    std::string name;
    int width = 0;
    int height = 0;
    bool placeholder = false;

    // Smallest powers of two not less than width and height; set when the pixels are loaded.
    int scaledWidth = 0;
    int scaledHeight = 0;
    // Where the level-0 image lies in its WAD file, and which file (0: none).
    std::uint32_t dataOffset = 0;
    int wadId = 0;
    // Position in the texture manager's catalogue, -1 for placeholders.
    int globalIndex = -1;

    // scaledWidth x scaledHeight palette indices (the image stretched to powers of two), and
    // the width x height indices of the image as stored.
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> naturalPixels;
    bool pixelsLoaded = false;
    bool loadFailed = false;

    // The pictures handed out: the stretched image for the 3D view, the image at its own size
    // for 2D drawing.
    TextureImage scaledImage;
    TextureImage naturalImage;

    bool IsPlaceholder() const { return placeholder; }
    // False for placeholders and for textures without a picture ("No Image").
    bool HasImage() const { return !placeholder && width > 0 && height > 0 && wadId != 0; }
};
