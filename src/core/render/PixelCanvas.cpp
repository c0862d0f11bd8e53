#include "render/PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

} // namespace

PixelCanvas::PixelCanvas(std::uint32_t* pixels, int width, int height, int stride)
    : m_pixels(pixels), m_width(std::max(0, width)), m_height(std::max(0, height)),
      m_stride(stride), m_clip{0, 0, m_width - 1, m_height - 1} {}

void PixelCanvas::SetClip(const PixelRect& clip) {
    m_clip = {std::max(0, clip.left), std::max(0, clip.top), std::min(m_width - 1, clip.right),
              std::min(m_height - 1, clip.bottom)};
}

void PixelCanvas::Fill(const PixelRect& rect, std::uint32_t color) {
    const int left = std::max(rect.left, m_clip.left);
    const int right = std::min(rect.right, m_clip.right);
    const int top = std::max(rect.top, m_clip.top);
    const int bottom = std::min(rect.bottom, m_clip.bottom);
    if (left > right || top > bottom) {
        return;
    }
    for (int y = top; y <= bottom; ++y) {
        std::uint32_t* row = m_pixels + y * m_stride;
        std::fill(row + left, row + right + 1, color);
    }
}

void PixelCanvas::HorizontalLine(int y, int x0, int x1, std::uint32_t color) {
    if (y < m_clip.top || y > m_clip.bottom) {
        return;
    }
    if (x0 > x1) {
        std::swap(x0, x1);
    }
    const int left = std::max(x0, m_clip.left);
    const int right = std::min(x1, m_clip.right);
    std::uint32_t* row = m_pixels + y * m_stride;
    for (int x = left; x <= right; ++x) {
        row[x] = color;
    }
}

void PixelCanvas::VerticalLine(int x, int y0, int y1, std::uint32_t color) {
    if (x < m_clip.left || x > m_clip.right) {
        return;
    }
    if (y0 > y1) {
        std::swap(y0, y1);
    }
    const int top = std::max(y0, m_clip.top);
    const int bottom = std::min(y1, m_clip.bottom);
    for (int y = top; y <= bottom; ++y) {
        Put(x, y, color);
    }
}

void PixelCanvas::SetPixel(int x, int y, std::uint32_t color) {
    if (Inside(x, y)) {
        Put(x, y, color);
    }
}

void PixelCanvas::Frame(const PixelRect& rect, std::uint32_t color) {
    if (rect.IsEmpty()) {
        return;
    }
    if (rect.left >= m_clip.left && rect.right <= m_clip.right && rect.top >= m_clip.top &&
        rect.bottom <= m_clip.bottom) {
        std::uint32_t* top = m_pixels + rect.top * m_stride;
        std::uint32_t* bottom = m_pixels + rect.bottom * m_stride;
        for (int x = rect.left; x <= rect.right; ++x) {
            top[x] = color;
            bottom[x] = color;
        }
        for (int y = rect.top + 1; y < rect.bottom; ++y) {
            std::uint32_t* row = m_pixels + y * m_stride;
            row[rect.left] = color;
            row[rect.right] = color;
        }
        return;
    }
    HorizontalLine(rect.top, rect.left, rect.right, color);
    HorizontalLine(rect.bottom, rect.left, rect.right, color);
    VerticalLine(rect.left, rect.top, rect.bottom, color);
    VerticalLine(rect.right, rect.top, rect.bottom, color);
}

void PixelCanvas::Line(int x0, int y0, int x1, int y1, std::uint32_t color) {
    if (m_clip.IsEmpty()) {
        return;
    }
    if (y0 == y1) {
        HorizontalLine(y0, x0, x1, color);
        return;
    }
    if (x0 == x1) {
        VerticalLine(x0, y0, y1, color);
        return;
    }
    // Draw from the end with the smaller major coordinate, so a line's pixels do not depend
    // on the direction it was given in.
    const bool xMajor =
        std::abs(static_cast<long long>(x1) - x0) >= std::abs(static_cast<long long>(y1) - y0);
    if (xMajor) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        SteppedLine(x0, y0, x1, y1, false, color);
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        SteppedLine(y0, x0, y1, x1, true, color);
    }
}

// Step i (0..d) lies at major a0 + i and minor b0 + s x floor((2 i e + d) / 2d), with d the
// major and e the minor extent: each pixel is the nearest to the exact line (halves round
// up). The clip limits the range of i directly, so clipping never moves a pixel.
void PixelCanvas::SteppedLine(int a0, int b0, int a1, int b1, bool swapped, std::uint32_t color) {
    const std::int64_t d = static_cast<std::int64_t>(a1) - a0;
    const std::int64_t e = std::llabs(static_cast<std::int64_t>(b1) - b0);
    const int s = b1 >= b0 ? 1 : -1;
    const int majorMin = swapped ? m_clip.top : m_clip.left;
    const int majorMax = swapped ? m_clip.bottom : m_clip.right;
    const int minorMin = swapped ? m_clip.left : m_clip.top;
    const int minorMax = swapped ? m_clip.right : m_clip.bottom;

    std::int64_t first = std::max<std::int64_t>(0, static_cast<std::int64_t>(majorMin) - a0);
    std::int64_t last = std::min<std::int64_t>(d, static_cast<std::int64_t>(majorMax) - a0);
    if (first > last) {
        return;
    }
    const bool minorInside = std::min(b0, b1) >= minorMin && std::max(b0, b1) <= minorMax;
    if (!minorInside) {
        // The range of steps whose minor offset q = floor((2 i e + d) / 2d) stays in [qLow, qHigh].
        std::int64_t qLow;
        std::int64_t qHigh;
        if (s > 0) {
            qLow = static_cast<std::int64_t>(minorMin) - b0;
            qHigh = static_cast<std::int64_t>(minorMax) - b0;
        } else {
            qLow = static_cast<std::int64_t>(b0) - minorMax;
            qHigh = static_cast<std::int64_t>(b0) - minorMin;
        }
        qLow = std::max<std::int64_t>(qLow, 0);
        if (qLow > qHigh) {
            return;
        }
        // q(i) >= qLow  <=>  i >= (2 d qLow - d) / 2e;  q(i) <= qHigh  <=>  i < (2 d (qHigh + 1) -
        // d) / 2e.
        first = std::max(first, CeilDiv(2 * d * qLow - d, 2 * e));
        last = std::min(last, CeilDiv(2 * d * (qHigh + 1) - d, 2 * e) - 1);
        if (first > last) {
            return;
        }
    }
    const std::int64_t twoD = 2 * d;
    std::int64_t q = 0;
    std::int64_t error = d;
    if (first > 0) {
        const std::int64_t numerator = 2 * first * e + d;
        q = numerator / twoD;
        error = numerator % twoD;
    }
    const std::int64_t twoE = 2 * e;
    int major = static_cast<int>(a0 + first);
    int minor = static_cast<int>(b0 + s * q);
    for (std::int64_t i = first; i <= last; ++i) {
        if (swapped) {
            Put(minor, major, color);
        } else {
            Put(major, minor, color);
        }
        ++major;
        error += twoE;
        if (error >= twoD) {
            error -= twoD;
            minor += s;
        }
    }
}
