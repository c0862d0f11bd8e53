#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"

#include <vector>

class Camera3D;
class CMapClass;
class MeshStore3D;

// A ray in map coordinates: from origin along direction (unit length). Only points whose
// distance along the view's forward axis lies between nearDepth and farDepth count (what lies
// before the front plane or beyond the back plane is not drawn, so it cannot be picked).
struct PickRay3D {
    Vector origin;
    Vector direction;
    Vector forward;
    float nearDepth = 0.0f;
    float farDepth = 1e30f;
};

// One mesh the ray passes through: the object the mesh belongs to, the index of the nearest
// face it hits in the solid the mesh was made from, and the distance along the ray.
struct PickHit3D {
    CMapClass* object = nullptr;
    int faceIndex = -1;
    float distance = 0.0f;
};

// The ray from the camera's eye through pixel (x, y) of a picture width x height pixels
// (x to the right, y down, measured from the top-left corner to the pixel's centre).
PickRay3D RayThroughPixel(const Camera3D& camera, float x, float y, int width, int height);

// Whether the ray (from its origin on) passes through the box.
bool RayHitsBox(const PickRay3D& ray, const BoundBox& box);
// Whether the ray crosses the convex polygon (from either side); distance receives the ray
// parameter of the crossing.
bool RayHitsPolygon(const PickRay3D& ray, const Vector* points, int count, const Vector& normal,
                    float& distance);

// Every mesh shown by the store that the ray hits, nearest first. Each mesh's box is tested
// before its polygons, and each chunk's box before its meshes, so a large map picks quickly.
std::vector<PickHit3D> PickMeshes(const MeshStore3D& meshes, const PickRay3D& ray);
