#pragma once

#include "mapobjects/FaceListMemory.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapFace.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// What a solid is made of, from its first face's texture name.
enum ContentsType { CONTENTS_SOLID = 0, CONTENTS_WATER = 1, CONTENTS_SLIME = 2, CONTENTS_LAVA = 3 };

// The contents that a texture name stands for: "*slime..." slime, "*lava..." lava, any other
// name beginning with '*' water, everything else solid. Letter case does not matter.
ContentsType ContentsForTextureName(const char* name);

class CMapSolid;

// The faces of a solid, in their own memory (see FaceListMemory.h).
using FaceList = std::vector<CMapFace, FaceListAllocator<CMapFace>>;

// What building one solid's polygons gave: whether it is sound (then its bounds are computed
// and closed tells whether it is closed), the geometry messages it would have shown and, when
// it is not sound, the plane points of its faces as they were before the build (which drops
// faces), to explain the failure.
struct SolidBuildOutcome {
    bool built = false;
    bool closed = false;
    std::vector<std::string> messages;
    std::vector<std::array<Vector3d, 3>> planesBefore;
};

// Runs BuildFromPlanes for solid, and CalcBounds and IsClosed when it is sound, into outcome;
// nothing is shown or recorded. Safe to run for different solids on several threads at once.
void BuildSolid(CMapSolid& solid, SolidBuildOutcome& outcome);

// Runs BuildFromPlanes for every solid, and CalcBounds and IsClosed for those that are sound,
// on up to threads threads (0: one per processor). The outcomes come in the order of solids
// and do not depend on the number of threads; nothing is shown or recorded: the caller does
// that in order. The solids must be distinct.
std::vector<SolidBuildOutcome> BuildSolidsFromPlanes(const std::vector<CMapSolid*>& solids,
                                                     unsigned threads = 0);

// A convex brush: an ordered list of faces, each on a plane given by three points. The planes
// define the solid; CreateFromPlanes derives the face polygons from them.
class CMapSolid : public CMapClass {
public:
    // Faces of one solid; a file or caller giving more is refused.
    static constexpr int kMaxFaces = 126;
    // Bytes each solid adds to the editor's object memory while it exists.
    static constexpr int kObjectMemory = 192;

    // A new solid: no faces, contents solid, a random colour from the editor's generator.
    CMapSolid();
    ~CMapSolid() override;

    int FaceCount() const { return static_cast<int>(m_faces.size()); }
    CMapFace& Face(int index) { return m_faces[static_cast<std::size_t>(index)]; }
    const CMapFace& Face(int index) const { return m_faces[static_cast<std::size_t>(index)]; }
    const FaceList& Faces() const { return m_faces; }

    // Makes the face list count faces long: existing faces are kept, new ones are default
    // faces, extra ones are removed. More than 126 faces are refused with an error line
    // (returns false, nothing changes).
    bool SetFaceCount(int count);
    // Appends a copy of face; null (with an error line) when the solid already has 126 faces.
    CMapFace* AddFace(const CMapFace& face = CMapFace());

    // Computes every face's plane from its plane points and its polygon by cutting a large
    // square on the plane by all other planes. Faces with collinear plane points and
    // duplicate planes are dropped. False (with an error record) when a kept face got an
    // unsound polygon, no face got one, or the planes enclose no volume (two of them
    // coincide facing each other); the caller recomputes the bounds.
    bool CreateFromPlanes();
    // CreateFromPlanes without the error record; safe to run for different solids on several
    // threads at once (geometry messages go where ReportGeometryError sends them). When it
    // fails, planesBefore (if given) gets the plane points of every face it started with.
    bool BuildFromPlanes(std::vector<std::array<Vector3d, 3>>* planesBefore = nullptr);
    // Adds the error record CreateFromPlanes adds when it fails.
    void RecordBuildFailure() const;
    // False when the faces leave the solid open on some side: a polygon corner lies on fewer
    // than two other faces' planes (a closed convex solid has each corner on at least two),
    // so part of the large starting square was never cut away.
    bool IsClosed() const;

    // index -1: every face. Records the solid first.
    void SetTexture(const std::string& name, int index = -1);
    // Records the solid, removes the face and moves the later ones down.
    void DeleteFace(int index);

    ContentsType Contents() const { return m_contents; }
    void SetContents(ContentsType contents) { m_contents = contents; }
    // Sets the contents from the first face's texture name (after loading).
    void UpdateContentsFromTexture();

    int GetSize() const override { return 96 + 160 * FaceCount() + kObjectMemory; }
    bool BuildRenderObjects(RenderFrame& frame, bool rebuild) override;
    void CalcBounds(bool recursive = false) override;

    void TransformByTool(const PointTransform& tool) override;
    void TransMove(const Vector& delta) override;
    void TransRotate(const Vector& center, const Vector& angles) override;
    void TransScale(const Vector& center, const Vector3d& factors) override;
    void TransFlip(const Vector& point) override;

    void SetRenderState(int kind, std::uint32_t value) override;
    const char* GetType() const override { return kTypeMapSolid; }
    void CopyFrom(const CMapClass& other) override;
    CMapClass* Clone() const override;
    std::string GetDescription() const override;

private:
    friend class MapObjectAccess;

    // Applies op to every plane point and polygon point, then recomputes each face's plane.
    template <typename Op> void TransformPoints(Op op);
    // Gives every face this solid as owner (after the face list changed).
    void AdoptFaces();
    void DropFaceRenderObjects();

    FaceList m_faces;
    ContentsType m_contents = CONTENTS_SOLID;
};
