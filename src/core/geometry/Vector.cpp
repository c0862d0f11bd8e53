#include "geometry/Vector.h"

void RotatePoint2D(float a, float b, float degrees, float& outA, float& outB) {
    if (a == 0.0f && b == 0.0f) {
        outA = 0.0f;
        outB = 0.0f;
        return;
    }
    if (degrees == 0.0f || degrees == 360.0f) {
        outA = a;
        outB = b;
        return;
    }
    if (degrees == 90.0f) {
        outA = -b;
        outB = a;
        return;
    }
    if (degrees == 180.0f) {
        outA = -a;
        outB = -b;
        return;
    }
    if (degrees == 270.0f) {
        outA = b;
        outB = -a;
        return;
    }
    constexpr double kDegreesToRadians = 0.0174533;
    double radius = std::hypot(static_cast<double>(a), static_cast<double>(b));
    double theta = std::atan2(static_cast<double>(b), static_cast<double>(a)) +
                   static_cast<double>(degrees) * kDegreesToRadians;
    outA = static_cast<float>(radius * std::cos(theta));
    outB = static_cast<float>(radius * std::sin(theta));
}
