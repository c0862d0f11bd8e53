#pragma once

#include "geometry/Plane.h"
#include "geometry/Vector.h"
#include "geometry/Vector3d.h"
#include "geometry/Winding.h"
#include "mapobjects/PointList.h"
#include "mapobjects/RenderObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMapClass;
class QuakeGraphic;

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

// The U and V axes a texture is laid along: s = P.u / x scale + x shift, t = P.v / y scale
// + y shift (in texture pixels).
struct TextureAxes {
    Vector3d u;
    Vector3d v;
};

// The axes of the classic projection: those of the world axis the normal is most turned to,
// turned by rotation degrees. editorOrder: ties go to the earlier of x, y, z, as the editor
// has always shown textures; otherwise ties go to z, then x, as the compile tools choose.
TextureAxes ClassicTextureAxes(const Vector3d& normal, double rotation, bool editorOrder = true);

// Three integers some games' tools write after a face's texture fields (content flags,
// surface flags, value); kept so they are written back.
struct FaceExtraFields {
    bool present = false;
    long long contents = 0;
    long long surface = 0;
    long long value = 0;
};

// The nearest shift, scale and rotation of the classic projection for texture axes, and
// whether the axes are exactly that (expressible).
struct ClassicTextureFit {
    bool exact = false;
    double shiftX = 0.0;
    double shiftY = 0.0;
    double rotation = 0.0;
    double scaleX = 1.0;
    double scaleY = 1.0;
};

// One face of a solid: a plane given by three points, the polygon that lies on it, and the
// texture settings. Faces are values inside their solid and are copied with it.
class MapServices;

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
    // Kept in double precision, exactly as a file gives them.
    const std::array<Vector3d, 3>& PlanePoints() const { return m_planePoints; }
    std::array<Vector3d, 3>& MutablePlanePoints() { return m_planePoints; }
    void SetPlanePoints(const Vector3d& p0, const Vector3d& p1, const Vector3d& p2) {
        m_planePoints = {p0, p1, p2};
    }

    // Texture settings. A face either follows the classic projection (axes from its plane's
    // normal and its rotation, as standard MAP lines give them) or carries its own axes (as
    // lines of the texture-axis dialect do).
    // The settings as the 36-byte block of files (numbers as floats).
    FaceTextureInfo TextureInfo() const;
    // Takes the whole block as stored in a file; the name is cut to 15 characters, but not
    // resolved (apply it with SetTextureName). The face follows the classic projection.
    void SetTextureInfo(const FaceTextureInfo& info);
    const char* TextureName() const { return m_name; }
    // Stores at most 15 characters in upper case, binds the texture of that name and, when
    // the face is shown textured in the 3D view, recomputes its texture coordinates.
    void SetTextureName(const std::string& name);
    QuakeGraphic* Texture() const { return m_textureGraphic; }
    double Rotation() const { return m_rotation; }
    // Turns the texture to degrees: a face with its own axes turns them about their common
    // normal by the difference, as editors of that dialect do.
    void SetRotation(double degrees);
    double ShiftX() const { return m_shiftX; }
    double ShiftY() const { return m_shiftY; }
    void SetShift(double x, double y) {
        m_shiftX = x;
        m_shiftY = y;
    }
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    void SetScale(double x, double y) {
        m_scaleX = x;
        m_scaleY = y;
    }
    // A scale of exactly zero (either sign) becomes 1.
    void FixZeroScales();

    // True when the face carries its own axes; false when it follows the classic projection.
    bool HasOwnAxes() const { return m_ownAxes; }
    // The face's axes: its own, or those of the classic projection of its plane.
    TextureAxes Axes() const;
    // Gives the face its own axes; rotation stays as a number written with them.
    void SetAxes(const TextureAxes& axes);
    // Makes the face follow the classic projection again (its rotation, shift and scales stay).
    void UseClassicAxes() { m_ownAxes = false; }
    // True when the axes span a plane that the face's plane is not edge-on to: the texture can
    // be laid on the face. Classic axes always can.
    bool AxesUsable() const;
    // The shift, scale and rotation of the classic projection nearest to the face's texture,
    // the projection chosen as the compile tools choose it from the plane points.
    ClassicTextureFit FitClassic() const;
    // The face's axes as the compile tools would build them (own axes, or the classic
    // projection chosen as they choose it).
    TextureAxes CompilerAxes() const;

    const FaceExtraFields& ExtraFields() const { return m_extra; }
    void SetExtraFields(const FaceExtraFields& extra) { m_extra = extra; }

    // Applies an affine change of the points (p' = m p + t, m given by its columns) to the
    // texture so that it stays fixed to the face. False (nothing changes) when m is singular.
    bool LockTexture(const Vector3d (&m)[3], const Vector3d& t);
    // After the plane changed with the texture fixed to the world: a face whose own axes the
    // plane is now edge-on to takes the classic projection.
    void KeepAxesUsable();

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

    // The solid holding this face; it keeps this up to date.
    // The services of the solid holding the face, or the installed ones.
    MapServices& OwnerServices() const;
    const CMapClass* Owner() const { return m_owner; }
    void SetOwner(const CMapClass* owner) { m_owner = owner; }

private:
    friend class MapObjectAccess;

    bool ShownTextured() const;
    bool CalcOwnAxesCoordinates(const QuakeGraphic& texture);

    QuakeGraphic* m_textureGraphic = nullptr;
    char m_name[FaceTextureInfo::kNameSize] = {};
    double m_rotation = 0.0;
    double m_shiftX = 0.0;
    double m_shiftY = 0.0;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    bool m_ownAxes = false;
    TextureAxes m_axes;
    FaceExtraFields m_extra;
    PointList m_points;
    std::vector<TexCoord> m_texCoords;
    std::unique_ptr<RenderFace> m_render3D;
    bool m_selected = false;
    std::uint32_t m_displayColor = 0;
    Plane m_plane;
    std::array<Vector3d, 3> m_planePoints{};
    const CMapClass* m_owner = nullptr;
};

// The face check and base polygon of the geometry kernel, for a face: they read the face's
// polygon and plane. BasePolyForPlane also sets a texture scale of exactly zero to 1.
bool CheckFace(const CMapFace& face);
WindingPtr BasePolyForPlane(CMapFace& face);
