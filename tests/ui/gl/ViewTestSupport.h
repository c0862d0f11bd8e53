#pragma once

// Helpers shared by the tests of the views on a real display.
#include "mapobjects/MapClass.h"
#include "mapobjects/MapSolid.h"
#include "support/SolidBuilders.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

// Runs the event loop until condition holds; false when timeoutMs passed first.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

// An axis-aligned box solid with its polygons and bounds made, added to parent.
inline CMapSolid* AddBox(CMapClass& parent, const Vector& lo, const Vector& hi) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    EXPECT_TRUE(solid->CreateFromPlanes());
    solid->CalcBounds();
    parent.AddChild(solid);
    return solid;
}
