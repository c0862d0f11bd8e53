#pragma once

#include "geometry/Vector.h"

#include <cstdint>
#include <string>

// One entity class of the game data: its kind, default box and colour.
// (The game data parser adds the class's variables.)
class EntityClassDef {
public:
    std::string name;
    std::string description;
    bool isBase = false;
    bool isSolid = false;
    // 24-bit RGB with red in the low byte, then green, then blue.
    std::uint32_t color = 220u | (0u << 8) | (180u << 16);
    bool hasColor = false;
    Vector boxMin{-8.0f, -8.0f, -8.0f};
    Vector boxMax{8.0f, 8.0f, 8.0f};
    bool hasSize = false;

    bool IsPointClass() const { return !isBase && !isSolid; }
    bool IsSolidClass() const { return isSolid; }
    // The colour as 0xRRGGBB, the form map objects keep.
    std::uint32_t ColorRGB() const {
        return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
    }
};
