#include "mapobjects/MapSolid.h"

#include "common/BackgroundWork.h"
#include "common/CountText.h"
#include "geometry/Rotation.h"
#include "mapobjects/MapServices.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Polygon points this close to a whole unit are moved onto it.
constexpr float kSnapTolerance = 0.01f;
// Marks an axis a flip leaves alone.
constexpr float kNoCoordinate = 99999.0f;

bool StartsWithIgnoreCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (std::tolower(static_cast<unsigned char>(*text)) != *prefix) {
            return false;
        }
    }
    return true;
}

// c, or the whole number it lies within kSnapTolerance of (0 for either zero, as RoundCoord
// gives it).
float Snap(float c) {
    // Below 2^22 adding and taking away 1.5 * 2^23 rounds to a whole number, exactly; which
    // way a half goes does not matter, as a half is never that close. From 2^22 on a float is
    // whole or half.
    constexpr float kRounder = 12582912.0f;
    if (!(std::fabs(c) < 4194304.0f)) {
        return c;
    }
    const float rounded = (c + kRounder) - kRounder;
    if (!(std::fabs(c - rounded) < kSnapTolerance)) {
        return c;
    }
    return rounded == 0.0f && c < 0.0f ? -0.0f : rounded;
}

// Snaps count coordinates from first on; the array has room to round count up to four.
void SnapPoints(float* first, int count) {
    int i = 0;
#if defined(__SSE2__)
    // Four at a time, with the same operations as Snap.
    const __m128 rounder = _mm_set1_ps(12582912.0f);
    const __m128 fractions = _mm_set1_ps(4194304.0f);
    const __m128 tolerance = _mm_set1_ps(kSnapTolerance);
    const __m128 noSign = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 sign = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(0x80000000u)));
    const __m128 zero = _mm_setzero_ps();
    for (; i < count; i += 4) {
        const __m128 c = _mm_loadu_ps(first + i);
        const __m128 rounded = _mm_sub_ps(_mm_add_ps(c, rounder), rounder);
        const __m128 snaps =
            _mm_and_ps(_mm_cmplt_ps(_mm_and_ps(c, noSign), fractions),
                       _mm_cmplt_ps(_mm_and_ps(_mm_sub_ps(c, rounded), noSign), tolerance));
        // Zero keeps the sign of a negative coordinate.
        const __m128 signedZero =
            _mm_and_ps(_mm_and_ps(_mm_cmplt_ps(c, zero), _mm_cmpeq_ps(rounded, zero)), sign);
        const __m128 snapped = _mm_or_ps(rounded, signedZero);
        _mm_storeu_ps(first + i, _mm_or_ps(_mm_and_ps(snaps, snapped), _mm_andnot_ps(snaps, c)));
    }
#endif
    for (; i < count; ++i) {
        first[i] = Snap(first[i]);
    }
}

// True when every polygon point lies on the plane of one face (within the snapping
// tolerance): the planes close around something flat, not a volume. Two planes that
// coincide facing each other do that, and both keep their polygons.
bool IsFlat(const FaceList& faces) {
    for (const CMapFace& face : faces) {
        if (face.PointCount() == 0) {
            continue;
        }
        const Plane& plane = face.GetPlane();
        bool behind = false;
        for (const CMapFace& other : faces) {
            for (int k = 0; k < other.PointCount() && !behind; ++k) {
                behind = plane.dist - DotProduct(plane.normal, other.Point(k)) > kSnapTolerance;
            }
            if (behind) {
                break;
            }
        }
        if (!behind) {
            return true;
        }
    }
    return false;
}
} // namespace

ContentsType ContentsForTextureName(const char* name) {
    if (name[0] != '*') {
        return CONTENTS_SOLID;
    }
    if (StartsWithIgnoreCase(name + 1, "slime")) {
        return CONTENTS_SLIME;
    }
    if (StartsWithIgnoreCase(name + 1, "lava")) {
        return CONTENTS_LAVA;
    }
    return CONTENTS_WATER;
}

CMapSolid::CMapSolid() {
    MapServices::Installed().objectMemory += kObjectMemory;
    const std::uint32_t color = 12336u + MapServices::Installed().random.Next() % 45232u;
    SetRenderState(RENDER_SET_COLOR, color);
}

CMapSolid::~CMapSolid() {
    MapServices::Installed().objectMemory -= kObjectMemory;
}

void CMapSolid::AdoptFaces() {
    for (CMapFace& face : m_faces) {
        face.SetOwner(this);
    }
}

void CMapSolid::DropFaceRenderObjects() {
    for (CMapFace& face : m_faces) {
        face.SetRender3D(nullptr);
    }
}

bool CMapSolid::SetFaceCount(int count) {
    if (count < 0 || count > kMaxFaces) {
        Services().messages.AddLine(MessageLog::Error,
                                    "A solid can have at most %d faces; %d faces were refused.",
                                    kMaxFaces, count);
        return false;
    }
    m_faces.resize(static_cast<std::size_t>(count));
    AdoptFaces();
    return true;
}

CMapFace* CMapSolid::AddFace(const CMapFace& face) {
    if (FaceCount() >= kMaxFaces) {
        Services().messages.AddLine(
            MessageLog::Error, "A solid can have at most %d faces; a further face was refused.",
            kMaxFaces);
        return nullptr;
    }
    m_faces.push_back(face);
    AdoptFaces();
    return &m_faces.back();
}

bool CMapSolid::CreateFromPlanes() {
    const bool built = BuildFromPlanes();
    if (!built) {
        RecordBuildFailure();
    }
    return built;
}

void CMapSolid::RecordBuildFailure() const {
    Services().errors.push_back(ErrorRecord{ObjectId(), "CreateFromPlanes() failed", 0});
}

bool CMapSolid::BuildFromPlanes(std::vector<std::array<Vector3d, 3>>* planesBefore) {
    m_bounds.ResetBounds();
    bool failed = false;
    const int count = FaceCount();
    for (CMapFace& face : m_faces) {
        face.ClearPoints();
    }

    // Plane pass. A face with collinear plane points gets a zero plane, so it clips nothing
    // below and never keeps a plane from an earlier computation.
    std::array<bool, kMaxFaces> takesPart{};
    for (int i = 0; i < count; ++i) {
        CMapFace& face = Face(i);
        const auto& p = face.PlanePoints();
        Vector3d normal = Cross(p[0] - p[1], p[2] - p[1]);
        if (normal.x == 0.0 && normal.y == 0.0 && normal.z == 0.0) {
            face.SetPlane(Plane{});
            continue;
        }
        normal = normal * (1.0 / Length(normal));
        Plane plane;
        plane.normal = normal.ToFloat();
        plane.dist = static_cast<float>(Dot(normal, p[1]));
        if (plane.normal.x == 0.0f && plane.normal.y == 0.0f && plane.normal.z == 0.0f) {
            face.SetPlane(Plane{});
            continue;
        }
        if (!std::isfinite(plane.normal.x) || !std::isfinite(plane.normal.y) ||
            !std::isfinite(plane.normal.z) || !std::isfinite(plane.dist)) {
            // Points too large to compute with (or not numbers): no polygon could be sound.
            ReportGeometryError("CreateFromPlanes: face %d has a plane out of range", i + 1);
            failed = true;
            face.SetPlane(Plane{});
            continue;
        }
        face.SetPlane(plane);
        takesPart[static_cast<std::size_t>(i)] = true;
        for (int j = 0; j < i; ++j) {
            const Plane& earlier = Face(j).GetPlane();
            if (takesPart[static_cast<std::size_t>(j)] && earlier.normal == plane.normal &&
                earlier.dist == plane.dist) {
                takesPart[static_cast<std::size_t>(i)] = false;
                break;
            }
        }
    }

    // Polygon pass: keep the part of a huge square on each plane that lies behind every
    // other plane. Only faces that take part clip: a repeated plane would clip the face it
    // repeats by rounding alone, and it is dropped below, so the solid written out would not
    // be the solid built here. Clipping refuses polygons of 128 points or more, so they never
    // outgrow the arrays.
    // Made once per thread: the arrays are large, and their points need no clearing.
    thread_local Vector polygon[2][Winding::kMaxPoints + 4];
    // Each face keeps what lies behind the other planes: the planes turned round.
    thread_local Plane behind[kMaxFaces];
    for (int j = 0; j < count; ++j) {
        const Plane& plane = Face(j).GetPlane();
        behind[j] = Plane{-plane.normal, -plane.dist};
    }
    bool anyPolygon = false;
    for (int i = 0; i < count; ++i) {
        if (!takesPart[static_cast<std::size_t>(i)]) {
            continue;
        }
        CMapFace& face = Face(i);
        // The polygon goes back and forth between two arrays as the planes cut it.
        face.FixZeroScales();
        Vector square[4];
        BasePolygonForPlane(face.GetPlane(), square);
        std::copy(square, square + 4, polygon[0]);
        int current = 0;
        int pointCount = 4;
        bool gone = false;
        for (int j = 0; j < count && !gone; ++j) {
            if (j == i || !takesPart[static_cast<std::size_t>(j)]) {
                continue;
            }
            int cutCount = 0;
            switch (ClipPolygon(polygon[current], pointCount, behind[j], polygon[1 - current],
                                cutCount)) {
            case ClipOutcome::Kept:
                break;
            case ClipOutcome::Gone:
                gone = true;
                break;
            case ClipOutcome::Cut:
                current = 1 - current;
                pointCount = cutCount;
                break;
            }
        }
        if (gone) {
            continue;
        }
        Vector* points = polygon[current];
        SnapPoints(&points[0].x, 3 * pointCount);
        anyPolygon = true;
        if (!face.StorePolygon(points, pointCount) || !CheckFace(face)) {
            failed = true;
        }
    }

    if (!anyPolygon) {
        failed = true;
        m_bounds.mins = m_bounds.maxs = Vector{0, 0, 0};
    } else {
        failed = failed || IsFlat(m_faces);
    }
    if (failed && planesBefore) {
        planesBefore->clear();
        for (const CMapFace& face : m_faces) {
            planesBefore->push_back(face.PlanePoints());
        }
    }
    if (anyPolygon) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_faces.size(); ++i) {
            if (takesPart[i]) {
                if (kept != i) {
                    m_faces[kept] = std::move(m_faces[i]);
                }
                ++kept;
            }
        }
        m_faces.erase(m_faces.begin() + static_cast<std::ptrdiff_t>(kept), m_faces.end());
    }
    return !failed;
}

namespace {
// Solids are built in blocks: each outcome is the same whichever thread builds it.
constexpr std::size_t kBuildBlock = 256;
} // namespace

void BuildSolid(CMapSolid& solid, SolidBuildOutcome& outcome) {
    GeometryMessageCapture capture(outcome.messages);
    // The plane points as they were explain a failure (the build drops faces).
    outcome.built = solid.BuildFromPlanes(&outcome.planesBefore);
    if (outcome.built) {
        solid.CalcBounds();
        outcome.closed = solid.IsClosed();
    }
}

std::vector<SolidBuildOutcome> BuildSolidsFromPlanes(const std::vector<CMapSolid*>& solids,
                                                     unsigned threads) {
    std::vector<SolidBuildOutcome> outcomes(solids.size());
    BackgroundWork work(threads);
    for (std::size_t first = 0; first < solids.size(); first += kBuildBlock) {
        const std::size_t last = std::min(first + kBuildBlock, solids.size());
        work.Add([&solids, &outcomes, first, last] {
            for (std::size_t i = first; i < last; ++i) {
                BuildSolid(*solids[i], outcomes[i]);
            }
        });
    }
    work.Finish();
    return outcomes;
}

bool CMapSolid::IsClosed() const {
    // Generous next to the rounding of clipping and snapping, tiny next to the distance of an
    // uncut corner from the solid's planes.
    constexpr float kOnPlane = 0.5f;
    for (const CMapFace& face : m_faces) {
        for (int k = 0; k < face.PointCount(); ++k) {
            const Vector& corner = face.Points()[k];
            int others = 0;
            for (const CMapFace& other : m_faces) {
                const Plane& plane = other.GetPlane();
                if (&other != &face &&
                    std::fabs(DotProduct(corner, plane.normal) - plane.dist) <= kOnPlane &&
                    ++others == 2) {
                    break;
                }
            }
            if (others < 2) {
                return false;
            }
        }
    }
    return true;
}

void CMapSolid::SetTexture(const std::string& name, int index) {
    Services().ActiveHistory().Keep(this);
    if (index == -1) {
        for (CMapFace& face : m_faces) {
            face.SetTextureName(name);
        }
        return;
    }
    if (index < 0 || index >= FaceCount()) {
        ReportGeometryError("SetTexture: iFace > nFaces");
        return;
    }
    Face(index).SetTextureName(name);
}

void CMapSolid::DeleteFace(int index) {
    if (index < 0 || index >= FaceCount()) {
        return;
    }
    Services().ActiveHistory().Keep(this);
    m_faces.erase(m_faces.begin() + index);
}

void CMapSolid::UpdateContentsFromTexture() {
    m_contents = m_faces.empty() ? CONTENTS_SOLID : ContentsForTextureName(Face(0).TextureName());
}

bool CMapSolid::BuildRenderObjects(RenderFrame& frame, bool rebuild) {
    if (rebuild || !m_render3D) {
        DropFaceRenderObjects();
        m_render3D.reset();
        m_render3D = frame.CreateSolidMesh(*this, *this);
        if (!m_render3D) {
            return false;
        }
        m_render3D->SetColor(m_color3D);
        const bool textured = WorldShowsTextures();
        for (CMapFace& face : m_faces) {
            if (textured) {
                face.CalcTextureCoordinates();
            }
            if (face.IsSelected()) {
                face.SetFaceRenderState(RENDER_SELECT);
            }
        }
    }
    return CMapClass::BuildRenderObjects(frame, rebuild);
}

void CMapSolid::CalcBounds(bool recursive) {
    CMapClass::CalcBounds(recursive);
    for (const CMapFace& face : m_faces) {
        for (int i = 0; i < face.PointCount(); ++i) {
            m_bounds.UpdateBounds(face.Point(i));
        }
    }
}

template <typename Op> void CMapSolid::TransformPoints(Op op) {
    // With texture lock on, each face's texture goes with it: the change of the points is
    // affine, found from what it does to the origin and the unit points.
    const bool locked = Services().textureLock;
    Vector3d columns[3];
    Vector3d offset;
    if (locked) {
        op(offset);
        for (int axis = 0; axis < 3; ++axis) {
            Vector3d unit;
            unit[axis] = 1.0;
            op(unit);
            columns[axis] = unit - offset;
        }
    }
    for (CMapFace& face : m_faces) {
        for (Vector3d& p : face.MutablePlanePoints()) {
            op(p);
        }
        Vector* points = face.MutablePoints();
        for (int i = 0; i < face.PointCount(); ++i) {
            op(points[i]);
        }
        face.CalcPlane();
        if (!locked || !face.LockTexture(columns, offset)) {
            face.KeepAxesUsable();
        }
    }
}

void CMapSolid::TransformByTool(const PointTransform& tool) {
    Services().ActiveHistory().Keep(this);
    TransformPoints([&tool](auto& p) {
        if constexpr (std::is_same_v<std::decay_t<decltype(p)>, Vector>) {
            tool.TransformPoint(p);
        } else {
            // The tools work in single precision.
            Vector single = p.ToFloat();
            tool.TransformPoint(single);
            p = Vector3d(single);
        }
    });
    CMapClass::TransformByTool(tool);
}

void CMapSolid::TransMove(const Vector& delta) {
    Services().ActiveHistory().Keep(this);
    TransformPoints([&delta](auto& p) { p += delta; });
    CMapClass::TransMove(delta);
}

void CMapSolid::TransRotate(const Vector& center, const Vector& angles) {
    Services().ActiveHistory().Keep(this);
    TransformPoints([&center, &angles](auto& p) { p = RotateAbout(p, center, angles); });
    CMapClass::TransRotate(center, angles);
}

void CMapSolid::TransScale(const Vector& center, const Vector3d& factors) {
    Services().ActiveHistory().Keep(this);
    TransformPoints([&center, &factors](auto& p) {
        for (int axis = 0; axis < 3; ++axis) {
            using Coordinate = std::remove_reference_t<decltype(p[axis])>;
            p[axis] =
                static_cast<Coordinate>((p[axis] - center[axis]) * factors[axis] + center[axis]);
        }
    });
    CMapClass::TransScale(center, factors);
}

void CMapSolid::TransFlip(const Vector& point) {
    Services().ActiveHistory().Keep(this);
    for (CMapFace& face : m_faces) {
        // Mirroring turns the faces inside out; reversing the point order turns them back.
        auto& planePoints = face.MutablePlanePoints();
        std::reverse(planePoints.begin(), planePoints.end());
        std::reverse(face.MutablePoints(), face.MutablePoints() + face.PointCount());
    }
    TransformPoints([&point](auto& p) {
        for (int axis = 0; axis < 3; ++axis) {
            if (point[axis] != kNoCoordinate) {
                p[axis] = 2.0f * point[axis] - p[axis];
            }
        }
    });
    CMapClass::TransFlip(point);
}

void CMapSolid::SetRenderState(int kind, std::uint32_t value) {
    CMapClass::SetRenderState(kind, value);
    if (kind != RENDER_SELECT) {
        for (CMapFace& face : m_faces) {
            face.SetDisplayColor(m_color);
        }
    }
}

void CMapSolid::CopyFrom(const CMapClass& other) {
    DropFaceRenderObjects();
    CMapClass::CopyFrom(other);
    if (const auto* solid = dynamic_cast<const CMapSolid*>(&other)) {
        m_contents = solid->m_contents;
        m_faces = solid->m_faces;
        AdoptFaces();
    }
}

CMapClass* CMapSolid::Clone() const {
    auto* copy = new CMapSolid;
    copy->CopyFrom(*this);
    Services().ActiveHistory().KeepNew(copy);
    return copy;
}

std::string CMapSolid::GetDescription() const {
    return "solid with " + CountText(FaceCount(), "face", "faces");
}
