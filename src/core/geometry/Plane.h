#pragma once

#include "geometry/Vector.h"

// Points p with p . normal == dist lie on the plane; p . normal > dist is the front.
struct Plane {
    Vector normal;
    float dist = 0.0f;
};
