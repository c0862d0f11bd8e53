#include "Palette.h"

#include <cmath>
#include <limits>

namespace {
// A ramp from near black through the base colour to a pale tint of it.
void Ramp(std::array<Color, 256>& colors, int first, const Color& base, float lightEnd) {
    for (int i = 0; i < 16; ++i) {
        float t = static_cast<float>(i) / 15.0f;
        Color c;
        if (t < 0.7f) {
            c = base * (0.06f + 0.94f * (t / 0.7f));
        } else {
            float u = (t - 0.7f) / 0.3f;
            c = Mix(base, Mix(base, Rgb(255, 255, 255), lightEnd), u);
        }
        colors[static_cast<std::size_t>(first + i)] = c.Clamped();
    }
}
} // namespace

Palette::Palette() {
    Ramp(m_colors, 0, Rgb(170, 170, 170), 0.55f);  // neutral grey
    Ramp(m_colors, 16, Rgb(160, 148, 130), 0.45f); // warm stone
    Ramp(m_colors, 32, Rgb(150, 96, 52), 0.35f);   // wood brown
    Ramp(m_colors, 48, Rgb(196, 170, 120), 0.45f); // sand and plaster
    Ramp(m_colors, 64, Rgb(120, 128, 60), 0.35f);  // olive
    Ramp(m_colors, 80, Rgb(70, 130, 60), 0.35f);   // moss
    Ramp(m_colors, 96, Rgb(120, 134, 150), 0.45f); // blue-grey metal
    Ramp(m_colors, 112, Rgb(60, 96, 170), 0.40f);  // steel blue
    Ramp(m_colors, 128, Rgb(40, 130, 140), 0.40f); // teal water
    Ramp(m_colors, 144, Rgb(170, 64, 48), 0.35f);  // brick red
    Ramp(m_colors, 160, Rgb(190, 100, 40), 0.35f); // rust orange
    Ramp(m_colors, 176, Rgb(210, 170, 50), 0.40f); // gold
    Ramp(m_colors, 192, Rgb(120, 70, 150), 0.40f); // violet
    Ramp(m_colors, 208, Rgb(110, 190, 40), 0.40f); // slime green
    // Bright colours: fire from deep red to white-yellow, then lamp and screen colours.
    for (int i = 0; i < 16; ++i) {
        float t = static_cast<float>(i) / 15.0f;
        Color fire = t < 0.5f ? Mix(Rgb(150, 20, 0), Rgb(255, 120, 0), t * 2.0f)
                              : Mix(Rgb(255, 120, 0), Rgb(255, 250, 170), (t - 0.5f) * 2.0f);
        m_colors[static_cast<std::size_t>(kFirstBright + i)] = fire;
    }
    const Color lamps[16] = {
        Rgb(255, 255, 255), Rgb(255, 244, 210), Rgb(255, 230, 160), Rgb(200, 230, 255),
        Rgb(150, 200, 255), Rgb(90, 160, 255),  Rgb(120, 255, 160), Rgb(60, 220, 110),
        Rgb(255, 90, 90),   Rgb(230, 40, 40),   Rgb(255, 160, 230), Rgb(200, 110, 255),
        Rgb(140, 255, 255), Rgb(60, 200, 220),  Rgb(255, 255, 120), Rgb(160, 80, 255)};
    for (int i = 0; i < 16; ++i) {
        m_colors[static_cast<std::size_t>(kFirstBright + 16 + i)] = lamps[i];
    }
    m_cache.assign(2 * 64 * 64 * 64, -1);
}

std::vector<std::uint8_t> Palette::FileBytes() const {
    std::vector<std::uint8_t> bytes;
    for (const Color& c : m_colors) {
        bytes.push_back(static_cast<std::uint8_t>(std::lround(c.r)));
        bytes.push_back(static_cast<std::uint8_t>(std::lround(c.g)));
        bytes.push_back(static_cast<std::uint8_t>(std::lround(c.b)));
    }
    return bytes;
}

std::uint8_t Palette::Nearest(const Color& color, bool allowBright) const {
    Color c = color.Clamped();
    int key = (static_cast<int>(c.r) >> 2) << 12 | (static_cast<int>(c.g) >> 2) << 6 |
              (static_cast<int>(c.b) >> 2);
    key += allowBright ? 64 * 64 * 64 : 0;
    std::int16_t& cached = m_cache[static_cast<std::size_t>(key)];
    if (cached >= 0) {
        return static_cast<std::uint8_t>(cached);
    }
    int best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    const int count = allowBright ? 256 : kFirstBright;
    for (int i = 0; i < count; ++i) {
        const Color& p = m_colors[static_cast<std::size_t>(i)];
        float dr = (p.r - c.r) * 0.30f;
        float dg = (p.g - c.g) * 0.59f;
        float db = (p.b - c.b) * 0.11f;
        // Keep some weight on hue so greys do not drift into tinted ramps.
        float distance = dr * dr + dg * dg + db * db +
                         0.25f * ((p.r - c.r) * (p.r - c.r) + (p.g - c.g) * (p.g - c.g) +
                                  (p.b - c.b) * (p.b - c.b));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    cached = static_cast<std::int16_t>(best);
    return static_cast<std::uint8_t>(best);
}
