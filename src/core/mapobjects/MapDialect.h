#pragma once

#include <cstdint>

// The dialect of a MAP file's face lines: standard lines give shift, rotation and scale of
// the classic projection; texture-axis (220) lines give each face's U and V axes in brackets.
enum class MapDialect : std::uint8_t { Standard = 0, TextureAxes = 1 };
