#pragma once

#include "geometry/Plane.h"
#include "geometry/Vector.h"
#include "geometry/Winding.h"
#include "mapobjects/RenderObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMapClass;
class MapTextStream;
class QuakeGraphic;
class RmfStream;

// A face's texture settings, laid out as files store them: a 16-byte NUL-padded name, then
// rotation, x and y shift and x and y scale (36 bytes).
struct FaceTextureInfo {
    static constexpr std::size_t kNameSize = 16;
    char name[kNameSize] = {};
    float rotation = 0.0f;
    float shiftX = 0.0f;
    float shiftY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
};
static_assert(sizeof(FaceTextureInfo) == 36, "the texture block is 36 bytes");

// One face of a solid: a plane given by three points, the polygon that lies on it, and the
// texture settings. Faces are values inside their solid and are copied with it.
class CMapFace {
public:
    // Points of one polygon; a file or caller giving more is refused.
    static constexpr int kMaxPoints = 256;
    static constexpr std::size_t kMaxTextureName = FaceTextureInfo::kNameSize - 1;

    // A new face: no polygon, scales 1 and the current texture name.
    CMapFace();
    ~CMapFace();
    // Copies every field and the polygon; the copy has no 3D face.
    CMapFace(const CMapFace& other);
    CMapFace& operator=(const CMapFace& other);
    CMapFace(CMapFace&& other) noexcept;
    CMapFace& operator=(CMapFace&& other) noexcept;

    // Plane from the plane points: normal = (p0 - p1) x (p2 - p1) normalized, distance from
    // p1. Plane points on one line (or too large to compute with) give a zero plane. A face
    // whose polygon was clipped away keeps its plane points and its plane.
    void CalcPlane();
    // True when the plane points span a plane (not on one line, finite).
    bool PlanePointsDefinePlane() const;

    // Replaces the polygon with n points in order, or with -n points in reverse order for
    // n <= 0; the first three points that are not on one line become the plane points and the
    // plane is recomputed. More than 256 points are refused with an error line and nothing
    // changes (returns false).
    bool SetPoints(const Vector* points, int n);
    // Replaces the polygon's positions only; plane points and plane stay as they are.
    // More than 256 points are refused like SetPoints.
    bool StorePolygon(const Vector* points, int count);
    void ClearPoints() { m_points.clear(); }
    int PointCount() const { return static_cast<int>(m_points.size()); }
    const Vector* Points() const { return m_points.data(); }
    Vector* MutablePoints() { return m_points.data(); }
    const Vector& Point(int i) const { return m_points[static_cast<std::size_t>(i)]; }

    const Plane& GetPlane() const { return m_plane; }
    void SetPlane(const Plane& plane) { m_plane = plane; }
    const std::array<Vector, 3>& PlanePoints() const { return m_planePoints; }
    std::array<Vector, 3>& MutablePlanePoints() { return m_planePoints; }
    void SetPlanePoints(const Vector& p0, const Vector& p1, const Vector& p2) {
        m_planePoints = {p0, p1, p2};
    }

    // Texture settings.
    const FaceTextureInfo& TextureInfo() const { return m_texture; }
    // Takes the whole block as stored in a file; the name is cut to 15 characters, but not
    // resolved (apply it with SetTextureName).
    void SetTextureInfo(const FaceTextureInfo& info);
    const char* TextureName() const { return m_texture.name; }
    // Stores at most 15 characters in upper case, binds the texture of that name and, when
    // the face is shown textured in the 3D view, recomputes its texture coordinates.
    void SetTextureName(const std::string& name);
    QuakeGraphic* Texture() const { return m_textureGraphic; }
    float Rotation() const { return m_texture.rotation; }
    void SetRotation(float degrees) { m_texture.rotation = degrees; }
    float ShiftX() const { return m_texture.shiftX; }
    float ShiftY() const { return m_texture.shiftY; }
    void SetShift(float x, float y) {
        m_texture.shiftX = x;
        m_texture.shiftY = y;
    }
    float ScaleX() const { return m_texture.scaleX; }
    float ScaleY() const { return m_texture.scaleY; }
    void SetScale(float x, float y) {
        m_texture.scaleX = x;
        m_texture.scaleY = y;
    }
    // A scale of exactly zero (either sign) becomes 1.
    void FixZeroScales();

    // Projects the texture onto the polygon (one coordinate pair per point) and hands the
    // result to the 3D face, if any. A face without a texture with an image gets none; the
    // result is then false and the coordinates are empty.
    bool CalcTextureCoordinates();
    const std::vector<TexCoord>& TextureCoordinates() const { return m_texCoords; }

    // Highlighting in the 3D view: kind 2 selects; kind 4 deselects; other kinds restore the
    // colour of a face that is not selected. Only for a face that has a 3D face.
    void SetFaceRenderState(int kind);
    bool IsSelected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }
    // The owning solid's colour, with alpha 255 (0xFFRRGGBB).
    std::uint32_t DisplayColor() const { return m_displayColor; }
    void SetDisplayColor(std::uint32_t rgb) { m_displayColor = 0xFF000000u | (rgb & 0xFFFFFFu); }

    RenderFace* Render3D() const { return m_render3D.get(); }
    void SetRender3D(std::unique_ptr<RenderFace> face) { m_render3D = std::move(face); }

    // File forms: MAP reading returns -3 (read), -2 (malformed line, the face keeps what was
    // parsed) or -4 (the line is no face line and was pushed back); writing returns -3.
    // RMF returns 0, or -1 on a stream error or corrupt data.
    int SerializeMAP(MapTextStream& stream, bool saving);
    int SerializeRMF(RmfStream& stream, bool saving);

    // The solid holding this face; it keeps this up to date.
    const CMapClass* Owner() const { return m_owner; }
    void SetOwner(const CMapClass* owner) { m_owner = owner; }

private:
    bool ShownTextured() const;

    QuakeGraphic* m_textureGraphic = nullptr;
    FaceTextureInfo m_texture;
    std::vector<Vector> m_points;
    std::vector<TexCoord> m_texCoords;
    std::unique_ptr<RenderFace> m_render3D;
    bool m_selected = false;
    std::uint32_t m_displayColor = 0;
    Plane m_plane;
    std::array<Vector, 3> m_planePoints{};
    const CMapClass* m_owner = nullptr;
};

// The face check and base polygon of the geometry kernel, for a face: they read the face's
// polygon and plane. BasePolyForPlane also sets a texture scale of exactly zero to 1.
bool CheckFace(const CMapFace& face);
WindingPtr BasePolyForPlane(CMapFace& face);
