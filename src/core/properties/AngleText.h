#pragma once

#include <string>

// The "&Angle:" combo and dial of the Class Info page. An angle of -1 points up, any other
// negative angle down; 0 to 359 are directions in the map's horizontal plane.

inline constexpr int kAngleUp = -1;
inline constexpr int kAngleDown = -2;

// The combo text for an angle: "Up", "Down" or the decimal number.
std::string AngleComboText(int angle);

// The dial's angle for typed text: text starting with a digit is read as a number, anything
// else gives -1 (no direction drawn).
int DialAngleForText(const std::string& text);

// The angle written back: "Up" gives -1 and "Down" -2 (ignoring case), anything else the dial's.
int AngleToWrite(const std::string& comboText, int dialAngle);

// The direction from the dial's centre to a point dx right and dy down of it, in whole degrees
// counter-clockwise from the right-hand direction, 0 to 359.
int DialAngleForOffset(double dx, double dy);
