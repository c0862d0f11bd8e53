#pragma once

#include <cstdint>

// An object's representation in the 3D view: built by the view, owned by the map object,
// released with it, never copied.
class RenderObject {
public:
    virtual ~RenderObject() = default;
    // 0xRRGGBB; the renderer uses alpha 255.
    virtual void SetColor(std::uint32_t rgb) = 0;
};

// The 3D view's side of building representations (its frame in the design).
class RenderFrame {
public:
    virtual ~RenderFrame() = default;
};
