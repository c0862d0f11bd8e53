#pragma once

#include <array>

// The primitive shapes offered for new solids, in the order of the new-object bar. The face
// count of the cylinder and the spike is the one last typed in the bar; block and wedge have a
// fixed face count (0 here).
struct PrimitiveKind {
    const char* name;
    int faceCount;
    int minimum;
    int maximum;
};

enum PrimitiveShape { PRIMITIVE_BLOCK = 0, PRIMITIVE_WEDGE, PRIMITIVE_CYLINDER, PRIMITIVE_SPIKE };

using PrimitiveTable = std::array<PrimitiveKind, 4>;

constexpr PrimitiveTable DefaultPrimitiveTable() {
    return {{{"block", 0, 6, 6}, {"wedge", 0, 5, 5}, {"cylinder", 8, 3, 32}, {"spike", 4, 3, 32}}};
}
