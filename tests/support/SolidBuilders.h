#pragma once

#include "mapobjects/MapSolid.h"
#include "mapobjects/ShapeTemplate.h"

// Adds a face with three plane points, as a MAP file gives them.
inline CMapFace* AddPlaneFace(CMapSolid& solid, const Vector& p0, const Vector& p1,
                              const Vector& p2) {
    CMapFace* face = solid.AddFace();
    if (face) {
        face->SetPlanePoints(p0, p1, p2);
    }
    return face;
}

// Adds the face of an axis-aligned box on side (+axis when positive, else -axis), with its
// plane points ordered so that the plane's normal points out of the box.
inline CMapFace* AddBoxFace(CMapSolid& solid, const Vector& lo, const Vector& hi, int axis,
                            bool positive) {
    const int i = (axis + 1) % 3;
    const int j = (axis + 2) % 3;
    Vector p1;
    Vector p0;
    Vector p2;
    if (positive) {
        p1[axis] = hi[axis];
        p1[i] = lo[i];
        p1[j] = hi[j];
        p0 = p1;
        p0[j] = lo[j];
        p2 = p1;
        p2[i] = hi[i];
    } else {
        p1[axis] = lo[axis];
        p1[i] = lo[i];
        p1[j] = lo[j];
        p0 = p1;
        p0[j] = hi[j];
        p2 = p1;
        p2[i] = hi[i];
    }
    return AddPlaneFace(solid, p0, p1, p2);
}

// The six planes of an axis-aligned box: +z, -z, +x, -x, +y, -y.
inline void AddBoxPlanes(CMapSolid& solid, const Vector& lo, const Vector& hi) {
    AddBoxFace(solid, lo, hi, 2, true);
    AddBoxFace(solid, lo, hi, 2, false);
    AddBoxFace(solid, lo, hi, 0, true);
    AddBoxFace(solid, lo, hi, 0, false);
    AddBoxFace(solid, lo, hi, 1, true);
    AddBoxFace(solid, lo, hi, 1, false);
}

// Builds solid as a 32-sided cylinder filling -128..128 across and 0..256 up, with its bounds;
// false when the shape could not be built.
inline bool BuildCylinder32(CMapSolid& solid) {
    CCylinderShape cylinder;
    BoundBox box;
    box.mins = {-128, -128, 0};
    box.maxs = {128, 128, 256};
    cylinder.SetFromBox(box);
    cylinder.SetParameter("Number of Sides", 32);
    if (!cylinder.BuildSolid(solid)) {
        return false;
    }
    solid.CalcBounds();
    return true;
}
