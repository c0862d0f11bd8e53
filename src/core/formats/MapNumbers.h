#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Numbers in MAP text.

// Reads a decimal float the way "%f" does (leading white space, optional sign, fraction,
// exponent) from the front of text and removes it. Fails, leaving text as it was, when no
// number is there or it is not a finite float.
bool TakeMapFloat(std::string_view& text, float& value);

// The integer value of a decimal keyvalue such as "angle" or "spawnflags": leading white
// space, optional sign and digits; anything else ends the number. No digits give 0; values
// beyond the 32-bit range are clamped.
std::int32_t ParseMapInteger(std::string_view text);

// Writes a coordinate, shift or angle: a whole number as "%.0f" does, any other value with
// the fewest digits that read back as the same float.
void AppendMapNumber(std::string& out, float value);
// Writes a texture scale with six decimals, as "%.6f" does, unless six decimals would read
// back as another float: then with the fewest digits that read back the same.
void AppendMapFixed6(std::string& out, float value);

// Reads a decimal number as TakeMapFloat does, in double precision. Face lines read their
// plain numbers more quickly (FaceLineText) and leave any other to this.
bool TakeMapDoubleInFull(std::string_view& text, double& value);
// Reads a decimal integer (optional sign, digits) that fits 64 bits, ended by white space or
// the end of text.
bool TakeMapInteger(std::string_view& text, long long& value);

// Writes the shortest text that reads back as the same double: 256 as "256",
// -205.25483399593907 as itself. A value that is no number is written as fallback.
void AppendMapDouble(std::string& out, double value, double fallback = 0.0);
// Writes a texture scale with six decimals, as "%.6f" does, unless six decimals would read
// back as another double: then as AppendMapDouble does.
void AppendMapFixed6Double(std::string& out, double value);

// The same into a character buffer with room for at least kMapDoubleRoom, or for
// kMapFixed6Room characters; each returns the end of what it wrote.
inline constexpr std::size_t kMapDoubleRoom = 32;
inline constexpr std::size_t kMapFixed6Room = 400;
char* WriteMapDouble(char* out, double value, double fallback = 0.0);
char* WriteMapFixed6Double(char* out, double value);
