#include "gamedata/BrightnessStep.h"

#include <cmath>

std::optional<float> SteppedBrightness(float current, int direction) {
    if (!std::isfinite(current) || direction == 0) {
        return std::nullopt;
    }
    const long tenths = std::lround(static_cast<double>(current) * 10.0) +
                        (direction > 0 ? kBrightnessStepTenths : -kBrightnessStepTenths);
    if (tenths < kMinBrightnessTenths || tenths > kMaxBrightnessTenths) {
        return std::nullopt;
    }
    return static_cast<float>(static_cast<double>(tenths) / 10.0);
}
