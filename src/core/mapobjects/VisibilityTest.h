#pragma once

#include <cstdint>

class CMapClass;
class CMapWorld;

// Whether object is shown under the display filter flags (DisplayFilterFlags) of world:
// never while its top-level ancestor is temporarily hidden; with flags 0 always; otherwise
// point entities are hidden by FILTER_HIDE_ITEMS, objects outside the switched-on visgroups
// by FILTER_VISGROUPS and objects outside the first active filter record by FILTER_REGION.
bool PassesVisibilityTest(const CMapClass& object, const CMapWorld& world, std::uint32_t flags);
