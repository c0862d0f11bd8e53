#pragma once

#include "geometry/Vector.h"
#include "geometry/Vector3d.h"

#include <cmath>

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

// The same turn in double precision, for plane points: the steps as RotatePoint2D takes them.
inline void RotatePoint2D(double a, double b, float degrees, double& outA, double& outB) {
    if (a == 0.0 && b == 0.0) {
        outA = 0.0;
        outB = 0.0;
        return;
    }
    if (degrees == 0.0f || degrees == 360.0f) {
        outA = a;
        outB = b;
        return;
    }
    if (degrees == 90.0f) {
        outA = -b;
        outB = a;
        return;
    }
    if (degrees == 180.0f) {
        outA = -a;
        outB = -b;
        return;
    }
    if (degrees == 270.0f) {
        outA = b;
        outB = -a;
        return;
    }
    constexpr double kDegreesToRadians = 0.0174533;
    const double radius = std::hypot(a, b);
    const double theta = std::atan2(b, a) + static_cast<double>(degrees) * kDegreesToRadians;
    outA = radius * std::cos(theta);
    outB = radius * std::sin(theta);
}

inline Vector3d RotateAbout(const Vector3d& p, const Vector& center, const Vector& angles) {
    Vector3d r = p - Vector3d(center);
    if (angles.x != 0.0f) {
        RotatePoint2D(r.y, r.z, angles.x, r.y, r.z);
    }
    if (angles.y != 0.0f) {
        RotatePoint2D(r.x, r.z, angles.y, r.x, r.z);
    }
    if (angles.z != 0.0f) {
        RotatePoint2D(r.x, r.y, angles.z, r.x, r.y);
    }
    return r + Vector3d(center);
}
