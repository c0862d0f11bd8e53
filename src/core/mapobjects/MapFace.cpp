#include "mapobjects/MapFace.h"

#include "common/EditorContext.h"
#include "common/TextureLookup.h"
#include "gamedata/QuakeGraphic.h"
#include "mapobjects/MapClass.h"

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

double LengthOf(const Vector& v) {
    const double x = v.x;
    const double y = v.y;
    const double z = v.z;
    return std::sqrt(x * x + y * y + z * z);
}

// The normal (p0 - p1) x (p2 - p1), unit length; false (and a zero vector) when the points
// lie on one line, make an angle whose sine is at most minSine, or give a normal too large to
// compute with.
bool UnitNormal(const Vector& p0, const Vector& p1, const Vector& p2, Vector& normal,
                double minSine = 0.0) {
    const Vector a = p0 - p1;
    const Vector b = p2 - p1;
    normal = CrossProduct(a, b);
    const float length = VectorLength(normal);
    if (!(length > 0.0f) || !std::isfinite(length) ||
        (minSine > 0.0 && !(length > minSine * LengthOf(a) * LengthOf(b)))) {
        normal = Vector{};
        return false;
    }
    VectorNormalize(normal);
    return true;
}

// Copies at most 15 characters of name into a NUL-padded 16-byte field.
void StoreName(char (&field)[FaceTextureInfo::kNameSize], const char* name, std::size_t length) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, name, std::min(length, CMapFace::kMaxTextureName));
}
} // namespace

CMapFace::CMapFace() {
    SetTextureName(Editor().currentTexture);
}

CMapFace::~CMapFace() = default;

CMapFace::CMapFace(const CMapFace& other)
    : m_textureGraphic(other.m_textureGraphic), m_texture(other.m_texture),
      m_points(other.m_points), m_texCoords(other.m_texCoords), m_selected(other.m_selected),
      m_displayColor(other.m_displayColor), m_plane(other.m_plane),
      m_planePoints(other.m_planePoints), m_owner(other.m_owner) {}

CMapFace& CMapFace::operator=(const CMapFace& other) {
    if (this != &other) {
        m_textureGraphic = other.m_textureGraphic;
        m_texture = other.m_texture;
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
    Vector normal;
    if (!UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal)) {
        m_plane = Plane{};
        return;
    }
    m_plane.normal = normal;
    m_plane.dist = DotProduct(normal, m_planePoints[1]);
}

bool CMapFace::PlanePointsDefinePlane() const {
    Vector normal;
    return UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal);
}

bool CMapFace::SetPoints(const Vector* points, int n) {
    if (n > kMaxPoints || n < -kMaxPoints) {
        Editor().messages.AddLine(MessageLog::Error,
                                  "A face can have at most %d points; %lld points were refused.",
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
        m_planePoints[i] = i < m_points.size() ? m_points[i] : Vector{};
    }
    // A polygon may begin with points on one line (a box's top face from (0,0,64) through
    // (0,32,64) to (0,64,64)): the plane then goes through the first points that span one.
    // In a convex polygon any three points in order give the same facing.
    Vector normal;
    if (count > 3 &&
        !UnitNormal(m_planePoints[0], m_planePoints[1], m_planePoints[2], normal, kCollinearSine)) {
        const Vector& first = m_points[0];
        std::size_t second = 1;
        while (second < m_points.size() && m_points[second] == first) {
            ++second;
        }
        for (std::size_t third = second + 1; third < m_points.size(); ++third) {
            if (UnitNormal(first, m_points[second], m_points[third], normal, kCollinearSine)) {
                m_planePoints = {first, m_points[second], m_points[third]};
                break;
            }
        }
    }
    CalcPlane();
    return true;
}

bool CMapFace::StorePolygon(const Vector* points, int count) {
    if (count < 0 || count > kMaxPoints) {
        Editor().messages.AddLine(MessageLog::Error,
                                  "A face can have at most %d points; %d points were refused.",
                                  kMaxPoints, count);
        return false;
    }
    m_points.assign(points, points + count);
    return true;
}

void CMapFace::SetTextureInfo(const FaceTextureInfo& info) {
    m_texture = info;
    m_texture.name[kMaxTextureName] = '\0';
}

void CMapFace::SetTextureName(const std::string& name) {
    StoreName(m_texture.name, name.c_str(), name.size());
    for (char* c = m_texture.name; *c; ++c) {
        if (*c >= 'a' && *c <= 'z') {
            *c = static_cast<char>(*c - 'a' + 'A');
        }
    }
    m_textureGraphic = Editor().Textures().FindTexture(m_texture.name, true);
    if (m_render3D && ShownTextured()) {
        CalcTextureCoordinates();
    }
}

void CMapFace::FixZeroScales() {
    if (m_texture.scaleX == 0.0f) {
        m_texture.scaleX = 1.0f;
    }
    if (m_texture.scaleY == 0.0f) {
        m_texture.scaleY = 1.0f;
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

    const double theta = static_cast<double>(m_texture.rotation) * kDegreesToRadians;
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    const double width = texture->width;
    const double height = texture->height;
    m_texCoords.resize(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const double u = DotProduct(m_points[i], axisU);
        const double v = DotProduct(m_points[i], axisV);
        m_texCoords[i].s = static_cast<float>(
            ((u * cosine - v * sine) / m_texture.scaleX + m_texture.shiftX) / width);
        m_texCoords[i].t = static_cast<float>(
            ((u * sine + v * cosine) / m_texture.scaleY + m_texture.shiftY) / height);
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
