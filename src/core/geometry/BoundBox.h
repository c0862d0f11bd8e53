#pragma once

#include "geometry/Vector.h"

// Axis-aligned box. Empty: mins 99999, maxs -99999 on every axis.
struct BoundBox {
    static constexpr float kEmptyMin = 99999.0f;
    static constexpr float kEmptyMax = -99999.0f;

    Vector mins{kEmptyMin, kEmptyMin, kEmptyMin};
    Vector maxs{kEmptyMax, kEmptyMax, kEmptyMax};

    void ResetBounds() {
        mins = Vector{kEmptyMin, kEmptyMin, kEmptyMin};
        maxs = Vector{kEmptyMax, kEmptyMax, kEmptyMax};
    }
    bool IsEmpty() const { return mins.x > maxs.x || mins.y > maxs.y || mins.z > maxs.z; }

    void UpdateBounds(const Vector& point) {
        for (int i = 0; i < 3; ++i) {
            if (point[i] < mins[i]) {
                mins[i] = point[i];
            }
            if (point[i] > maxs[i]) {
                maxs[i] = point[i];
            }
        }
    }
    // An empty box adds nothing (growing by its sentinel corners would cover the whole map).
    void UpdateBounds(const BoundBox& other) {
        if (other.IsEmpty()) {
            return;
        }
        UpdateBounds(other.mins);
        UpdateBounds(other.maxs);
    }
    Vector Center() const { return (mins + maxs) * 0.5f; }
    Vector Size() const { return maxs - mins; }

    friend bool operator==(const BoundBox& a, const BoundBox& b) {
        return a.mins == b.mins && a.maxs == b.maxs;
    }
};
