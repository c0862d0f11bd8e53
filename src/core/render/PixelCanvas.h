#pragma once

#include "render/View2DTransform.h"

#include <cstdint>

// 0xAARRGGBB with full alpha, as 32-bit images store it.
inline constexpr std::uint32_t OpaqueRgb(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<std::uint32_t>(red & 0xFF) << 16) |
           (static_cast<std::uint32_t>(green & 0xFF) << 8) |
           static_cast<std::uint32_t>(blue & 0xFF);
}
inline constexpr std::uint32_t OpaqueRgb(std::uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}

// A 32-bit pixel buffer that the 2D views draw into, with one-pixel lines and frames, all
// limited to a clip rectangle. A line's pixels do not depend on the clip: drawing a line in
// two halves of a view gives the same pixels as drawing it once, so partial repaints match.
class PixelCanvas {
public:
    // stride: pixels from one row to the next.
    PixelCanvas(std::uint32_t* pixels, int width, int height, int stride);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The clip is always kept inside the buffer.
    void SetClip(const PixelRect& clip);
    const PixelRect& Clip() const { return m_clip; }

    void Fill(const PixelRect& rect, std::uint32_t color);
    // Both end points are drawn.
    void Line(int x0, int y0, int x1, int y1, std::uint32_t color);
    void HorizontalLine(int y, int x0, int x1, std::uint32_t color);
    void VerticalLine(int x, int y0, int y1, std::uint32_t color);
    // The one-pixel border of the rectangle (right and bottom inclusive).
    void Frame(const PixelRect& rect, std::uint32_t color);
    void SetPixel(int x, int y, std::uint32_t color);

    std::uint32_t At(int x, int y) const { return m_pixels[y * m_stride + x]; }

private:
    bool Inside(int x, int y) const {
        return x >= m_clip.left && x <= m_clip.right && y >= m_clip.top && y <= m_clip.bottom;
    }
    void Put(int x, int y, std::uint32_t color) { m_pixels[y * m_stride + x] = color; }
    // Lines that step one pixel along `major` per step; swapped tells which axis that is.
    void SteppedLine(int majorStart, int minorStart, int majorEnd, int minorEnd, bool swapped,
                     std::uint32_t color);

    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
    int m_stride;
    PixelRect m_clip;
};
