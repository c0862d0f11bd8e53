#pragma once

#include <cstdint>
#include <vector>

// An RGBA picture of a texture (4 bytes a pixel, rows from the top), made from its palette
// indices through the working palette. `generation` grows each time the pixels are remade, so
// a view that uploaded an older one knows to upload again.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    unsigned generation = 0;
    // The palette generation the pixels were made from.
    unsigned paletteGeneration = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
};
