#pragma once

#include <algorithm>
#include <cstdint>

// Colours while drawing: floating-point RGB in 0..255.
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;

    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Color operator*(float f) const { return {r * f, g * f, b * f}; }
    Color Clamped() const {
        return {std::clamp(r, 0.0f, 255.0f), std::clamp(g, 0.0f, 255.0f),
                std::clamp(b, 0.0f, 255.0f)};
    }
};

inline Color Mix(const Color& a, const Color& b, float t) {
    return a + (b - a) * t;
}

inline Color Rgb(int r, int g, int b) {
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}
