#include "shaping/ShapeGeometry.h"

#include "geometry/Winding.h"
#include "mapobjects/MapSolid.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace {

// Polygon points this close to a whole unit are moved onto it, as solids do with theirs.
constexpr float kSnapTolerance = 0.01f;

float Snap(float c) {
    const float rounded = RoundCoord(c);
    return std::fabs(c - rounded) < kSnapTolerance ? rounded : c;
}

struct Triangle {
    int a = 0;
    int b = 0;
    int c = 0;
    Vector3d normal;
    double dist = 0.0;
    double area = 0.0;
    bool alive = true;
};

// A directed edge as one key.
long long EdgeKey(int from, int to) {
    return (static_cast<long long>(from) << 32) | static_cast<unsigned int>(to);
}

Triangle MakeTriangle(const std::vector<Vector3d>& p, int a, int b, int c) {
    Triangle t;
    t.a = a;
    t.b = b;
    t.c = c;
    const Vector3d n = Cross(p[static_cast<std::size_t>(b)] - p[static_cast<std::size_t>(a)],
                             p[static_cast<std::size_t>(c)] - p[static_cast<std::size_t>(a)]);
    const double length = Length(n);
    t.area = length / 2.0;
    t.normal = length > 0.0 ? n * (1.0 / length) : Vector3d{};
    t.dist = Dot(t.normal, p[static_cast<std::size_t>(a)]);
    return t;
}

// The incremental hull: triangles facing outwards, their corners counter-clockwise seen from
// outside. Points within the tolerance of the hull so far are left out.
class HullBuilder {
public:
    explicit HullBuilder(const std::vector<Vector3d>& points) : m_p(points) {}

    bool Build();
    const std::vector<Triangle>& Triangles() const { return m_triangles; }

private:
    const Vector3d& P(int i) const { return m_p[static_cast<std::size_t>(i)]; }
    void Add(int a, int b, int c);
    void Remove(std::size_t index);
    void AddPoint(int index);

    const std::vector<Vector3d>& m_p;
    std::vector<Triangle> m_triangles;
    std::unordered_map<long long, std::size_t> m_edges;
};

void HullBuilder::Add(int a, int b, int c) {
    const std::size_t index = m_triangles.size();
    m_triangles.push_back(MakeTriangle(m_p, a, b, c));
    m_edges[EdgeKey(a, b)] = index;
    m_edges[EdgeKey(b, c)] = index;
    m_edges[EdgeKey(c, a)] = index;
}

void HullBuilder::Remove(std::size_t index) {
    Triangle& t = m_triangles[index];
    t.alive = false;
    m_edges.erase(EdgeKey(t.a, t.b));
    m_edges.erase(EdgeKey(t.b, t.c));
    m_edges.erase(EdgeKey(t.c, t.a));
}

bool HullBuilder::Build() {
    const int n = static_cast<int>(m_p.size());
    if (n < 4) {
        return false;
    }
    // A first tetrahedron as large as the points allow: the farthest point from the first,
    // the farthest from their line, the farthest from their plane.
    int i1 = 0;
    double best = 0.0;
    for (int i = 1; i < n; ++i) {
        const double d = Length(P(i) - P(0));
        if (d > best) {
            best = d;
            i1 = i;
        }
    }
    if (best <= kShapeTolerance) {
        return false;
    }
    const Vector3d axis = (P(i1) - P(0)) * (1.0 / best);
    int i2 = 0;
    best = 0.0;
    for (int i = 1; i < n; ++i) {
        const double d = Length(Cross(P(i) - P(0), axis));
        if (d > best) {
            best = d;
            i2 = i;
        }
    }
    if (best <= kShapeTolerance) {
        return false;
    }
    const Triangle base = MakeTriangle(m_p, 0, i1, i2);
    int i3 = 0;
    best = 0.0;
    for (int i = 1; i < n; ++i) {
        const double d = std::fabs(Dot(base.normal, P(i)) - base.dist);
        if (d > best) {
            best = d;
            i3 = i;
        }
    }
    if (best <= kShapeTolerance) {
        return false;
    }
    if (Dot(base.normal, P(i3)) - base.dist > 0.0) {
        // The fourth point lies in front of the base: turn the base over.
        Add(0, i2, i1);
        Add(0, i1, i3);
        Add(i1, i2, i3);
        Add(i2, 0, i3);
    } else {
        Add(0, i1, i2);
        Add(0, i3, i1);
        Add(i1, i3, i2);
        Add(i2, i3, 0);
    }
    for (int i = 1; i < n; ++i) {
        if (i != i1 && i != i2 && i != i3) {
            AddPoint(i);
        }
    }
    return true;
}

void HullBuilder::AddPoint(int index) {
    const Vector3d& p = P(index);
    std::vector<std::size_t> visible;
    for (std::size_t t = 0; t < m_triangles.size(); ++t) {
        const Triangle& tri = m_triangles[t];
        if (tri.alive && Dot(tri.normal, p) - tri.dist > kShapeTolerance) {
            visible.push_back(t);
        }
    }
    if (visible.empty()) {
        return;
    }
    std::vector<char> seen(m_triangles.size(), 0);
    for (std::size_t t : visible) {
        seen[t] = 1;
    }
    // The horizon: edges of seen triangles whose other triangle is not seen.
    std::vector<std::pair<int, int>> horizon;
    for (std::size_t t : visible) {
        const Triangle& tri = m_triangles[t];
        const int corners[3] = {tri.a, tri.b, tri.c};
        for (int k = 0; k < 3; ++k) {
            const int from = corners[k];
            const int to = corners[(k + 1) % 3];
            const auto other = m_edges.find(EdgeKey(to, from));
            if (other == m_edges.end() || !seen[other->second]) {
                horizon.emplace_back(from, to);
            }
        }
    }
    for (std::size_t t : visible) {
        Remove(t);
    }
    for (const auto& [from, to] : horizon) {
        Add(from, to, index);
    }
}

int FindRoot(std::vector<int>& parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        parent[static_cast<std::size_t>(i)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        i = parent[static_cast<std::size_t>(i)];
    }
    return i;
}

} // namespace

bool PlaneThrough(const Vector3d& p0, const Vector3d& p1, const Vector3d& p2,
                  ThreePointPlane& plane) {
    const Vector3d n = Cross(p0 - p1, p2 - p1);
    const double length = Length(n);
    if (!(length > 0.0) || !std::isfinite(length) || !IsFinite(p0) || !IsFinite(p1) ||
        !IsFinite(p2)) {
        return false;
    }
    plane.points = {p0, p1, p2};
    plane.normal = n * (1.0 / length);
    plane.dist = Dot(plane.normal, p1);
    return true;
}

bool ConvexHullFaces(const std::vector<Vector3d>& points, std::vector<HullFace>& faces) {
    faces.clear();
    HullBuilder builder(points);
    if (!builder.Build()) {
        return false;
    }
    const std::vector<Triangle>& triangles = builder.Triangles();
    std::vector<int> alive;
    std::unordered_map<long long, int> edgeOwner;
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        if (triangles[t].alive) {
            const int id = static_cast<int>(alive.size());
            alive.push_back(static_cast<int>(t));
            const Triangle& tri = triangles[t];
            edgeOwner[EdgeKey(tri.a, tri.b)] = id;
            edgeOwner[EdgeKey(tri.b, tri.c)] = id;
            edgeOwner[EdgeKey(tri.c, tri.a)] = id;
        }
    }
    // Neighbouring triangles on one plane become one face.
    std::vector<int> parent(alive.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto onPlane = [&points](const Triangle& plane, const Triangle& other) {
        for (int corner : {other.a, other.b, other.c}) {
            if (std::fabs(Dot(plane.normal, points[static_cast<std::size_t>(corner)]) -
                          plane.dist) > kShapeTolerance) {
                return false;
            }
        }
        return Dot(plane.normal, other.normal) > 0.99;
    };
    for (std::size_t id = 0; id < alive.size(); ++id) {
        const Triangle& tri = triangles[static_cast<std::size_t>(alive[id])];
        const int corners[3] = {tri.a, tri.b, tri.c};
        for (int k = 0; k < 3; ++k) {
            const auto other = edgeOwner.find(EdgeKey(corners[(k + 1) % 3], corners[k]));
            if (other == edgeOwner.end()) {
                continue;
            }
            const Triangle& next =
                triangles[static_cast<std::size_t>(alive[static_cast<std::size_t>(other->second)])];
            if (onPlane(tri, next) || onPlane(next, tri)) {
                parent[static_cast<std::size_t>(FindRoot(parent, static_cast<int>(id)))] =
                    FindRoot(parent, other->second);
            }
        }
    }
    // Each face takes the plane of its largest triangle: the widest spread of its points.
    std::unordered_map<int, std::size_t> faceOfRoot;
    std::vector<int> largest;
    for (std::size_t id = 0; id < alive.size(); ++id) {
        const int root = FindRoot(parent, static_cast<int>(id));
        const auto [it, inserted] = faceOfRoot.emplace(root, largest.size());
        if (inserted) {
            largest.push_back(alive[id]);
        } else if (triangles[static_cast<std::size_t>(alive[id])].area >
                   triangles[static_cast<std::size_t>(largest[it->second])].area) {
            largest[it->second] = alive[id];
        }
    }
    faces.reserve(largest.size());
    for (int t : largest) {
        const Triangle& tri = triangles[static_cast<std::size_t>(t)];
        HullFace face;
        // (p0 - p1) x (p2 - p1) = (b - a) x (c - a): the outward normal.
        if (!PlaneThrough(points[static_cast<std::size_t>(tri.b)],
                          points[static_cast<std::size_t>(tri.a)],
                          points[static_cast<std::size_t>(tri.c)], face.plane)) {
            continue;
        }
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (std::fabs(face.plane.Distance(points[i])) <= kShapeTolerance) {
                face.corners.push_back(static_cast<int>(i));
            }
        }
        faces.push_back(std::move(face));
    }
    return faces.size() >= 4;
}

std::vector<Vector> PolygonOnPlane(const std::vector<Plane>& planes, std::size_t index) {
    std::vector<Vector> buffers[2];
    buffers[0].resize(Winding::kMaxPoints + 4);
    buffers[1].resize(Winding::kMaxPoints + 4);
    Vector square[4];
    BasePolygonForPlane(planes[index], square);
    std::copy(square, square + 4, buffers[0].begin());
    int current = 0;
    int count = 4;
    for (std::size_t j = 0; j < planes.size(); ++j) {
        if (j == index) {
            continue;
        }
        int cutCount = 0;
        switch (ClipPolygon(buffers[current].data(), count,
                            Plane{-planes[j].normal, -planes[j].dist}, buffers[1 - current].data(),
                            cutCount)) {
        case ClipOutcome::Kept:
            break;
        case ClipOutcome::Gone:
            return {};
        case ClipOutcome::Cut:
            current = 1 - current;
            count = cutCount;
            break;
        }
    }
    std::vector<Vector> polygon(buffers[current].begin(), buffers[current].begin() + count);
    for (Vector& p : polygon) {
        p = Vector{Snap(p.x), Snap(p.y), Snap(p.z)};
    }
    return polygon;
}

std::vector<Vector3d> ExactPolygon(const std::vector<ThreePointPlane>& planes, std::size_t index) {
    const ThreePointPlane& plane = planes[index];
    // The square of the solids' builder, in double precision.
    int axis = 0;
    for (int i = 1; i < 3; ++i) {
        if (std::fabs(plane.normal[i]) > std::fabs(plane.normal[axis])) {
            axis = i;
        }
    }
    Vector3d up = axis == 2 ? Vector3d{1, 0, 0} : Vector3d{0, 0, 1};
    up = up - plane.normal * Dot(up, plane.normal);
    up = up * (1.0 / Length(up));
    const Vector3d org = plane.normal * plane.dist;
    const Vector3d right = Cross(up, plane.normal) * double(BASE_POLY_HALF_SIZE);
    up = up * double(BASE_POLY_HALF_SIZE);
    std::vector<Vector3d> polygon{org - right + up, org + right + up, org + right - up,
                                  org - right - up};
    std::vector<Vector3d> next;
    std::vector<double> dists;
    constexpr double kOn = 1e-6;
    for (std::size_t j = 0; j < planes.size() && !polygon.empty(); ++j) {
        if (j == index) {
            continue;
        }
        const ThreePointPlane& other = planes[j];
        dists.resize(polygon.size());
        bool front = false;
        bool back = false;
        for (std::size_t k = 0; k < polygon.size(); ++k) {
            // The part behind the other plane stays.
            dists[k] = other.dist - Dot(other.normal, polygon[k]);
            front = front || dists[k] > kOn;
            back = back || dists[k] < -kOn;
        }
        if (!back) {
            continue;
        }
        if (!front) {
            polygon.clear();
            break;
        }
        next.clear();
        for (std::size_t k = 0; k < polygon.size(); ++k) {
            const std::size_t l = (k + 1) % polygon.size();
            const double d1 = dists[k];
            const double d2 = dists[l];
            if (d1 >= -kOn) {
                next.push_back(polygon[k]);
            }
            if ((d1 > kOn && d2 < -kOn) || (d1 < -kOn && d2 > kOn)) {
                const double t = d1 / (d1 - d2);
                next.push_back(polygon[k] + (polygon[l] - polygon[k]) * t);
            }
        }
        polygon.swap(next);
    }
    // Corners a hair apart (from points on the plane of a cut) become one.
    std::vector<Vector3d> corners;
    for (const Vector3d& p : polygon) {
        Vector3d snapped = p;
        for (int a = 0; a < 3; ++a) {
            // Whole units within 1e-4, and the 1/64 grid within rounding noise, come out
            // exact (and never as -0).
            const double rounded = std::round(snapped[a]);
            const double fine = std::round(snapped[a] * 64.0) / 64.0;
            if (std::fabs(snapped[a] - rounded) < 1e-4) {
                snapped[a] = rounded + 0.0;
            } else if (std::fabs(snapped[a] - fine) < 1e-9 * std::max(1.0, std::fabs(fine))) {
                snapped[a] = fine + 0.0;
            }
        }
        if (corners.empty() || Length(corners.back() - snapped) > 1e-4) {
            corners.push_back(snapped);
        }
    }
    while (corners.size() > 1 && Length(corners.back() - corners.front()) <= 1e-4) {
        corners.pop_back();
    }
    if (corners.size() < 3) {
        corners.clear();
    }
    return corners;
}

std::vector<ThreePointPlane> FacePlanes(const CMapSolid& solid, std::vector<char>& valid) {
    std::vector<ThreePointPlane> planes(static_cast<std::size_t>(solid.FaceCount()));
    valid.assign(planes.size(), 0);
    for (std::size_t i = 0; i < planes.size(); ++i) {
        const auto& p = solid.Face(static_cast<int>(i)).PlanePoints();
        valid[i] = PlaneThrough(p[0], p[1], p[2], planes[i]) ? 1 : 0;
    }
    return planes;
}
