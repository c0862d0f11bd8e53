#pragma once

#include <cstdint>
#include <initializer_list>

// A tool bar picture drawn on a 24 x 24 canvas. Tools draw their own icon through this
// interface, so the core needs no painting library; the window paints it.
struct IconColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

struct IconPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The dark ink of outlines.
inline constexpr IconColor kIconInk{40, 40, 48};
inline constexpr IconColor kIconWhite{255, 255, 255};

// Starts with a solid ink pen 1.4 wide and no fill.
class ToolIconCanvas {
public:
    virtual ~ToolIconCanvas() = default;
    virtual void SetPen(IconColor color, float width, bool dashed = false,
                        bool roundCap = false) = 0;
    virtual void SetFill(IconColor color) = 0;
    virtual void NoFill() = 0;
    virtual void Line(IconPoint from, IconPoint to) = 0;
    // A closed polygon, filled and outlined.
    virtual void Polygon(std::initializer_list<IconPoint> points) = 0;
    virtual void Rect(float x, float y, float width, float height, float cornerRadius = 0.0f) = 0;
    virtual void Ellipse(float x, float y, float width, float height) = 0;
};
