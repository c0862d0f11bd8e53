#pragma once

#include <cstdint>
#include <memory>

class CMapClass;
class CMapSolid;
class QuakeGraphic;

// Texture coordinates of one polygon point, in texture widths and heights.
struct TexCoord {
    float s = 0.0f;
    float t = 0.0f;
};

// One polygon of a mesh in the 3D view, held by the map face it shows (released with it,
// never copied).
class RenderFace {
public:
    virtual ~RenderFace() = default;
    // 0xRRGGBB; the renderer uses alpha 255.
    virtual void SetColor(std::uint32_t rgb) = 0;
    // Shows texture with one coordinate pair per polygon point; a null texture shows none.
    virtual void SetTexture(QuakeGraphic* texture, const TexCoord* coords, int count) = 0;
};

// An object's representation in the 3D view: built by the view, owned by the map object,
// released with it, never copied.
class RenderObject {
public:
    virtual ~RenderObject() = default;
    // 0xRRGGBB; the renderer uses alpha 255.
    virtual void SetColor(std::uint32_t rgb) = 0;
    // Removes the textures from every polygon of the mesh.
    virtual void ClearTextures() = 0;
};

// The 3D view's side of building representations: where meshes are made.
class RenderFrame {
public:
    virtual ~RenderFrame() = default;
    // Builds the mesh of shape: one polygon per face that has points, with the face's points
    // in order. Each such face receives its RenderFace (CMapFace::SetRender3D). owner is the
    // map object a pick of the mesh finds (the solid itself, or the point entity whose box
    // it is). Returns null on failure.
    virtual std::unique_ptr<RenderObject> CreateSolidMesh(CMapSolid& shape, CMapClass& owner) = 0;
};
