#include "properties/AngleText.h"

#include "mapobjects/EditGameClass.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numbers>

std::string AngleComboText(int angle) {
    if (angle == kAngleUp) {
        return "Up";
    }
    if (angle < 0) {
        return "Down";
    }
    return std::to_string(angle);
}

int DialAngleForText(const std::string& text) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return kAngleUp;
    }
    return std::atoi(text.c_str());
}

int AngleToWrite(const std::string& comboText, int dialAngle) {
    if (EqualsIgnoreCase(comboText, "Up")) {
        return kAngleUp;
    }
    if (EqualsIgnoreCase(comboText, "Down")) {
        return kAngleDown;
    }
    return dialAngle;
}

int DialAngleForOffset(double dx, double dy) {
    const double degrees = std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
    int whole = static_cast<int>(std::lround(degrees));
    whole %= 360;
    if (whole < 0) {
        whole += 360;
    }
    return whole;
}
