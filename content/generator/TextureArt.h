#pragma once

#include "Palette.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One texture of the shipped WAD: its name, size and four mip levels of palette indices.
struct GeneratedTexture {
    std::string name;
    int width = 0;
    int height = 0;
    std::array<std::vector<std::uint8_t>, 4> levels;
};

// Draws every texture that ships with the editor (walls, floors, metal, wood, stone, liquids,
// sky, tool textures and animated frames).
std::vector<GeneratedTexture> DrawAllTextures(const Palette& palette);
