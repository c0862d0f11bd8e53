#pragma once

#include <optional>

// Texture brightness accepted from the keyboard steps: 0.1 to 5.0, in steps of 0.2.
inline constexpr int kMinBrightnessTenths = 1;
inline constexpr int kMaxBrightnessTenths = 50;
inline constexpr int kBrightnessStepTenths = 2;

// The brightness one step up (direction > 0) or down from current, or nothing when that lies
// outside 0.1..5.0. Worked out in whole tenths, so repeated steps never drift: 4.8 + 0.2 is
// 5.0 and accepted, 4.9 + 0.2 is 5.1 and refused.
std::optional<float> SteppedBrightness(float current, int direction);
