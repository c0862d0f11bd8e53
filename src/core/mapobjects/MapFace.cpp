#include "mapobjects/MapFace.h"

#include "common/TextureLookup.h"
#include "gamedata/QuakeGraphic.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapServices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr std::uint32_t kSelectedFaceColor = 220u << 16;
constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr double kDegreesToRadians = 0.017453292519943295;

// When a polygon's first three points (nearly) lie on one line, the plane goes through
// three later points whose angle has at least this sine (about a ten-thousandth of a
// radian): a plane through points closer to a line would tilt at random.
constexpr double kCollinearSine = 1e-4;

// The normal (p0 - p1) x (p2 - p1), unit length; false (and a zero vector) when the points
// lie on one line, make an angle whose sine is at most minSine, or give a normal too large to
// compute with.
bool UnitNormal(const Vector3d& p0, const Vector3d& p1, const Vector3d& p2, Vector3d& normal,
                double minSine = 0.0) {
    const Vector3d a = p0 - p1;
    const Vector3d b = p2 - p1;
    normal = Cross(a, b);
    const double length = Length(normal);
    if (!(length > 0.0) || !std::isfinite(length) ||
        (minSine > 0.0 && !(length > minSine * Length(a) * Length(b)))) {
        normal = Vector3d{};
        return false;
    }
    normal = normal * (1.0 / length);
    return true;
}

// Sine and cosine of degrees, exact for the quarter turns.
void SineCosine(double degrees, double& sine, double& cosine) {
    if (degrees == 0.0) {
        sine = 0.0;
        cosine = 1.0;
    } else if (degrees == 90.0) {
        sine = 1.0;
        cosine = 0.0;
    } else if (degrees == 180.0) {
        sine = 0.0;
        cosine = -1.0;
    } else if (degrees == 270.0 || degrees == -90.0) {
        sine = -1.0;
        cosine = 0.0;
    } else {
        const double theta = degrees * kDegreesToRadians;
        sine = std::sin(theta);
        cosine = std::cos(theta);
    }
}

// v turned about the unit axis by degrees (right-handed).
Vector3d TurnAbout(const Vector3d& v, const Vector3d& axis, double degrees) {
    double sine = 0.0;
    double cosine = 1.0;
    SineCosine(degrees, sine, cosine);
    return v * cosine + Cross(axis, v) * sine + axis * (Dot(axis, v) * (1.0 - cosine));
}

// 3x3 matrix given by its columns: the inverse transpose, false when singular.
bool InverseTranspose(const Vector3d (&m)[3], Vector3d (&out)[3]) {
    // Rows of the inverse are the cross products of the columns over the determinant; the
    // inverse transpose has them as its columns.
    const Vector3d c0 = Cross(m[1], m[2]);
    const Vector3d c1 = Cross(m[2], m[0]);
    const Vector3d c2 = Cross(m[0], m[1]);
    const double det = Dot(m[0], c0);
    if (!(std::fabs(det) > 1e-12) || !std::isfinite(det)) {
        return false;
    }
    out[0] = c0 * (1.0 / det);
    out[1] = c1 * (1.0 / det);
    out[2] = c2 * (1.0 / det);
    return true;
}

Vector3d Apply(const Vector3d (&m)[3], const Vector3d& v) {
    return m[0] * v.x + m[1] * v.y + m[2] * v.z;
}

// Texture axes whose plane the face's plane is this close to edge-on (the sine of the angle
// between the face's normal and the axes' plane) smear the texture to streaks.
constexpr double kEdgeOnSine = 1e-3;
// Relative error up to which axes count as those of a classic projection.
constexpr double kClassicTolerance = 1e-6;

// Snaps a converted number to a short decimal when it is that within rounding.
double Tidy(double value) {
    const double rounded = std::round(value * 1e6) / 1e6;
    return std::fabs(rounded - value) <= 1e-9 * std::max(1.0, std::fabs(value)) ? rounded + 0.0
                                                                                : value;
}

// Copies at most 15 characters of name into a NUL-padded 16-byte field.
void StoreName(char (&field)[FaceTextureInfo::kNameSize], const char* name, std::size_t length) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name, std::min(length, CMapFace::kMaxTextureName));
}
} // namespace

MapServices& CMapFace::OwnerServices() const {
    return m_owner ? m_owner->Services() : MapServices::Installed();
}

CMapFace::CMapFace() {
    SetTextureName(MapServices::Installed().currentTexture);
}

CMapFace::~CMapFace() = default;

CMapFace::CMapFace(const CMapFace& other)
    : m_textureGraphic(other.m_textureGraphic), m_rotation(other.m_rotation),
      m_shiftX(other.m_shiftX), m_shiftY(other.m_shiftY), m_scaleX(other.m_scaleX),
      m_scaleY(other.m_scaleY), m_ownAxes(other.m_ownAxes), m_axes(other.m_axes),
      m_extra(other.m_extra), m_points(other.m_points), m_texCoords(other.m_texCoords),
      m_selected(other.m_selected), m_displayColor(other.m_displayColor), m_plane(other.m_plane),
      m_planePoints(other.m_planePoints), m_owner(other.m_owner) {
    std::memcpy(m_name, other.m_name, sizeof m_name);
}

CMapFace& CMapFace::operator=(const CMapFace& other) {
    if (this != &other) {
        m_textureGraphic = other.m_textureGraphic;
        std::memcpy(m_name, other.m_name, sizeof m_name);
        m_rotation = other.m_rotation;
        m_shiftX = other.m_shiftX;
        m_shiftY = other.m_shiftY;
        m_scaleX = other.m_scaleX;
        m_scaleY = other.m_scaleY;
        m_ownAxes = other.m_ownAxes;
        m_axes = other.m_axes;
        m_extra = other.m_extra;
        m_points = other.m_points;
        m_texCoords = other.m_texCoords;
        m_render3D.reset();
        m_selected = other.m_selected;
        m_displayColor = other.m_displayColor;
        m_plane = other.m_plane;
        m_planePoints = other.m_planePoints;
        m_owner = other.m_owner;
    }
    return *this;
}

CMapFace::CMapFace(CMapFace&& other) noexcept = default;
CMapFace& CMapFace::operator=(CMapFace&& other) noexcept = default;

void CMapFace::CalcPlane() {
    Vector3d normal;
    if (!UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal)) {
        m_plane = Plane{};
        return;
    }
    m_plane.normal = normal.ToFloat();
    m_plane.dist = static_cast<float>(Dot(normal, m_planePoints[1]));
}

bool CMapFace::PlanePointsDefinePlane() const {
    Vector3d normal;
    return UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal);
}

bool CMapFace::SetPoints(const Vector* points, int n) {
    if (n > kMaxPoints || n < -kMaxPoints) {
        OwnerServices().messages.AddLine(
            MessageLog::Error, "A face can have at most %d points; %lld points were refused.",
            kMaxPoints, n < 0 ? -static_cast<long long>(n) : n);
        return false;
    }
    const int count = n < 0 ? -n : n;
    if (n > 0) {
        m_points.assign(points, points + n);
    } else {
        m_points.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            m_points[static_cast<std::size_t>(i)] = points[count - 1 - i];
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        m_planePoints[i] = i < m_points.size() ? Vector3d(m_points[i]) : Vector3d{};
    }
    // A polygon may begin with points on one line (a box's top face from (0,0,64) through
    // (0,32,64) to (0,64,64)): the plane then goes through the first points that span one.
    // In a convex polygon any three points in order give the same facing.
    Vector3d normal;
    if (count > 3 &&
        !UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal, kCollinearSine)) {
        const Vector& first = m_points[0];
        std::size_t second = 1;
        while (second < m_points.size() && m_points[second] == first) {
            ++second;
        }
        for (std::size_t third = second + 1; third < m_points.size(); ++third) {
            if (UnitNormal(first, m_points[second], m_points[third], normal, kCollinearSine)) {
                m_planePoints = {Vector3d(first), Vector3d(m_points[second]),
                                 Vector3d(m_points[third])};
                break;
            }
        }
    }
    CalcPlane();
    return true;
}

bool CMapFace::StorePolygon(const Vector* points, int count) {
    if (count < 0 || count > kMaxPoints) {
        OwnerServices().messages.AddLine(
            MessageLog::Error, "A face can have at most %d points; %d points were refused.",
            kMaxPoints, count);
        return false;
    }
    m_points.assign(points, points + count);
    return true;
}

FaceTextureInfo CMapFace::TextureInfo() const {
    FaceTextureInfo info;
    std::memcpy(info.name, m_name, sizeof info.name);
    info.rotation = static_cast<float>(m_rotation);
    info.shiftX = static_cast<float>(m_shiftX);
    info.shiftY = static_cast<float>(m_shiftY);
    info.scaleX = static_cast<float>(m_scaleX);
    info.scaleY = static_cast<float>(m_scaleY);
    return info;
}

void CMapFace::SetTextureInfo(const FaceTextureInfo& info) {
    std::memcpy(m_name, info.name, sizeof m_name);
    m_name[kMaxTextureName] = '\0';
    m_rotation = info.rotation;
    m_shiftX = info.shiftX;
    m_shiftY = info.shiftY;
    m_scaleX = info.scaleX;
    m_scaleY = info.scaleY;
    m_ownAxes = false;
}

void CMapFace::SetTextureName(const std::string& name) {
    StoreName(m_name, name.c_str(), name.size());
    for (char* c = m_name; *c; ++c) {
        if (*c >= 'a' && *c <= 'z') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    m_textureGraphic = OwnerServices().Textures().FindTexture(m_name, true);
    if (m_render3D && ShownTextured()) {
        CalcTextureCoordinates();
    }
}

void CMapFace::FixZeroScales() {
    if (m_scaleX == 0.0) {
        m_scaleX = 1.0;
    }
    if (m_scaleY == 0.0) {
        m_scaleY = 1.0;
    }
}

void CMapFace::SetRotation(double degrees) {
    if (m_ownAxes && std::isfinite(degrees) && std::isfinite(m_rotation)) {
        const Vector3d normal = Cross(m_axes.v, m_axes.u);
        const double length = Length(normal);
        if (length > 0.0 && std::isfinite(length)) {
            const Vector3d axis = normal * (1.0 / length);
            m_axes.u = TurnAbout(m_axes.u, axis, degrees - m_rotation);
            m_axes.v = TurnAbout(m_axes.v, axis, degrees - m_rotation);
        }
    }
    m_rotation = degrees;
}

TextureAxes ClassicTextureAxes(const Vector3d& normal, double rotation, bool editorOrder) {
    const double ax = std::fabs(normal.x);
    const double ay = std::fabs(normal.y);
    const double az = std::fabs(normal.z);
    int axis = 0;
    if (editorOrder) {
        double best = ax;
        if (ay > best) {
            axis = 1;
            best = ay;
        }
        if (az > best) {
            axis = 2;
        }
    } else {
        axis = 2;
        double best = az;
        if (ax > best) {
            axis = 0;
            best = ax;
        }
        if (ay > best) {
            axis = 1;
        }
    }
    static const Vector3d kAxisU[3] = {{0, 1, 0}, {1, 0, 0}, {1, 0, 0}};
    static const Vector3d kAxisV[3] = {{0, 0, -1}, {0, 0, -1}, {0, -1, 0}};
    double sine = 0.0;
    double cosine = 1.0;
    SineCosine(std::isfinite(rotation) ? rotation : 0.0, sine, cosine);
    const Vector3d& u = kAxisU[axis];
    const Vector3d& v = kAxisV[axis];
    return {u * cosine - v * sine, u * sine + v * cosine};
}

TextureAxes CMapFace::Axes() const {
    if (m_ownAxes) {
        return m_axes;
    }
    return ClassicTextureAxes(Vector3d(m_plane.normal), m_rotation, true);
}

void CMapFace::SetAxes(const TextureAxes& axes) {
    m_axes = axes;
    m_ownAxes = true;
}

bool CMapFace::AxesUsable() const {
    if (!m_ownAxes) {
        return true;
    }
    const Vector3d across = Cross(m_axes.u, m_axes.v);
    const double length = Length(across);
    if (!(length > 0.0) || !std::isfinite(length) || !IsFinite(m_axes.u) || !IsFinite(m_axes.v)) {
        return false;
    }
    const Vector3d normal(m_plane.normal);
    // A face without a plane yet takes the axes as they are.
    if (Dot(normal, normal) == 0.0) {
        return true;
    }
    return std::fabs(Dot(across, normal)) / length > kEdgeOnSine;
}

TextureAxes CMapFace::CompilerAxes() const {
    if (m_ownAxes) {
        return m_axes;
    }
    Vector3d normal;
    UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal);
    return ClassicTextureAxes(normal, m_rotation, false);
}

ClassicTextureFit CMapFace::FitClassic() const {
    ClassicTextureFit fit;
    fit.shiftX = m_shiftX;
    fit.shiftY = m_shiftY;
    Vector3d normal;
    UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal);
    if (!m_ownAxes) {
        fit.exact = true;
        fit.rotation = m_rotation;
        fit.scaleX = m_scaleX;
        fit.scaleY = m_scaleY;
        return fit;
    }
    // The unturned axes of the projection the tools choose for this plane; their cross
    // product is the world axis the texture is projected along.
    const TextureAxes base = ClassicTextureAxes(normal, 0.0, false);
    const double sx = m_scaleX == 0.0 ? 1.0 : m_scaleX;
    const double sy = m_scaleY == 0.0 ? 1.0 : m_scaleY;
    const Vector3d a = m_axes.u * (1.0 / sx);
    const Vector3d b = m_axes.v * (1.0 / sy);
    const Vector3d along = Cross(base.u, base.v);
    const double a1 = Dot(a, base.u);
    const double a2 = Dot(a, base.v);
    const double b1 = Dot(b, base.u);
    const double b2 = Dot(b, base.v);
    const double lengthA = std::hypot(a1, a2);
    const double sizeA = Length(a);
    const double sizeB = Length(b);
    if (!(lengthA > 0.0) || !(sizeB > 0.0) || !std::isfinite(sizeA) || !std::isfinite(sizeB)) {
        fit.rotation = m_rotation;
        fit.scaleX = m_scaleX;
        fit.scaleY = m_scaleY;
        return fit;
    }
    // Classic: a = (cos U - sin V) / scale x, b = (sin U + cos V) / scale y.
    const double theta = std::atan2(-a2, a1);
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    const double alongB = b1 * sine + b2 * cosine;
    const double skew = b1 * cosine - b2 * sine;
    fit.rotation = Tidy(theta / kDegreesToRadians);
    fit.scaleX = Tidy(1.0 / lengthA);
    fit.scaleY = alongB != 0.0 ? Tidy(1.0 / alongB) : m_scaleY;
    fit.exact = alongB != 0.0 && std::fabs(Dot(a, along)) <= kClassicTolerance * sizeA &&
                std::fabs(Dot(b, along)) <= kClassicTolerance * sizeB &&
                std::fabs(skew) <= kClassicTolerance * sizeB;
    return fit;
}

bool CMapFace::LockTexture(const Vector3d (&m)[3], const Vector3d& t) {
    Vector3d inverseTransposed[3];
    if (!InverseTranspose(m, inverseTransposed)) {
        return false;
    }
    const TextureAxes axes = Axes();
    const double sx = m_scaleX == 0.0 ? 1.0 : m_scaleX;
    const double sy = m_scaleY == 0.0 ? 1.0 : m_scaleY;
    // s(P) = P.a + shift with a = u / scale; for P' = m P + t the same s needs
    // a' = m^-T a and shift' = shift - t.a'.
    const Vector3d a = Apply(inverseTransposed, axes.u * (1.0 / sx));
    const Vector3d b = Apply(inverseTransposed, axes.v * (1.0 / sy));
    const double lengthA = Length(a);
    const double lengthB = Length(b);
    if (!(lengthA > 0.0) || !(lengthB > 0.0) || !std::isfinite(lengthA) ||
        !std::isfinite(lengthB)) {
        return false;
    }
    m_shiftX -= Dot(t, a);
    m_shiftY -= Dot(t, b);
    const double signX = sx < 0.0 ? -1.0 : 1.0;
    const double signY = sy < 0.0 ? -1.0 : 1.0;
    const double newScaleX = signX / lengthA;
    const double newScaleY = signY / lengthB;
    const TextureAxes moved{a * newScaleX, b * newScaleY};
    // A classic face stays classic when only its shift changed (a move).
    if (!m_ownAxes) {
        const TextureAxes classicNow = ClassicTextureAxes(Vector3d(m_plane.normal), m_rotation);
        if (Length(classicNow.u - moved.u) <= kClassicTolerance &&
            Length(classicNow.v - moved.v) <= kClassicTolerance &&
            std::fabs(newScaleX - sx) <= kClassicTolerance * std::fabs(sx) &&
            std::fabs(newScaleY - sy) <= kClassicTolerance * std::fabs(sy)) {
            return true;
        }
    }
    m_scaleX = newScaleX;
    m_scaleY = newScaleY;
    SetAxes(moved);
    return true;
}

void CMapFace::KeepAxesUsable() {
    if (m_ownAxes && !AxesUsable()) {
        m_ownAxes = false;
    }
}

bool CMapFace::CalcTextureCoordinates() {
    FixZeroScales();
    const QuakeGraphic* texture = m_textureGraphic;
    if (!texture || texture->width <= 0 || texture->height <= 0) {
        m_texCoords.clear();
        if (m_render3D) {
            m_render3D->SetTexture(nullptr, nullptr, 0);
        }
        return false;
    }

    // The texture lies on the plane of the axis the face is most turned to; a later axis
    // must be strictly closer to win, so a face at 45 degrees takes the earlier axis.
    if (m_ownAxes) {
        return CalcOwnAxesCoordinates(*texture);
    }
    const Vector& n = m_plane.normal;
    int axis = 0;
    float best = std::fabs(n.x);
    if (std::fabs(n.y) > best) {
        axis = 1;
        best = std::fabs(n.y);
    }
    if (std::fabs(n.z) > best) {
        axis = 2;
    }
    static const Vector kAxisU[3] = {{0, 1, 0}, {1, 0, 0}, {1, 0, 0}};
    static const Vector kAxisV[3] = {{0, 0, -1}, {0, 0, -1}, {0, -1, 0}};
    const Vector& axisU = kAxisU[axis];
    const Vector& axisV = kAxisV[axis];

    const double theta = m_rotation * kDegreesToRadians;
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    const double width = texture->width;
    const double height = texture->height;
    m_texCoords.resize(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const double u = DotProduct(m_points[i], axisU);
        const double v = DotProduct(m_points[i], axisV);
        m_texCoords[i].s =
            static_cast<float>(((u * cosine - v * sine) / m_scaleX + m_shiftX) / width);
        m_texCoords[i].t =
            static_cast<float>(((u * sine + v * cosine) / m_scaleY + m_shiftY) / height);
    }
    if (m_render3D) {
        m_render3D->SetTexture(m_textureGraphic, m_texCoords.data(),
                               static_cast<int>(m_texCoords.size()));
    }
    return true;
}

bool CMapFace::CalcOwnAxesCoordinates(const QuakeGraphic& texture) {
    // Axes the face cannot carry a texture on are shown as the classic projection would lay
    // it; the face keeps them for writing.
    const TextureAxes axes =
        AxesUsable() ? m_axes : ClassicTextureAxes(Vector3d(m_plane.normal), m_rotation);
    const double width = texture.width;
    const double height = texture.height;
    m_texCoords.resize(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const Vector3d p(m_points[i]);
        m_texCoords[i].s = static_cast<float>((Dot(p, axes.u) / m_scaleX + m_shiftX) / width);
        m_texCoords[i].t = static_cast<float>((Dot(p, axes.v) / m_scaleY + m_shiftY) / height);
    }
    if (m_render3D) {
        m_render3D->SetTexture(m_textureGraphic, m_texCoords.data(),
                               static_cast<int>(m_texCoords.size()));
    }
    return true;
}

void CMapFace::SetFaceRenderState(int kind) {
    if (kind == RENDER_SELECT) {
        m_selected = true;
        if (m_render3D) {
            m_render3D->SetColor(kSelectedFaceColor);
        }
        return;
    }
    if (m_selected && kind != RENDER_DESELECT) {
        return;
    }
    m_selected = false;
    if (m_render3D) {
        m_render3D->SetColor(ShownTextured() ? kWhite : (m_displayColor & 0xFFFFFFu));
    }
}

bool CMapFace::ShownTextured() const {
    return m_owner && m_owner->WorldShowsTextures();
}

bool CheckFace(const CMapFace& face) {
    return CheckFace(face.Points(), face.PointCount(), face.GetPlane());
}

WindingPtr BasePolyForPlane(CMapFace& face) {
    face.FixZeroScales();
    return BasePolyForPlane(face.GetPlane());
}
