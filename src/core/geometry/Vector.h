#pragma once

#include <cmath>
#include <cstdint>

// Single-precision vector in map units.
struct Vector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector() = default;
    constexpr Vector(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    float& operator[](int axis) { return axis == 0 ? x : (axis == 1 ? y : z); }
    float operator[](int axis) const { return axis == 0 ? x : (axis == 1 ? y : z); }

    friend constexpr Vector operator+(const Vector& a, const Vector& b) {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend constexpr Vector operator-(const Vector& a, const Vector& b) {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend constexpr Vector operator*(const Vector& a, float s) {
        return {a.x * s, a.y * s, a.z * s};
    }
    constexpr Vector operator-() const { return {-x, -y, -z}; }
    Vector& operator+=(const Vector& b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }
    Vector& operator-=(const Vector& b) {
        x -= b.x;
        y -= b.y;
        z -= b.z;
        return *this;
    }
    // Exact, component by component.
    friend constexpr bool operator==(const Vector& a, const Vector& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z;
    }
};

inline float DotProduct(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline void CrossProduct(const Vector& a, const Vector& b, Vector& out) {
    Vector r{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    out = r;
}

inline Vector CrossProduct(const Vector& a, const Vector& b) {
    Vector r;
    CrossProduct(a, b, r);
    return r;
}

inline float VectorLength(const Vector& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Divides by the length; a zero vector is not guarded (callers screen for it).
inline void VectorNormalize(Vector& v) {
    float length = VectorLength(v);
    v.x /= length;
    v.y /= length;
    v.z /= length;
}

inline void VectorScale(const Vector& v, float scale, Vector& out) {
    out = v * scale;
}

// out = a + scale * b
inline void VectorMA(const Vector& a, float scale, const Vector& b, Vector& out) {
    out = Vector{a.x + scale * b.x, a.y + scale * b.y, a.z + scale * b.z};
}

inline bool VectorCompare(const Vector& a, const Vector& b) {
    return a == b;
}

// Rounds halves away from zero: 2.5 -> 3, -2.5 -> -3; either zero gives 0. As floor(value +
// 0.5) above zero and ceil(value - 0.5) below, negative zero included: below 2^23 a float may
// have a fraction, and cutting it off is the floor of a positive number and the ceiling of a
// negative one; from 2^23 on every float is whole.
inline float RoundCoord(float value) {
    constexpr float kAllWhole = 8388608.0f;
    if (value > 0.0f) {
        const float half = value + 0.5f;
        return half < kAllWhole ? static_cast<float>(static_cast<std::int32_t>(half)) : half;
    }
    if (value < 0.0f) {
        const float half = value - 0.5f;
        if (half > -kAllWhole) {
            const float cut = static_cast<float>(static_cast<std::int32_t>(half));
            return cut == 0.0f ? -0.0f : cut;
        }
        return half;
    }
    return 0.0f;
}

// Rotates the pair (a, b) by degrees. Exact for 0, 90, 180, 270 and 360 degrees; other
// angles use the editor's six-digit degree constant 0.0174533.
void RotatePoint2D(float a, float b, float degrees, float& outA, float& outB);
