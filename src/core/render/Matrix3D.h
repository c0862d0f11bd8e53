#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"

#include <array>
#include <cmath>

// A 4 x 4 matrix for the 3D view's transforms, stored column by column (element (row, column)
// at m[column * 4 + row]) so it can go to the graphics library as it is. Points are columns:
// transformed = M * point.
struct Matrix3D {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& At(int row, int column) { return m[static_cast<std::size_t>(column * 4 + row)]; }
    float At(int row, int column) const { return m[static_cast<std::size_t>(column * 4 + row)]; }
    const float* Data() const { return m.data(); }

    static Matrix3D Identity() { return {}; }

    friend Matrix3D operator*(const Matrix3D& a, const Matrix3D& b) {
        Matrix3D r;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                float sum = 0.0f;
                for (int k = 0; k < 4; ++k) {
                    sum += a.At(row, k) * b.At(k, column);
                }
                r.At(row, column) = sum;
            }
        }
        return r;
    }

    Vector TransformPoint(const Vector& p) const {
        return {At(0, 0) * p.x + At(0, 1) * p.y + At(0, 2) * p.z + At(0, 3),
                At(1, 0) * p.x + At(1, 1) * p.y + At(1, 2) * p.z + At(1, 3),
                At(2, 0) * p.x + At(2, 1) * p.y + At(2, 2) * p.z + At(2, 3)};
    }
    Vector TransformDirection(const Vector& d) const {
        return {At(0, 0) * d.x + At(0, 1) * d.y + At(0, 2) * d.z,
                At(1, 0) * d.x + At(1, 1) * d.y + At(1, 2) * d.z,
                At(2, 0) * d.x + At(2, 1) * d.y + At(2, 2) * d.z};
    }
    // The w a point gets (the depth in front of the eye for a perspective projection).
    float TransformW(const Vector& p) const {
        return At(3, 0) * p.x + At(3, 1) * p.y + At(3, 2) * p.z + At(3, 3);
    }

    // Turn by angle radians about axis (right-hand rule; axis need not be unit length).
    static Matrix3D Rotation(const Vector& axis, float angle) {
        Vector a = axis;
        const float length = VectorLength(a);
        Matrix3D r;
        if (length == 0.0f) {
            return r;
        }
        a = a * (1.0f / length);
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const float t = 1.0f - c;
        r.At(0, 0) = t * a.x * a.x + c;
        r.At(0, 1) = t * a.x * a.y - s * a.z;
        r.At(0, 2) = t * a.x * a.z + s * a.y;
        r.At(1, 0) = t * a.x * a.y + s * a.z;
        r.At(1, 1) = t * a.y * a.y + c;
        r.At(1, 2) = t * a.y * a.z - s * a.x;
        r.At(2, 0) = t * a.x * a.z - s * a.y;
        r.At(2, 1) = t * a.y * a.z + s * a.x;
        r.At(2, 2) = t * a.z * a.z + c;
        return r;
    }
};

// True when clip (map to clip coordinates) puts the whole box outside the view volume: all
// eight corners beyond the same side of it. A box that may be seen answers false.
inline bool IsBoxOutsideView(const Matrix3D& clip, const BoundBox& box) {
    if (box.IsEmpty()) {
        return true;
    }
    int outside[6] = {0, 0, 0, 0, 0, 0};
    for (int corner = 0; corner < 8; ++corner) {
        const Vector p{(corner & 1) ? box.maxs.x : box.mins.x,
                       (corner & 2) ? box.maxs.y : box.mins.y,
                       (corner & 4) ? box.maxs.z : box.mins.z};
        const Vector c = clip.TransformPoint(p);
        const float w = clip.TransformW(p);
        outside[0] += c.x < -w ? 1 : 0;
        outside[1] += c.x > w ? 1 : 0;
        outside[2] += c.y < -w ? 1 : 0;
        outside[3] += c.y > w ? 1 : 0;
        outside[4] += c.z < -w ? 1 : 0;
        outside[5] += c.z > w ? 1 : 0;
    }
    for (int count : outside) {
        if (count == 8) {
            return true;
        }
    }
    return false;
}
