#include "render/RayPick3D.h"

#include "render/Camera3D.h"
#include "render/MeshRecord3D.h"
#include "render/MeshStore3D.h"

#include <algorithm>
#include <cmath>

namespace {
// Map coordinates from scene coordinates: the objects frame only turns the map, so its
// inverse is its transpose.
Vector SceneToMap(const Matrix3D& objects, const Vector& v) {
    return {objects.At(0, 0) * v.x + objects.At(1, 0) * v.y + objects.At(2, 0) * v.z,
            objects.At(0, 1) * v.x + objects.At(1, 1) * v.y + objects.At(2, 1) * v.z,
            objects.At(0, 2) * v.x + objects.At(1, 2) * v.y + objects.At(2, 2) * v.z};
}

bool DepthAccepted(const PickRay3D& ray, float distance) {
    const float depth = distance * DotProduct(ray.direction, ray.forward);
    return depth >= ray.nearDepth && depth <= ray.farDepth;
}
} // namespace

PickRay3D RayThroughPixel(const Camera3D& camera, float x, float y, int width, int height) {
    const float w = static_cast<float>(std::max(width, 1));
    const float h = static_cast<float>(std::max(height, 1));
    // The same half sizes as the projection: the field spans the larger side.
    float halfWidth = camera.Field();
    float halfHeight = camera.Field();
    if (w >= h) {
        halfHeight = camera.Field() * h / w;
    } else {
        halfWidth = camera.Field() * w / h;
    }
    const float ndcX = 2.0f * x / w - 1.0f;
    const float ndcY = 1.0f - 2.0f * y / h;
    Vector scene =
        camera.Right() * (ndcX * halfWidth) + camera.Up() * (ndcY * halfHeight) + camera.Forward();
    VectorNormalize(scene);
    const Matrix3D& objects = camera.ObjectsMatrix();
    PickRay3D ray;
    ray.origin = SceneToMap(objects, camera.Position());
    ray.direction = SceneToMap(objects, scene);
    ray.forward = SceneToMap(objects, camera.Forward());
    ray.nearDepth = camera.Front();
    ray.farDepth = std::max(camera.Back(), camera.Front() + 1.0f);
    return ray;
}

bool RayHitsBox(const PickRay3D& ray, const BoundBox& box) {
    if (box.IsEmpty()) {
        return false;
    }
    float enter = 0.0f;
    float leave = 1e30f;
    for (int axis = 0; axis < 3; ++axis) {
        const float d = ray.direction[axis];
        const float o = ray.origin[axis];
        if (std::fabs(d) < 1e-12f) {
            if (o < box.mins[axis] || o > box.maxs[axis]) {
                return false;
            }
            continue;
        }
        float t0 = (box.mins[axis] - o) / d;
        float t1 = (box.maxs[axis] - o) / d;
        if (t0 > t1) {
            std::swap(t0, t1);
        }
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) {
            return false;
        }
    }
    return true;
}

bool RayHitsPolygon(const PickRay3D& ray, const Vector* points, int count, const Vector& normal,
                    float& distance) {
    if (count < 3) {
        return false;
    }
    const float facing = DotProduct(normal, ray.direction);
    if (std::fabs(facing) < 1e-9f) {
        return false;
    }
    const float t = DotProduct(normal, points[0] - ray.origin) / facing;
    if (t < 0.0f) {
        return false;
    }
    const Vector hit = ray.origin + ray.direction * t;
    // Inside a convex polygon the hit lies on the same side of every edge. Points may turn
    // either way about the normal, so the side of the first edge decides; a tolerance keeps
    // hits exactly on an edge (the seam between two faces) inside.
    constexpr float kEdgeTolerance = 1e-3f;
    int sign = 0;
    for (int i = 0; i < count; ++i) {
        const Vector& a = points[i];
        const Vector& b = points[(i + 1) % count];
        const Vector edge = b - a;
        const float length = VectorLength(edge);
        if (length == 0.0f) {
            continue;
        }
        const float side = DotProduct(CrossProduct(edge, hit - a), normal) / length;
        if (std::fabs(side) <= kEdgeTolerance) {
            continue;
        }
        const int s = side > 0.0f ? 1 : -1;
        if (sign == 0) {
            sign = s;
        } else if (s != sign) {
            return false;
        }
    }
    distance = t;
    return true;
}

std::vector<PickHit3D> PickMeshes(const MeshStore3D& meshes, const PickRay3D& ray) {
    std::vector<PickHit3D> hits;
    for (int c = 0; c < meshes.ChunkCount(); ++c) {
        const MeshChunk3D& chunk = meshes.Chunk(c);
        // A chunk's box is known once its drawing data is made.
        if (chunk.members.empty() || (!chunk.stale && !RayHitsBox(ray, chunk.bounds))) {
            continue;
        }
        for (const MeshRecord3D* record : chunk.members) {
            if (!RayHitsBox(ray, record->bounds)) {
                continue;
            }
            PickHit3D best;
            for (const MeshFace3D& face : record->faces) {
                float t = 0.0f;
                if (RayHitsPolygon(ray, record->points.data() + face.first,
                                   static_cast<int>(face.count), face.normal, t) &&
                    DepthAccepted(ray, t) && (!best.object || t < best.distance)) {
                    best = {record->owner, face.faceIndex, t};
                }
            }
            if (best.object) {
                hits.push_back(best);
            }
        }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const PickHit3D& a, const PickHit3D& b) {
        return a.distance < b.distance;
    });
    return hits;
}
