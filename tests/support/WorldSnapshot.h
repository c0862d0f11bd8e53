#pragma once

#include <string>

class CMapClass;

// A text description of an object tree (types, own bounds, colours, visgroups, keyvalues, faces
// with plane points, textures and polygons), for comparing maps before and after edits.
std::string WorldSnapshot(const CMapClass& root);

// Empty when equal; otherwise the first differing line of each.
std::string SnapshotDifference(const std::string& expected, const std::string& actual);
