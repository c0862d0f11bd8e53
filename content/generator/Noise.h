#pragma once

#include <cmath>
#include <cstdint>

// Tileable value noise: coordinates in cells, the lattice repeats every `period` cells, so a
// texture sampled over whole periods wraps without seams.
inline float Hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

inline int Wrap(int v, int period) {
    int m = v % period;
    return m < 0 ? m + period : m;
}

inline float ValueNoise(float x, float y, int periodX, int periodY, int seed) {
    int x0 = static_cast<int>(std::floor(x));
    int y0 = static_cast<int>(std::floor(y));
    float fx = x - static_cast<float>(x0);
    float fy = y - static_cast<float>(y0);
    float sx = fx * fx * (3.0f - 2.0f * fx);
    float sy = fy * fy * (3.0f - 2.0f * fy);
    int xa = Wrap(x0, periodX), xb = Wrap(x0 + 1, periodX);
    int ya = Wrap(y0, periodY), yb = Wrap(y0 + 1, periodY);
    float a = Hash(xa, ya, seed), b = Hash(xb, ya, seed);
    float c = Hash(xa, yb, seed), d = Hash(xb, yb, seed);
    float top = a + (b - a) * sx;
    float bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

// Fractal noise over a w x h texture at pixel (px, py): `cells` lattice cells across the
// texture at the first octave, doubling each octave. Result about 0..1.
inline float Fbm(float px, float py, int w, int h, int cells, int octaves, int seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    float total = 0.0f;
    int cx = cells;
    int cy = std::max(1, cells * h / w);
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * ValueNoise(px * cx / w, py * cy / h, cx, cy, seed + o * 101);
        total += amplitude;
        amplitude *= 0.5f;
        cx *= 2;
        cy *= 2;
    }
    return sum / total;
}
