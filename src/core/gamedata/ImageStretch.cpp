#include "gamedata/ImageStretch.h"

#include <algorithm>

int NextPowerOfTwo(int value) {
    int power = 1;
    while (power < value && power < (1 << 30)) {
        power <<= 1;
    }
    return power;
}

void StretchImage(const std::uint8_t* source, int width, int height, std::uint8_t* destination,
                  int scaledWidth, int scaledHeight) {
    if (width <= 0 || height <= 0 || scaledWidth <= 0 || scaledHeight <= 0) {
        return;
    }
    const long long w = width;
    const long long h = height;
    const long long sw = scaledWidth;
    const long long sh = scaledHeight;
    long long errorX = 2 * w - sw;
    long long errorY = 2 * h - sh;
    int sourceRow = 0;
    for (int y = 0; y < scaledHeight; ++y) {
        const std::uint8_t* row =
            source + static_cast<long long>(std::min(sourceRow, height - 1)) * w;
        std::uint8_t* out = destination + static_cast<long long>(y) * sw;
        int sourceColumn = 0;
        for (int x = 0; x < scaledWidth; ++x) {
            out[x] = row[std::min(sourceColumn, width - 1)];
            while (errorX >= 0) {
                ++sourceColumn;
                errorX -= 2 * sw;
            }
            errorX += 2 * w;
        }
        while (errorY >= 0) {
            ++sourceRow;
            errorY -= 2 * sh;
        }
        errorY += 2 * h;
    }
}
