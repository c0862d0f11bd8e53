#include "render/PixelCanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = OpaqueRgb(255, 255, 255);
constexpr std::uint32_t kInk = OpaqueRgb(1, 2, 3);

struct Image {
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), kWhite) {}
    PixelCanvas Canvas() { return PixelCanvas(pixels.data(), width, height, width); }
    int Count(std::uint32_t color) const {
        int n = 0;
        for (std::uint32_t p : pixels) {
            n += p == color ? 1 : 0;
        }
        return n;
    }
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

// The same line rule, step by step without any clipping, keeping what lands in the image.
void ReferenceLine(Image& image, long long x0, long long y0, long long x1, long long y1) {
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    if ((xMajor && x0 > x1) || (!xMajor && y0 > y1)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const long long d = xMajor ? x1 - x0 : y1 - y0;
    const long long e = xMajor ? std::llabs(y1 - y0) : std::llabs(x1 - x0);
    const long long s = xMajor ? (y1 >= y0 ? 1 : -1) : (x1 >= x0 ? 1 : -1);
    for (long long i = 0; i <= d; ++i) {
        const long long q = d == 0 ? 0 : (2 * i * e + d) / (2 * d);
        const long long x = xMajor ? x0 + i : x0 + s * q;
        const long long y = xMajor ? y0 + s * q : y0 + i;
        if (x >= 0 && y >= 0 && x < image.width && y < image.height) {
            image.pixels[static_cast<std::size_t>(y * image.width + x)] = kInk;
        }
    }
}

} // namespace

TEST(PixelCanvasTest, LinesIncludeBothEndsWhicheverWayTheyAreGiven) {
    Image a(20, 20);
    Image b(20, 20);
    a.Canvas().Line(2, 3, 15, 9, kInk);
    b.Canvas().Line(15, 9, 2, 3, kInk);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.pixels[3 * 20 + 2], kInk);
    EXPECT_EQ(a.pixels[9 * 20 + 15], kInk);
    EXPECT_EQ(a.Count(kInk), 14); // one pixel per column
}

TEST(PixelCanvasTest, ClippingNeverMovesAPixel) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> near(-40, 140);
    std::uniform_int_distribution<int> far(-2000000, 2000000);
    for (int round = 0; round < 400; ++round) {
        const bool wide = round % 4 == 0;
        const int x0 = wide ? far(random) : near(random);
        const int y0 = near(random);
        const int x1 = near(random);
        const int y1 = wide ? far(random) : near(random);

        Image expected(100, 80);
        ReferenceLine(expected, x0, y0, x1, y1);

        Image whole(100, 80);
        whole.Canvas().Line(x0, y0, x1, y1, kInk);
        EXPECT_EQ(whole.pixels, expected.pixels) << x0 << "," << y0 << " " << x1 << "," << y1;

        // Four clipped quarters give the same picture as one whole line.
        Image quarters(100, 80);
        for (PixelRect clip : {PixelRect{0, 0, 49, 39}, PixelRect{50, 0, 99, 39},
                               PixelRect{0, 40, 49, 79}, PixelRect{50, 40, 99, 79}}) {
            PixelCanvas canvas = quarters.Canvas();
            canvas.SetClip(clip);
            canvas.Line(x0, y0, x1, y1, kInk);
        }
        EXPECT_EQ(quarters.pixels, expected.pixels) << x0 << "," << y0 << " " << x1 << "," << y1;
    }
}

TEST(PixelCanvasTest, FramesAndFillsStayInsideTheClip) {
    Image image(10, 10);
    PixelCanvas canvas = image.Canvas();
    canvas.Frame({1, 1, 3, 3}, kInk);
    EXPECT_EQ(image.Count(kInk), 8);
    EXPECT_EQ(image.pixels[2 * 10 + 2], kWhite);

    canvas.SetClip({-5, -5, 4, 20});
    EXPECT_EQ(canvas.Clip(), (PixelRect{0, 0, 4, 9}));
    canvas.Fill({-100, -100, 100, 100}, kInk);
    EXPECT_EQ(image.Count(kInk), 50);
    canvas.SetPixel(7, 7, kInk);
    canvas.SetPixel(-1, 3, kInk);
    EXPECT_EQ(image.Count(kInk), 50);
}
