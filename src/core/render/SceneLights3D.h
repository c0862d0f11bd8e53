#pragma once

#include "geometry/Vector.h"

#include <array>

// The lights of the 3D view's scene, in map coordinates: a grey ambient light and two
// directional lights, each shining from a point toward the map's origin.
struct SceneLights3D {
    struct Directional {
        Vector direction; // unit length, the way the light travels
        Vector color;
    };

    Vector ambient{0.5f, 0.5f, 0.5f};
    std::array<Directional, 2> lights{{
        {{0.70710678f, 0.0f, 0.70710678f}, {1.0f, 1.0f, 1.0f}},   // from (-3000, 0, -3000)
        {{-0.70710678f, 0.0f, -0.70710678f}, {0.8f, 0.8f, 0.8f}}, // from (3000, 0, 3000)
    }};

    // How bright a face with this unit normal is, per colour component (at most 1).
    Vector Brightness(const Vector& normal) const {
        Vector light = ambient;
        for (const Directional& d : lights) {
            const float facing = -DotProduct(normal, d.direction);
            if (facing > 0.0f) {
                light += d.color * facing;
            }
        }
        for (int i = 0; i < 3; ++i) {
            if (light[i] > 1.0f) {
                light[i] = 1.0f;
            }
        }
        return light;
    }
};
