#pragma once

#include "geometry/Vector.h"

#include <vector>

class CMapClass;

// A line from an entity with a "target" to an entity whose "targetname" matches it (letters
// compared without regard to case), between the centres of their bounding boxes.
struct EntityConnection {
    Vector from;
    Vector to;
};

// Connections among the entities (point or solid) in objects; other objects are ignored.
std::vector<EntityConnection> FindEntityConnections(const std::vector<CMapClass*>& objects);
