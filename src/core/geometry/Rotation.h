#pragma once

#include "geometry/Vector.h"

// Turns p about center: first about the x axis by angles.x degrees (in the y-z plane), then
// about y by angles.y (x-z), then about z by angles.z (x-y). Zero angles are skipped.
inline Vector RotateAbout(const Vector& p, const Vector& center, const Vector& angles) {
    Vector r = p - center;
    if (angles.x != 0.0f) {
        RotatePoint2D(r.y, r.z, angles.x, r.y, r.z);
    }
    if (angles.y != 0.0f) {
        RotatePoint2D(r.x, r.z, angles.y, r.x, r.z);
    }
    if (angles.z != 0.0f) {
        RotatePoint2D(r.x, r.y, angles.z, r.x, r.y);
    }
    return r + center;
}
