#pragma once

#include "geometry/Vector.h"

// A transformation of single points, supplied by the active 2D tool (move, scale, rotate,
// shear) and applied by TransformByTool to every point of the objects it changes.
class PointTransform {
public:
    virtual ~PointTransform() = default;
    virtual void TransformPoint(Vector& point) const = 0;
};
