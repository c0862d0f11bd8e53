#include "TextureArt.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// What a recipe says about one pixel: its colour, its height for the relief shading, and
// whether it glows (glowing pixels are neither shaded nor mapped to ordinary colours).
struct Surface {
    Color albedo;
    float height = 0.0f;
    bool bright = false;
};

using Recipe = std::function<Surface(float x, float y)>;

struct TexturePlan {
    std::string name;
    int width;
    int height;
    float relief; // strength of the light from the upper left
    Recipe recipe;
};

float Fract(float v) {
    return v - std::floor(v);
}

float SmoothStep(float edge0, float edge1, float v) {
    float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Running bond bricks: rows x cols per texture, every other row shifted half a brick.
struct BrickCell {
    int id;
    float edge; // distance to the nearest mortar line, in pixels
    float u, v; // position inside the brick, 0..1
};

BrickCell Brick(float x, float y, int w, int h, int rows, int cols) {
    float bh = static_cast<float>(h) / rows;
    float bw = static_cast<float>(w) / cols;
    int row = static_cast<int>(std::floor(y / bh));
    float shifted = x + ((row % 2) ? bw * 0.5f : 0.0f);
    int col = static_cast<int>(std::floor(shifted / bw));
    float lx = shifted - col * bw;
    float ly = y - row * bh;
    float edge = std::min(std::min(lx, bw - lx), std::min(ly, bh - ly));
    int id = Wrap(col, cols) + 97 * Wrap(row, rows);
    return {id, edge, lx / bw, ly / bh};
}

// Tileable cells around jittered points: distance to the nearest and second nearest point.
struct CellInfo {
    int id;
    float nearest;
    float second;
};

CellInfo Cells(float x, float y, int w, int h, int across, int seed) {
    int down = std::max(1, across * h / w);
    float cw = static_cast<float>(w) / across;
    float ch = static_cast<float>(h) / down;
    int cx = static_cast<int>(std::floor(x / cw));
    int cy = static_cast<int>(std::floor(y / ch));
    CellInfo info{0, 1e9f, 1e9f};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int gx = cx + dx;
            int gy = cy + dy;
            int wx = Wrap(gx, across);
            int wy = Wrap(gy, down);
            float px = (gx + 0.15f + 0.7f * Hash(wx, wy, seed)) * cw;
            float py = (gy + 0.15f + 0.7f * Hash(wx, wy, seed + 7)) * ch;
            float d = std::hypot(px - x, py - y);
            if (d < info.nearest) {
                info.second = info.nearest;
                info.nearest = d;
                info.id = wx + 131 * wy;
            } else if (d < info.second) {
                info.second = d;
            }
        }
    }
    return info;
}

Surface Stone(float x, float y, int w, int h, const Color& base, int seed) {
    float n = Fbm(x, y, w, h, 4, 4, seed);
    return {base * (0.75f + 0.5f * n), n};
}

Surface Bricks(float x, float y, int w, int h, int rows, int cols, const Color& brick,
               const Color& mortar, int seed) {
    BrickCell cell = Brick(x, y, w, h, rows, cols);
    float grain = Fbm(x, y, w, h, 8, 3, seed);
    float tone = 0.8f + 0.4f * Hash(cell.id, 3, seed);
    float bevel = SmoothStep(0.5f, 2.5f, cell.edge);
    Color color = Mix(mortar * (0.8f + 0.3f * grain), brick * tone * (0.8f + 0.35f * grain),
                      SmoothStep(0.8f, 1.6f, cell.edge));
    return {color, bevel * (0.8f + 0.2f * grain)};
}

Surface Planks(float x, float y, int w, int h, int boards, const Color& wood, int seed) {
    float bw = static_cast<float>(w) / boards;
    int board = static_cast<int>(x / bw);
    float lx = x - board * bw;
    float edge = std::min(lx, bw - lx);
    float rings = Fbm(x * 0.2f, y, w, h, 2, 2, seed + board);
    float grain = std::sin((x * 0.9f + rings * 14.0f + Hash(board, 1, seed) * 6.0f) * 1.7f);
    float tone = 0.8f + 0.35f * Hash(board, 5, seed);
    Color color = wood * tone * (0.85f + 0.12f * grain);
    // Board ends, staggered per board.
    float joint = Fract(y / h + Hash(board, 9, seed));
    float end = std::min(joint, 1.0f - joint) * h;
    float gap = std::min(edge, end * 4.0f);
    color = Mix(color * 0.35f, color, SmoothStep(0.3f, 1.2f, gap));
    return {color, SmoothStep(0.0f, 2.0f, gap) * (0.9f + 0.1f * grain)};
}

Surface MetalPlate(float x, float y, int w, int h, int across, int down, const Color& metal,
                   int seed, bool rivets) {
    float pw = static_cast<float>(w) / across;
    float ph = static_cast<float>(h) / down;
    float lx = Fract(x / pw) * pw;
    float ly = Fract(y / ph) * ph;
    float edge = std::min(std::min(lx, pw - lx), std::min(ly, ph - ly));
    float scratches = Fbm(x, y * 0.25f, w, h, 16, 3, seed);
    float n = Fbm(x, y, w, h, 4, 4, seed + 3);
    Color color = metal * (0.8f + 0.25f * n + 0.1f * scratches);
    float height = SmoothStep(0.0f, 3.0f, edge);
    if (rivets) {
        float rx = std::min(lx, pw - lx) - 4.0f;
        float ry = std::min(ly, ph - ly) - 4.0f;
        float d = std::hypot(rx, ry);
        if (d < 2.2f) {
            height = 1.4f - d * 0.2f;
            color = metal * 1.15f;
        }
    }
    color = Mix(color * 0.45f, color, SmoothStep(0.0f, 1.5f, edge));
    return {color, height};
}

Surface Rust(float x, float y, int w, int h, const Color& metal, int seed) {
    Surface s = MetalPlate(x, y, w, h, 2, 2, metal, seed, true);
    float rust = Fbm(x, y, w, h, 4, 5, seed + 11);
    float amount = SmoothStep(0.45f, 0.7f, rust);
    s.albedo = Mix(s.albedo, Rgb(130, 62, 26) * (0.7f + 0.6f * rust), amount);
    s.height += amount * 0.3f * Fbm(x, y, w, h, 16, 2, seed + 5);
    return s;
}

Surface Liquid(float x, float y, int w, int h, const Color& deep, const Color& light, int seed,
               bool glow) {
    float warp = Fbm(x, y, w, h, 2, 3, seed);
    float waves = Fbm(x + warp * 20.0f, y - warp * 20.0f, w, h, 4, 4, seed + 4);
    float ripple = std::sin((waves * 9.0f) * 3.14159f) * 0.5f + 0.5f;
    Color color = Mix(deep, light, SmoothStep(0.3f, 1.0f, ripple * waves + 0.3f * warp));
    return {color, ripple * 0.3f, glow};
}

std::vector<TexturePlan> Plans() {
    std::vector<TexturePlan> plans;
    auto add = [&](std::string name, int w, int h, float relief,
                   std::function<Surface(float, float, int, int)> recipe) {
        plans.push_back(
            TexturePlan{std::move(name), w, h, relief,
                        [recipe, w, h](float x, float y) { return recipe(x, y, w, h); }});
    };

    // Walls.
    add("brick_red", 128, 128, 1.6f, [](float x, float y, int w, int h) {
        return Bricks(x, y, w, h, 8, 4, Rgb(150, 62, 46), Rgb(140, 130, 115), 1);
    });
    add("brick_grey", 64, 64, 1.6f, [](float x, float y, int w, int h) {
        return Bricks(x, y, w, h, 4, 2, Rgb(135, 135, 135), Rgb(80, 78, 74), 2);
    });
    add("brick_tan", 96, 96, 1.6f, [](float x, float y, int w, int h) {
        return Bricks(x, y, w, h, 6, 3, Rgb(190, 160, 110), Rgb(110, 95, 75), 3);
    });
    add("brick_small", 48, 48, 1.4f, [](float x, float y, int w, int h) {
        return Bricks(x, y, w, h, 6, 3, Rgb(120, 80, 60), Rgb(90, 86, 80), 4);
    });
    add("stone_block", 128, 128, 1.8f, [](float x, float y, int w, int h) {
        Surface b = Bricks(x, y, w, h, 4, 2, Rgb(150, 140, 124), Rgb(70, 66, 60), 5);
        Surface st = Stone(x, y, w, h, Rgb(150, 140, 124), 6);
        return Surface{Mix(b.albedo, st.albedo, 0.4f), b.height + 0.3f * st.height};
    });
    add("stone_rough", 64, 64, 2.2f,
        [](float x, float y, int w, int h) { return Stone(x, y, w, h, Rgb(128, 122, 112), 7); });
    add("stone_cobble", 80, 80, 2.0f, [](float x, float y, int w, int h) {
        CellInfo c = Cells(x, y, w, h, 5, 8);
        float gap = c.second - c.nearest;
        float n = Fbm(x, y, w, h, 8, 3, 9);
        Color stone = Rgb(140, 132, 120) * (0.75f + 0.4f * Hash(c.id, 2, 8)) * (0.85f + 0.3f * n);
        Color color = Mix(Rgb(60, 56, 50), stone, SmoothStep(1.0f, 3.0f, gap));
        return Surface{color, SmoothStep(0.0f, 6.0f, gap) - c.nearest * 0.02f};
    });
    add("stone_mossy", 112, 112, 1.8f, [](float x, float y, int w, int h) {
        Surface b = Bricks(x, y, w, h, 4, 2, Rgb(130, 128, 118), Rgb(60, 64, 52), 10);
        float moss = SmoothStep(0.5f, 0.7f, Fbm(x, y, w, h, 4, 5, 11));
        b.albedo =
            Mix(b.albedo, Rgb(70, 110, 50) * (0.7f + 0.5f * Fbm(x, y, w, h, 16, 2, 12)), moss);
        return b;
    });
    add("stone_slab", 256, 256, 1.5f, [](float x, float y, int w, int h) {
        Surface b = Bricks(x, y, w, h, 2, 2, Rgb(120, 116, 110), Rgb(50, 48, 45), 13);
        float veins = std::abs(std::sin(Fbm(x, y, w, h, 4, 5, 14) * 18.0f));
        b.albedo = Mix(b.albedo * 0.9f, b.albedo * 1.15f, SmoothStep(0.0f, 0.2f, veins));
        return b;
    });
    add("rock_cave", 256, 128, 2.5f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 4, 6, 15);
        float strata = std::sin((y + n * 40.0f) * 0.25f) * 0.5f + 0.5f;
        Color color = Mix(Rgb(90, 70, 52), Rgb(150, 124, 96), 0.6f * n + 0.4f * strata);
        return Surface{color, n + 0.2f * strata};
    });
    add("wall_plaster", 64, 64, 1.0f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 4, 5, 16);
        float crack = std::abs(Fbm(x, y, w, h, 2, 4, 17) - 0.5f);
        Color color = Rgb(196, 182, 150) * (0.85f + 0.25f * n);
        if (crack < 0.012f) {
            color = color * 0.6f;
        }
        return Surface{color, n * 0.5f};
    });
    add("wall_panel", 64, 128, 1.6f, [](float x, float y, int w, int h) {
        return MetalPlate(x, y, w, h, 1, 2, Rgb(110, 122, 138), 18, false);
    });

    // Floors.
    add("floor_tile", 64, 64, 1.3f, [](float x, float y, int w, int h) {
        BrickCell c = Brick(x, y, w, h, 4, 4);
        float n = Fbm(x, y, w, h, 8, 3, 19);
        bool dark = ((static_cast<int>(x / 16) + static_cast<int>(y / 16)) % 2) != 0;
        Color tile = (dark ? Rgb(110, 96, 80) : Rgb(176, 160, 130)) * (0.88f + 0.2f * n);
        return Surface{Mix(Rgb(70, 66, 60), tile, SmoothStep(0.6f, 1.4f, c.edge)),
                       SmoothStep(0.0f, 2.0f, c.edge)};
    });
    add("floor_check", 32, 32, 0.6f, [](float x, float y, int w, int h) {
        bool dark = ((static_cast<int>(x / 8) + static_cast<int>(y / 8)) % 2) != 0;
        float n = Fbm(x, y, w, h, 4, 2, 20);
        return Surface{(dark ? Rgb(50, 50, 56) : Rgb(200, 200, 196)) * (0.9f + 0.15f * n), n};
    });
    add("floor_slate", 128, 128, 1.6f, [](float x, float y, int w, int h) {
        CellInfo c = Cells(x, y, w, h, 4, 21);
        float gap = c.second - c.nearest;
        float n = Fbm(x, y, w, h, 8, 4, 22);
        Color slate = Rgb(84, 92, 100) * (0.75f + 0.35f * Hash(c.id, 4, 21)) * (0.85f + 0.3f * n);
        return Surface{Mix(Rgb(40, 40, 40), slate, SmoothStep(0.8f, 2.5f, gap)),
                       SmoothStep(0.0f, 3.0f, gap) + 0.2f * n};
    });
    add("floor_grate", 64, 64, 2.0f, [](float x, float y, int w, int h) {
        float gx = Fract(x / 8.0f);
        float gy = Fract(y / 8.0f);
        bool bar = gx < 0.3f || gy < 0.3f;
        float n = Fbm(x, y, w, h, 4, 3, 23);
        if (!bar) {
            return Surface{Rgb(14, 14, 16), -1.0f};
        }
        return Surface{Rgb(120, 124, 130) * (0.7f + 0.4f * n), 1.0f};
    });
    add("floor_dirt", 144, 144, 2.0f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 6, 5, 24);
        float pebbles = SmoothStep(0.62f, 0.66f, Fbm(x, y, w, h, 24, 2, 25));
        Color color = Mix(Rgb(96, 72, 50) * (0.7f + 0.5f * n), Rgb(150, 140, 120), pebbles);
        return Surface{color, n + pebbles * 0.5f};
    });
    add("ground_grass", 128, 128, 1.8f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 8, 5, 26);
        float blades = Fbm(x, y * 0.3f, w, h, 32, 2, 27);
        Color color = Mix(Rgb(60, 90, 36), Rgb(110, 150, 60), 0.5f * n + 0.5f * blades);
        return Surface{color, blades};
    });
    add("sand", 48, 48, 1.2f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 6, 4, 28);
        float ripple = std::sin((y + n * 12.0f) * 0.8f) * 0.5f + 0.5f;
        return Surface{Rgb(200, 176, 126) * (0.85f + 0.2f * n), ripple * 0.5f};
    });

    // Metal.
    add("metal_plate", 64, 64, 1.5f, [](float x, float y, int w, int h) {
        return MetalPlate(x, y, w, h, 2, 2, Rgb(120, 130, 140), 29, false);
    });
    add("metal_rivet", 64, 64, 1.5f, [](float x, float y, int w, int h) {
        return MetalPlate(x, y, w, h, 2, 2, Rgb(110, 116, 120), 30, true);
    });
    add("metal_rust", 128, 128, 1.5f,
        [](float x, float y, int w, int h) { return Rust(x, y, w, h, Rgb(110, 112, 116), 31); });
    add("metal_trim", 16, 64, 1.8f, [](float x, float y, int w, int h) {
        Surface s = MetalPlate(x, y, w, h, 1, 4, Rgb(140, 140, 150), 32, false);
        s.height += std::sin(x / w * 3.14159f) * 0.8f;
        return s;
    });
    add("metal_stripe", 64, 16, 1.0f, [](float x, float y, int w, int h) {
        bool yellow = Fract((x + y) / 16.0f) < 0.5f;
        float n = Fbm(x, y, w, h, 8, 3, 33);
        Color color = yellow ? Rgb(210, 170, 40) : Rgb(30, 30, 30);
        float edge = std::min(y, h - 1 - y);
        return Surface{color * (0.8f + 0.3f * n), SmoothStep(0.0f, 2.0f, edge)};
    });
    add("metal_blue", 80, 48, 1.5f, [](float x, float y, int w, int h) {
        return MetalPlate(x, y, w, h, 5, 3, Rgb(70, 100, 160), 34, false);
    });
    add("tech_panel", 128, 64, 1.6f, [](float x, float y, int w, int h) {
        Surface s = MetalPlate(x, y, w, h, 4, 2, Rgb(100, 108, 116), 35, false);
        float lx = Fract(x / 32.0f) * 32.0f;
        float ly = Fract(y / 32.0f) * 32.0f;
        if (lx > 12 && lx < 20 && ly > 22 && ly < 26) {
            bool green = Hash(static_cast<int>(x / 32), static_cast<int>(y / 32), 35) > 0.5f;
            return Surface{green ? Rgb(60, 220, 110) : Rgb(230, 40, 40), 1.0f, true};
        }
        return s;
    });
    add("tech_pipe", 32, 128, 2.0f, [](float x, float y, int w, int h) {
        float pipe = Fract(x / 16.0f) * 2.0f - 1.0f;
        float round = std::sqrt(std::max(0.0f, 1.0f - pipe * pipe));
        float band = Fract(y / 64.0f) < 0.06f ? 1.0f : 0.0f;
        float n = Fbm(x, y, w, h, 4, 3, 36);
        Color color = Mix(Rgb(120, 120, 110), Rgb(170, 140, 60), band) * (0.6f + 0.4f * round) *
                      (0.9f + 0.2f * n);
        return Surface{color, round + band * 0.3f};
    });

    // Wood.
    add("wood_plank", 64, 64, 1.4f, [](float x, float y, int w, int h) {
        return Planks(x, y, w, h, 4, Rgb(150, 100, 58), 37);
    });
    add("wood_dark", 96, 48, 1.4f,
        [](float x, float y, int w, int h) { return Planks(x, y, w, h, 6, Rgb(96, 60, 36), 38); });
    add("wood_beam", 16, 128, 1.6f, [](float x, float y, int w, int h) {
        Surface s = Planks(x, y, w, h, 1, Rgb(120, 80, 46), 39);
        s.height += std::sin(x / w * 3.14159f) * 0.5f;
        return s;
    });
    add("wood_crate", 64, 64, 1.8f, [](float x, float y, int w, int h) {
        Surface s = Planks(y, x, h, w, 4, Rgb(160, 116, 64), 40);
        float frame = std::min(std::min(x, w - x), std::min(y, h - y));
        float diagonal = std::abs(x - y);
        if (frame < 7.0f || diagonal < 5.0f) {
            s.albedo = s.albedo * 0.8f;
            s.height += 1.0f;
        }
        return s;
    });
    add("door_wood", 64, 128, 1.6f, [](float x, float y, int w, int h) {
        Surface s = Planks(x, y * 0.25f, w, h, 4, Rgb(130, 86, 48), 41);
        float bandY = std::min(std::abs(y - 24.0f), std::abs(y - 104.0f));
        if (bandY < 5.0f) {
            float n = Fbm(x, y, w, h, 8, 2, 42);
            s = Surface{Rgb(70, 70, 76) * (0.8f + 0.4f * n), 1.2f};
            if (Fract(x / 16.0f) > 0.4f && Fract(x / 16.0f) < 0.6f && bandY < 2.0f) {
                s.height = 1.8f;
                s.albedo = Rgb(150, 150, 150);
            }
        }
        return s;
    });
    add("door_metal", 64, 128, 1.6f, [](float x, float y, int w, int h) {
        Surface s = MetalPlate(x, y, w, h, 1, 1, Rgb(100, 104, 112), 43, false);
        float stripe = Fract((x + y) / 24.0f);
        if (std::abs(y - 64.0f) < 6.0f) {
            s.albedo = stripe < 0.5f ? Rgb(200, 160, 40) : Rgb(30, 30, 30);
            s.height = 1.2f;
        }
        return s;
    });
    add("trim_gold", 32, 32, 2.0f, [](float x, float y, int w, int h) {
        float wave = std::sin(x / w * 6.28318f * 2.0f) * 4.0f;
        float d = std::abs(y - h / 2.0f - wave);
        float n = Fbm(x, y, w, h, 4, 2, 44);
        return Surface{Rgb(200, 160, 60) * (0.75f + 0.35f * n) * (d < 4 ? 1.1f : 0.8f),
                       1.0f - std::min(d, 8.0f) / 8.0f};
    });
    add("window_glass", 48, 48, 1.2f, [](float x, float y, int, int) {
        float lx = Fract(x / 24.0f) * 24.0f;
        float ly = Fract(y / 24.0f) * 24.0f;
        float edge = std::min(std::min(lx, 24 - lx), std::min(ly, 24 - ly));
        if (edge < 2.5f) {
            return Surface{Rgb(60, 60, 64), 1.0f};
        }
        float shine = SmoothStep(0.0f, 1.0f, 1.0f - std::abs(lx - ly) / 6.0f);
        return Surface{Mix(Rgb(60, 96, 140), Rgb(150, 190, 220), shine * 0.6f), 0.0f};
    });

    // Lights and signs.
    add("light_panel", 32, 32, 1.5f, [](float x, float y, int, int) {
        float edge = std::min(std::min(x, 31 - x), std::min(y, 31 - y));
        if (edge < 4.0f) {
            return Surface{Rgb(110, 112, 118), SmoothStep(0.0f, 3.0f, edge)};
        }
        float glow = 1.0f - std::hypot(x - 15.5f, y - 15.5f) / 20.0f;
        return Surface{Mix(Rgb(255, 230, 160), Rgb(255, 255, 255), glow), 0.0f, true};
    });
    add("light_strip", 64, 16, 1.5f, [](float x, float y, int, int) {
        float edge = std::min(y, 15 - y);
        if (edge < 3.0f || Fract(x / 32.0f) < 0.06f) {
            return Surface{Rgb(100, 100, 106), 1.0f};
        }
        return Surface{Mix(Rgb(150, 200, 255), Rgb(200, 230, 255), edge / 8.0f), 0.0f, true};
    });
    add("sign_arrow", 64, 32, 1.0f, [](float x, float y, int, int) {
        float edge = std::min(std::min(x, 63 - x), std::min(y, 31 - y));
        if (edge < 3.0f) {
            return Surface{Rgb(120, 120, 120), 1.0f};
        }
        // An arrow pointing right.
        bool shaft = x > 12 && x < 40 && std::abs(y - 15.5f) < 4.0f;
        bool head = x >= 40 && x < 54 && std::abs(y - 15.5f) < (54 - x) * 0.8f;
        if (shaft || head) {
            return Surface{Rgb(60, 220, 110), 0.0f, true};
        }
        return Surface{Rgb(20, 40, 24), 0.0f};
    });

    // Liquids (names starting with '*' are drawn warped by the game).
    add("*water", 64, 64, 0.3f, [](float x, float y, int w, int h) {
        return Liquid(x, y, w, h, Rgb(20, 60, 90), Rgb(70, 150, 160), 45, false);
    });
    add("*slime", 64, 64, 0.5f, [](float x, float y, int w, int h) {
        Surface s = Liquid(x, y, w, h, Rgb(40, 80, 16), Rgb(130, 200, 40), 46, false);
        CellInfo c = Cells(x, y, w, h, 4, 47);
        if (c.nearest < 3.0f + 2.0f * Hash(c.id, 1, 47)) {
            s.albedo = Rgb(170, 230, 80);
            s.height = 1.0f;
        }
        return s;
    });
    add("*lava", 64, 64, 0.0f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 3, 4, 48);
        CellInfo c = Cells(x, y, w, h, 3, 49);
        float crust = SmoothStep(2.0f, 7.0f, c.second - c.nearest);
        Color hot = Mix(Rgb(255, 120, 0), Rgb(255, 240, 150), n);
        Color color = Mix(hot, Rgb(150, 20, 0) * (0.6f + 0.6f * n), crust * 0.85f);
        return Surface{color, 0.0f, true};
    });
    add("*teleport", 64, 64, 0.0f, [](float x, float y, int w, int h) {
        float n = Fbm(x, y, w, h, 4, 5, 50);
        float swirl = std::sin((n * 12.0f + x / w * 6.28318f) * 2.0f) * 0.5f + 0.5f;
        return Surface{Mix(Rgb(40, 10, 80), Rgb(200, 110, 255), swirl * n * 1.4f), 0.0f, true};
    });

    // Sky: the left half is the moving cloud layer (black where clear), the right half the
    // distant layer behind it.
    add("sky", 256, 128, 0.0f, [](float x, float y, int, int) {
        if (x < 128.0f) {
            float clouds = Fbm(x, y, 128, 128, 4, 5, 51);
            float cover = SmoothStep(0.5f, 0.75f, clouds);
            if (cover < 0.15f) {
                return Surface{Rgb(0, 0, 0), 0.0f};
            }
            return Surface{Mix(Rgb(90, 70, 110), Rgb(200, 180, 200), cover), 0.0f};
        }
        float bx = x - 128.0f;
        float haze = Fbm(bx, y, 128, 128, 4, 4, 52);
        Color color = Mix(Rgb(20, 24, 60), Rgb(70, 60, 120), haze);
        if (Hash(static_cast<int>(bx), static_cast<int>(y), 53) > 0.985f) {
            color = Rgb(230, 230, 240);
        }
        return Surface{color, 0.0f};
    });

    // Tool textures the compile tools know by name.
    add("trigger", 64, 64, 0.0f, [](float x, float y, int, int) {
        bool stripe = Fract((x - y) / 16.0f) < 0.5f;
        return Surface{stripe ? Rgb(200, 110, 255) : Rgb(90, 40, 120), 0.0f, true};
    });
    add("clip", 64, 64, 0.0f, [](float x, float y, int, int) {
        bool cross = std::abs(x - y) < 3.0f || std::abs(x + y - 63.0f) < 3.0f;
        float edge = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
        return Surface{(cross || edge < 3.0f) ? Rgb(230, 40, 40) : Rgb(80, 30, 30), 0.0f, true};
    });

    // Animated frames: "+0name", "+1name", ... are played in order by the game.
    for (int frame = 0; frame < 2; ++frame) {
        add("+" + std::to_string(frame) + "button", 32, 32, 1.6f,
            [frame](float x, float y, int w, int h) {
                Surface s = MetalPlate(x, y, w, h, 1, 1, Rgb(100, 100, 110), 54, false);
                float d = std::hypot(x - 15.5f, y - 15.5f);
                if (d < 9.0f) {
                    Color lamp = frame == 0 ? Rgb(230, 40, 40) : Rgb(60, 220, 110);
                    return Surface{lamp * (1.0f - d / 30.0f), 1.5f - d * 0.1f, true};
                }
                return s;
            });
    }
    for (int frame = 0; frame < 4; ++frame) {
        add("+" + std::to_string(frame) + "screen", 64, 64, 1.0f,
            [frame](float x, float y, int w, int h) {
                float edge = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
                if (edge < 5.0f) {
                    return MetalPlate(x, y, w, h, 1, 1, Rgb(90, 96, 104), 55, false);
                }
                float scan = Fract(y / 64.0f - frame * 0.25f);
                float wave = std::sin(x / 64.0f * 6.28318f * 2.0f + frame * 1.5708f) * 10.0f;
                bool trace = std::abs(y - 32.0f - wave) < 1.5f;
                Color color = Mix(Rgb(10, 40, 30), Rgb(30, 90, 60), scan);
                if (trace) {
                    color = Rgb(140, 255, 255);
                }
                return Surface{color, 0.0f, true};
            });
    }
    return plans;
}

// Shades a recipe into an RGB image with a relief light from the upper left.
void Render(const TexturePlan& plan, std::vector<Color>& image, std::vector<bool>& bright) {
    const int w = plan.width;
    const int h = plan.height;
    std::vector<Surface> surfaces(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            surfaces[static_cast<std::size_t>(y * w + x)] =
                plan.recipe(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
        }
    }
    auto heightAt = [&](int x, int y) {
        return surfaces[static_cast<std::size_t>(Wrap(y, h) * w + Wrap(x, w))].height;
    };
    image.resize(surfaces.size());
    bright.resize(surfaces.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Surface& s = surfaces[static_cast<std::size_t>(y * w + x)];
            float slope = (heightAt(x - 1, y) - heightAt(x + 1, y)) +
                          (heightAt(x, y - 1) - heightAt(x, y + 1));
            float shade =
                s.bright ? 1.0f : std::clamp(1.0f + plan.relief * slope * 0.35f, 0.4f, 1.6f);
            image[static_cast<std::size_t>(y * w + x)] = (s.albedo * shade).Clamped();
            bright[static_cast<std::size_t>(y * w + x)] = s.bright;
        }
    }
}

std::vector<std::uint8_t> Quantize(const Palette& palette, const std::vector<Color>& image,
                                   const std::vector<bool>& bright, int w, int seed) {
    std::vector<std::uint8_t> indices(image.size());
    for (std::size_t i = 0; i < image.size(); ++i) {
        int x = static_cast<int>(i % static_cast<std::size_t>(w));
        int y = static_cast<int>(i / static_cast<std::size_t>(w));
        // A little noise breaks up banding between palette shades.
        float dither = (Hash(x, y, seed) - 0.5f) * 6.0f;
        indices[i] = palette.Nearest(image[i] + Color{dither, dither, dither}, bright[i]);
    }
    return indices;
}

} // namespace

std::vector<GeneratedTexture> DrawAllTextures(const Palette& palette) {
    std::vector<GeneratedTexture> textures;
    int seed = 1000;
    for (const TexturePlan& plan : Plans()) {
        GeneratedTexture texture;
        texture.name = plan.name;
        texture.width = plan.width;
        texture.height = plan.height;
        std::vector<Color> image;
        std::vector<bool> bright;
        Render(plan, image, bright);
        int w = plan.width;
        int h = plan.height;
        for (int level = 0; level < 4; ++level) {
            texture.levels[static_cast<std::size_t>(level)] =
                Quantize(palette, image, bright, w, ++seed);
            if (level == 3) {
                break;
            }
            // Box-filter to the next level down.
            int nw = std::max(w / 2, 1);
            int nh = std::max(h / 2, 1);
            std::vector<Color> smaller(static_cast<std::size_t>(nw * nh));
            std::vector<bool> smallerBright(smaller.size());
            for (int y = 0; y < nh; ++y) {
                for (int x = 0; x < nw; ++x) {
                    Color sum;
                    bool anyBright = false;
                    for (int dy = 0; dy < 2; ++dy) {
                        for (int dx = 0; dx < 2; ++dx) {
                            std::size_t at = static_cast<std::size_t>(
                                std::min(y * 2 + dy, h - 1) * w + std::min(x * 2 + dx, w - 1));
                            sum = sum + image[at];
                            anyBright = anyBright || bright[at];
                        }
                    }
                    smaller[static_cast<std::size_t>(y * nw + x)] = sum * 0.25f;
                    smallerBright[static_cast<std::size_t>(y * nw + x)] = anyBright;
                }
            }
            image = std::move(smaller);
            bright = std::move(smallerBright);
            w = nw;
            h = nh;
        }
        textures.push_back(std::move(texture));
    }
    return textures;
}
