#pragma once

class CMapDoc;
class CMapSolid;
class CMapFace;

// How a carving face leaves a convex solid: wholly behind its plane (inside the carver's half
// space), wholly in front of it, or cut in two. Points within the clipping tolerance of the
// plane count as on both sides.
enum class PlaneSide { Behind, InFront, Across };
PlaneSide SideOfFace(const CMapSolid& solid, const CMapFace& carvingFace);
