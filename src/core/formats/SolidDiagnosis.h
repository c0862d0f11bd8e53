#pragma once

#include "geometry/Vector.h"
#include "geometry/Vector3d.h"

#include <array>
#include <string>
#include <vector>

class CMapSolid;

// The three plane points of each face of a solid as they were read from a file.
using FacePlanePoints = std::vector<std::array<Vector3d, 3>>;

// Says in plain words why a solid read from a file could not be built: planes are the faces
// as read, solid the solid after CreateFromPlanes() failed on them.
std::string DescribeUnbuildableSolid(const FacePlanePoints& planes, const CMapSolid& solid);
