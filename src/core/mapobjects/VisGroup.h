#pragma once

#include "geometry/Vector.h"

#include <cstdint>
#include <string>

// A named, coloured visibility group of a map.
struct VisGroup {
    static constexpr std::size_t kMaxName = 127;

    std::string name;
    // 0xRRGGBB.
    std::uint32_t color = 0;
    // 1-255, unique within the map; 0 means no group.
    std::uint8_t id = 0;
    bool visible = false;
};

// A display filter by region: objects inside (mode non-zero) or overlapping (mode 0) the box.
struct FilterRecord {
    Vector mins;
    Vector maxs;
    bool active = false;
    std::int32_t mode = 0;
};

// Display filter flags of a world.
enum DisplayFilterFlags : std::uint32_t {
    FILTER_VISGROUPS = 0x01,
    FILTER_REGION = 0x02,
    FILTER_HIDE_ITEMS = 0x04,
};
