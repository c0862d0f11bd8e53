#pragma once

#include "mapobjects/MapSolid.h"
#include "support/SolidBuilders.h"

#include <gtest/gtest.h>

// An axis-aligned box solid with its polygons made, faces +z, -z, +x, -x, +y, -y.
inline CMapSolid* MakeBoxSolid(const Vector& lo, const Vector& hi) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    EXPECT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    return solid;
}
