#pragma once

#include "geometry/BoundBox.h"
#include "render/ViewAxes.h"

#include <optional>
#include <string>

// Client pixels of a 2D view: x to the right, y downwards from the top-left corner.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A pixel rectangle; right and bottom are inclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool IsEmpty() const { return right < left || bottom < top; }
    bool Intersects(const PixelRect& other) const {
        return left <= other.right && other.left <= right && top <= other.bottom &&
               other.top <= bottom;
    }
    PixelRect Grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Pixels are kept within this magnitude, so a huge coordinate or zoom never overflows an int.
inline constexpr int kPixelLimit = 1 << 28;

// Float to int, truncating toward zero, clamped to +-kPixelLimit; NaN gives 0.
inline int TruncClamped(double value) {
    constexpr double limit = kPixelLimit;
    if (value < limit && value > -limit) {
        return static_cast<int>(value);
    }
    if (value >= limit) {
        return kPixelLimit;
    }
    return value <= -limit ? -kPixelLimit : 0; // NaN fails every comparison
}
inline int TruncClamped(float value) {
    constexpr float limit = static_cast<float>(kPixelLimit);
    if (value < limit && value > -limit) {
        return static_cast<int>(value);
    }
    return TruncClamped(static_cast<double>(value));
}

// The scrollable world is the square from -4096 to 4096 on both axes.
inline constexpr float kScrollableWorldHalf = 4096.0f;

// Where a 2D view's map coordinates land on screen and back. Every conversion truncates
// toward zero; the vertical axis is inverted, so world "up" is up on screen.
struct View2DTransform {
    ViewAxes axes;
    float zoom = 0.25f;
    int scrollH = 0;
    int scrollV = 0;
    int clientWidth = 0;
    int clientHeight = 0;

    // Pixel of a world coordinate on the horizontal or vertical axis, before the scroll offset.
    int LogicalH(float coordinate) const {
        const int pixel = TruncClamped(coordinate * zoom);
        return axes.invertHorizontal ? -pixel : pixel;
    }
    int LogicalV(float coordinate) const {
        const int pixel = TruncClamped(coordinate * zoom);
        return axes.invertVertical ? -pixel : pixel;
    }
    PixelPoint WorldToClient(const Vector& point) const {
        return {LogicalH(point[axes.horizontal]) - scrollH,
                LogicalV(point[axes.vertical]) - scrollV};
    }
    // The whole world coordinates under a client pixel on the horizontal and vertical axes.
    PixelPoint ClientToWorld(int x, int y) const;
    // The box's horizontal and vertical extent in client pixels, normalised.
    PixelRect BoxToClient(const BoundBox& box) const;
    // Where a point entity with these bounds is drawn, and where a click picks it: its box,
    // widened about its centre to kPointEntityMinPixels on an axis where it is narrower.
    PixelRect PointEntityToClient(const BoundBox& box) const;
};

// However far out a view is zoomed, a point entity is drawn this many pixels across at least.
inline constexpr int kPointEntityMinPixels = 8;

struct ScrollRange {
    int minimum = 0;
    int maximum = 0;
};
// From trunc(zoom x -4096) to trunc(zoom x 4096).
ScrollRange ScrollRangeForZoom(float zoom);
int ClampScroll(int position, const ScrollRange& range);

// The scroll position after a zoom change that keeps the world point under the client pixel
// kept (one axis): w = trunc((s + p) / old), new = trunc(trunc(w - p / new) x new).
int ScrollAfterZoom(int scroll, int keptPixel, float oldZoom, float newZoom);
// The scroll position that puts the world coordinate in the middle of the client size.
int ScrollToCenter(float coordinate, bool inverted, int clientSize, float zoom);

// Zoom keys: + multiplies by 1.2 below 8.0, - by 1/1.2 above 0.03125 (limits tested before
// multiplying); nothing otherwise. Digits 1 to 9 give digit x 0.25.
inline constexpr float kZoomInLimit = 8.0f;
inline constexpr float kZoomOutLimit = 0.03125f;
inline constexpr float kZoomInFactor = 1.2f;
inline constexpr float kZoomOutFactor = 0.8333333f;
std::optional<float> ZoomInStep(float zoom);
std::optional<float> ZoomOutStep(float zoom);
float DigitZoom(int digit);

// Status texts: pane 2 " @%d, %d " (coordinates rounded toward zero to the grid unless exact)
// and pane 4 " Zoom: %.2f ".
std::string PositionText(int horizontal, int vertical, int grid, bool exact);
std::string ZoomText(float zoom);

// Auto-scroll while the view holds the mouse and the pointer is outside the client area:
// +20 left of or above it, -20 at or beyond its right or bottom edge, else 0.
struct ScrollStep {
    int h = 0;
    int v = 0;
    bool IsZero() const { return h == 0 && v == 0; }
    friend bool operator==(const ScrollStep&, const ScrollStep&) = default;
};
inline constexpr int kAutoScrollStep = 20;
ScrollStep AutoScrollStepFor(int x, int y, int clientWidth, int clientHeight, bool captured);
