#include "render/View2DTransform.h"

#include <algorithm>
#include <cstdio>

PixelPoint View2DTransform::ClientToWorld(int x, int y) const {
    int h = TruncClamped(static_cast<float>(x + scrollH) / zoom);
    int v = TruncClamped(static_cast<float>(y + scrollV) / zoom);
    return {axes.invertHorizontal ? -h : h, axes.invertVertical ? -v : v};
}

PixelRect View2DTransform::BoxToClient(const BoundBox& box) const {
    const PixelPoint a = WorldToClient(box.mins);
    const PixelPoint b = WorldToClient(box.maxs);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

PixelRect View2DTransform::PointEntityToClient(const BoundBox& box) const {
    PixelRect r = BoxToClient(box);
    constexpr int half = kPointEntityMinPixels / 2;
    if (r.right - r.left < kPointEntityMinPixels) {
        const int centre = r.left + (r.right - r.left) / 2;
        r.left = centre - half;
        r.right = centre + half;
    }
    if (r.bottom - r.top < kPointEntityMinPixels) {
        const int centre = r.top + (r.bottom - r.top) / 2;
        r.top = centre - half;
        r.bottom = centre + half;
    }
    return r;
}

ScrollRange ScrollRangeForZoom(float zoom) {
    return {TruncClamped(zoom * -kScrollableWorldHalf), TruncClamped(zoom * kScrollableWorldHalf)};
}

int ClampScroll(int position, const ScrollRange& range) {
    return std::clamp(position, range.minimum, std::max(range.minimum, range.maximum));
}

int ScrollAfterZoom(int scroll, int keptPixel, float oldZoom, float newZoom) {
    const int world = TruncClamped(static_cast<float>(scroll + keptPixel) / oldZoom);
    const int newWorld = TruncClamped(static_cast<float>(world) - keptPixel / newZoom);
    return TruncClamped(static_cast<float>(newWorld) * newZoom);
}

int ScrollToCenter(float coordinate, bool inverted, int clientSize, float zoom) {
    const float p = inverted ? -coordinate : coordinate;
    return TruncClamped(zoom * (-(static_cast<float>(clientSize) / zoom) / 2.0f + p));
}

std::optional<float> ZoomInStep(float zoom) {
    if (zoom < kZoomInLimit) {
        return zoom * kZoomInFactor;
    }
    return std::nullopt;
}

std::optional<float> ZoomOutStep(float zoom) {
    if (zoom > kZoomOutLimit) {
        return zoom * kZoomOutFactor;
    }
    return std::nullopt;
}

float DigitZoom(int digit) {
    return static_cast<float>(digit) * 0.25f;
}

std::string PositionText(int horizontal, int vertical, int grid, bool exact) {
    if (!exact && grid > 0) {
        horizontal = horizontal / grid * grid;
        vertical = vertical / grid * grid;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " @%d, %d ", horizontal, vertical);
    return buffer;
}

std::string ZoomText(float zoom) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " Zoom: %.2f ", static_cast<double>(zoom));
    return buffer;
}

ScrollStep AutoScrollStepFor(int x, int y, int clientWidth, int clientHeight, bool captured) {
    ScrollStep step;
    const bool inside = x >= 0 && y >= 0 && x < clientWidth && y < clientHeight;
    if (!captured || inside) {
        return step;
    }
    if (x < 0) {
        step.h = kAutoScrollStep;
    } else if (x >= clientWidth) {
        step.h = -kAutoScrollStep;
    }
    if (y < 0) {
        step.v = kAutoScrollStep;
    } else if (y >= clientHeight) {
        step.v = -kAutoScrollStep;
    }
    return step;
}
