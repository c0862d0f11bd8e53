#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"
#include "mapobjects/RenderObject.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CMapClass;
class MeshStore3D;
class QuakeGraphic;

// One polygon of a mesh as the store draws it: count points of its mesh's point list from
// first on (texture coordinates at the same places in the mesh's coordinate list).
// faceIndex is the face's index in the solid the mesh was made from.
struct MeshFace3D {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    Vector normal;
    std::uint32_t color = 0xFFFFFFu;
    QuakeGraphic* texture = nullptr;
    int faceIndex = 0;
};

// The data of one mesh, shared by the mesh (held by the map object) and the handles of its
// faces (held by the map faces). `store` is null once the mesh or the store is gone.
struct MeshRecord3D {
    MeshStore3D* store = nullptr;
    CMapClass* owner = nullptr;
    std::vector<MeshFace3D> faces;
    // The points of every face in turn, and their texture coordinates (made on first use).
    std::vector<Vector> points;
    std::vector<TexCoord> coords;
    // The box around every point (picking tests it before the polygons).
    BoundBox bounds;
    std::size_t recordIndex = 0;
    int chunk = -1;
    std::size_t slot = 0;
    bool visual = false;

    void Changed();
};
