#pragma once

#include "Color.h"

#include <array>
#include <cstdint>
#include <vector>

// The editor's own 256-colour palette: fourteen ramps of sixteen shades (greys, stone, wood,
// sand, greens, blues, brick, rust, gold, violet, slime) and thirty-two bright colours for
// glowing things (lava, lamps, screens).
class Palette {
public:
    Palette();

    const std::array<Color, 256>& Colors() const { return m_colors; }
    std::vector<std::uint8_t> FileBytes() const;

    // Index of the nearest colour; bright-only colours are used only when allowBright is set,
    // so ordinary surfaces never pick a glowing entry.
    std::uint8_t Nearest(const Color& color, bool allowBright = false) const;

    static constexpr int kFirstBright = 224;

private:
    std::array<Color, 256> m_colors{};
    mutable std::vector<std::int16_t> m_cache; // 6 bits per channel, two modes
};
