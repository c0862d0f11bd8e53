#pragma once

#include "geometry/Vector.h"

#include <cmath>

// Double-precision vector for the numbers a file gives exactly: face plane points and texture
// axes. Geometry built for display (polygons, bounds) stays single precision.
struct Vector3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr Vector3d() = default;
    constexpr Vector3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}
    // Widening: every float is a double.
    constexpr Vector3d(const Vector& v) : x(v.x), y(v.y), z(v.z) {} // NOLINT(implicit)

    Vector ToFloat() const {
        return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    }

    double& operator[](int axis) { return axis == 0 ? x : (axis == 1 ? y : z); }
    double operator[](int axis) const { return axis == 0 ? x : (axis == 1 ? y : z); }

    friend constexpr Vector3d operator+(const Vector3d& a, const Vector3d& b) {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend constexpr Vector3d operator-(const Vector3d& a, const Vector3d& b) {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend constexpr Vector3d operator*(const Vector3d& a, double s) {
        return {a.x * s, a.y * s, a.z * s};
    }
    constexpr Vector3d operator-() const { return {-x, -y, -z}; }
    Vector3d& operator+=(const Vector3d& b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }
    friend constexpr bool operator==(const Vector3d& a, const Vector3d& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z;
    }
};

inline double Dot(const Vector3d& a, const Vector3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vector3d Cross(const Vector3d& a, const Vector3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double Length(const Vector3d& v) {
    return std::sqrt(Dot(v, v));
}

inline bool IsFinite(const Vector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
