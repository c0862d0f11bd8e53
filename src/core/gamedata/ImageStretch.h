#pragma once

#include <cstdint>

// The smallest power of two not less than value (1 for values below 2).
int NextPowerOfTwo(int value);

// Stretches a width x height image of palette indices into scaledWidth x scaledHeight by
// nearest-neighbour stepping with integer error terms. The horizontal error starts at
// 2w - sw once for the whole image and is not reset between rows; each destination row starts
// at the first column of the current source row. Reads are kept inside the source even for
// sizes the stepping was not meant for.
void StretchImage(const std::uint8_t* source, int width, int height, std::uint8_t* destination,
                  int scaledWidth, int scaledHeight);
