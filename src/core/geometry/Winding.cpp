#include "geometry/Winding.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

Winding::Winding(int capacity) : m_capacity(capacity < 0 ? 0 : capacity) {
    if (m_capacity > kInlinePoints) {
        m_heap.resize(static_cast<std::size_t>(m_capacity));
    }
}

namespace {
thread_local std::vector<std::string>* capturedLines = nullptr;
GeometryErrorSink errorSink = nullptr;
} // namespace

void SetGeometryErrorSink(GeometryErrorSink sink) {
    errorSink = sink;
}

GeometryMessageCapture::GeometryMessageCapture(std::vector<std::string>& lines)
    : m_previous(capturedLines) {
    capturedLines = &lines;
}

GeometryMessageCapture::~GeometryMessageCapture() {
    capturedLines = m_previous;
}

void ReportGeometryError(const char* format, ...) {
    char buffer[300];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (capturedLines) {
        capturedLines->emplace_back(buffer);
        return;
    }
    if (errorSink) {
        errorSink(buffer);
    }
}

WindingPtr NewWinding(int capacity) {
    if (capacity > Winding::kMaxPoints) {
        ReportGeometryError("NewWinding: %i points", capacity);
    }
    return std::make_unique<Winding>(capacity);
}

namespace {
enum Side : unsigned char { Front, Back, On };

// The cut of a polygon whose points lie at dists from the plane (dists[count] repeating
// dists[0]): what ClipPolygon writes when the plane has points on both sides. isBack(i) tells
// whether point i lies behind the plane, crosses(i) whether it and the next lie on opposite
// sides.
template <typename IsBack, typename Crosses>
ClipOutcome WriteCut(const Vector* in, int count, const float* dists, IsBack isBack,
                     Crosses crosses, const Plane& plane, Vector* out, int& outCount) {
    // A cut point lies on the plane: along an axis the plane faces it takes the plane's
    // distance exactly instead of the rounding of the interpolation.
    // (The normal is 1 or -1 there, so the distance times it is the distance or its negative.)
    const bool fixed[3] = {std::fabs(plane.normal.x) == 1.0f, std::fabs(plane.normal.y) == 1.0f,
                           std::fabs(plane.normal.z) == 1.0f};
    const Vector onPlane = plane.normal * plane.dist;

    // Each point gives at most two (itself and a cut), so up to four points can never
    // outgrow the count + 4 the output holds; larger polygons are counted.
    const int maxPoints = count + 4;
    const bool checkRoom = 2 * count > maxPoints;
    int written = 0;
    bool exceeded = false;
    const auto emit = [&](const Vector& point) {
        if (!checkRoom || written < maxPoints) {
            out[written++] = point;
        } else {
            exceeded = true;
        }
    };

    for (int i = 0; i < count; ++i) {
        const Vector& p1 = in[i];
        if (!isBack(i)) {
            emit(p1);
        }
        if (crosses(i)) {
            const Vector& p2 = in[i + 1 == count ? 0 : i + 1];
            const float t = dists[i] / (dists[i] - dists[i + 1]);
            emit(Vector{fixed[0] ? onPlane.x : p1.x + t * (p2.x - p1.x),
                        fixed[1] ? onPlane.y : p1.y + t * (p2.y - p1.y),
                        fixed[2] ? onPlane.z : p1.z + t * (p2.z - p1.z)});
        }
    }
    outCount = written;
    if (exceeded) {
        ReportGeometryError("ClipWinding: points exceeded estimate");
    }
    return ClipOutcome::Cut;
}

Side SideOfDistance(float dist) {
    return dist > ON_EPSILON ? Front : (dist < -ON_EPSILON ? Back : On);
}

} // namespace

ClipOutcome winding_detail::ClipPolygonPointByPoint(const Vector* in, int count, const Plane& plane,
                                                    Vector* out, int& outCount) {
    outCount = 0;
    if (count >= Winding::kMaxPoints || count < 0) {
        ReportGeometryError("ClipWinding: points exceeded estimate");
        return ClipOutcome::Kept;
    }
    float dists[Winding::kMaxPoints + 1];
    Side sides[Winding::kMaxPoints + 1];
    bool anyFront = false;
    bool anyBack = false;
    for (int i = 0; i < count; ++i) {
        dists[i] = DotProduct(in[i], plane.normal) - plane.dist;
        sides[i] = SideOfDistance(dists[i]);
        anyFront |= sides[i] == Front;
        anyBack |= sides[i] == Back;
    }
    if (!anyFront) {
        return anyBack ? ClipOutcome::Gone : ClipOutcome::Kept;
    }
    if (!anyBack) {
        return ClipOutcome::Kept;
    }
    sides[count] = sides[0];
    dists[count] = dists[0];
    const auto isBack = [&sides](int i) { return sides[i] == Back; };
    const auto crosses = [&sides](int i) {
        return sides[i] != On && sides[i + 1] != On && sides[i + 1] != sides[i];
    };
    return WriteCut(in, count, dists, isBack, crosses, plane, out, outCount);
}

namespace {
#if defined(__SSE2__)
// Polygons of up to this many points have the distances of four points worked out at once,
// with the same single-precision operations in the same order as one by one.
constexpr int kFourAtOnceLimit = 32;
static_assert(sizeof(Vector) == 3 * sizeof(float));

ClipOutcome ClipPolygonFourAtOnce(const Vector* in, int count, const Plane& plane, Vector* out,
                                  int& outCount) {
    const __m128 nx = _mm_set1_ps(plane.normal.x);
    const __m128 ny = _mm_set1_ps(plane.normal.y);
    const __m128 nz = _mm_set1_ps(plane.normal.z);
    const __m128 dist = _mm_set1_ps(plane.dist);
    const __m128 frontLimit = _mm_set1_ps(ON_EPSILON);
    const __m128 backLimit = _mm_set1_ps(-ON_EPSILON);
    float dists[kFourAtOnceLimit + 4];
    std::uint32_t fronts = 0;
    std::uint32_t backs = 0;
    for (int i = 0; i < count; i += 4) {
        __m128 x;
        __m128 y;
        __m128 z;
        if (i + 4 <= count) {
            // Twelve floats x0 y0 z0 x1 | y1 z1 x2 y2 | z2 x3 y3 z3 sorted by axis.
            const float* first = &in[i].x;
            const __m128 a = _mm_loadu_ps(first);
            const __m128 b = _mm_loadu_ps(first + 4);
            const __m128 c = _mm_loadu_ps(first + 8);
            x = _mm_shuffle_ps(a, _mm_shuffle_ps(b, c, _MM_SHUFFLE(0, 1, 0, 2)),
                               _MM_SHUFFLE(2, 0, 3, 0));
            y = _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)),
                               _mm_shuffle_ps(b, c, _MM_SHUFFLE(0, 2, 0, 3)),
                               _MM_SHUFFLE(2, 0, 2, 0));
            z = _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 1, 0, 2)),
                               _mm_shuffle_ps(c, c, _MM_SHUFFLE(0, 3, 0, 0)),
                               _MM_SHUFFLE(2, 0, 2, 0));
        } else {
            // The last points, repeated to fill the four; the repeats are left out below.
            const Vector& p0 = in[i];
            const Vector& p1 = in[std::min(i + 1, count - 1)];
            const Vector& p2 = in[std::min(i + 2, count - 1)];
            x = _mm_setr_ps(p0.x, p1.x, p2.x, p0.x);
            y = _mm_setr_ps(p0.y, p1.y, p2.y, p0.y);
            z = _mm_setr_ps(p0.z, p1.z, p2.z, p0.z);
        }
        const __m128 d = _mm_sub_ps(
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, nx), _mm_mul_ps(y, ny)), _mm_mul_ps(z, nz)), dist);
        _mm_storeu_ps(dists + i, d);
        fronts |= static_cast<std::uint32_t>(_mm_movemask_ps(_mm_cmpgt_ps(d, frontLimit))) << i;
        backs |= static_cast<std::uint32_t>(_mm_movemask_ps(_mm_cmplt_ps(d, backLimit))) << i;
    }
    // The sides of the points as bits, the first point's repeated after the last.
    const std::uint64_t points = (std::uint64_t{1} << count) - 1;
    std::uint64_t front = fronts & points;
    std::uint64_t back = backs & points;
    if (front == 0) {
        return back != 0 ? ClipOutcome::Gone : ClipOutcome::Kept;
    }
    if (back == 0) {
        return ClipOutcome::Kept;
    }
    front |= (front & 1) << count;
    back |= (back & 1) << count;
    dists[count] = dists[0];
    const auto isBack = [back](int i) { return ((back >> i) & 1) != 0; };
    const auto crosses = [front, back](int i) {
        // Front then back, or back then front.
        const unsigned pair = static_cast<unsigned>(((front >> i) & 3) << 2 | ((back >> i) & 3));
        return pair == 0b0110 || pair == 0b1001;
    };
    return WriteCut(in, count, dists, isBack, crosses, plane, out, outCount);
}
#endif
} // namespace

ClipOutcome ClipPolygon(const Vector* in, int count, const Plane& plane, Vector* out,
                        int& outCount) {
#if defined(__SSE2__)
    if (count > 0 && count <= kFourAtOnceLimit) {
        outCount = 0;
        return ClipPolygonFourAtOnce(in, count, plane, out, outCount);
    }
#endif
    return winding_detail::ClipPolygonPointByPoint(in, count, plane, out, outCount);
}

WindingPtr ClipWinding(WindingPtr w, const Plane& plane) {
    if (!w) {
        return nullptr;
    }
    if (w->numpoints > w->Capacity()) {
        ReportGeometryError("ClipWinding: points exceeded estimate");
        return w;
    }
    Vector cut[Winding::kMaxPoints + 4];
    int count = 0;
    switch (ClipPolygon(w->Points(), w->numpoints, plane, cut, count)) {
    case ClipOutcome::Kept:
        return w;
    case ClipOutcome::Gone:
        return nullptr;
    case ClipOutcome::Cut:
        break;
    }
    WindingPtr neww = NewWinding(w->numpoints + 4);
    std::copy(cut, cut + count, neww->Points());
    neww->numpoints = count;
    return neww;
}

void BasePolygonForPlane(const Plane& plane, Vector (&out)[4]) {
    const Vector& normal = plane.normal;
    int axis = -1;
    float best = -BOGUS_RANGE;
    for (int i = 0; i < 3; ++i) {
        float v = std::fabs(normal[i]);
        if (v > best) {
            best = v;
            axis = i;
        }
    }
    if (axis == -1) {
        ReportGeometryError("BasePolyForPlane: no axis found");
    }

    Vector up;
    if (axis == 0 || axis == 1) {
        up.z = 1.0f;
    } else if (axis == 2) {
        up.x = 1.0f;
    }

    float v = DotProduct(up, normal);
    VectorMA(up, -v, normal, up);
    VectorNormalize(up);

    Vector org;
    VectorScale(normal, plane.dist, org);
    Vector right;
    CrossProduct(up, normal, right);
    VectorScale(up, BASE_POLY_HALF_SIZE, up);
    VectorScale(right, BASE_POLY_HALF_SIZE, right);

    out[0] = org - right + up;
    out[1] = org + right + up;
    out[2] = org + right - up;
    out[3] = org - right - up;
}

WindingPtr BasePolyForPlane(const Plane& plane) {
    WindingPtr w = NewWinding(4);
    Vector square[4];
    BasePolygonForPlane(plane, square);
    std::copy(square, square + 4, w->Points());
    w->numpoints = 4;
    return w;
}

bool winding_detail::CheckFacePointByPoint(const Vector* points, int count, const Plane& plane) {
    if (count == 0) {
        ReportGeometryError("CheckFace: no points");
        return false;
    }
    if (count < 3) {
        ReportGeometryError("CheckFace: %i points", count);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const Vector& p1 = points[i];
        for (int j = 0; j < 3; ++j) {
            if (p1[j] > BOGUS_RANGE || p1[j] < -BOGUS_RANGE) {
                ReportGeometryError("CheckFace: BUGUS_RANGE: %f", static_cast<double>(p1[j]));
                return false;
            }
        }
        float d = DotProduct(p1, plane.normal) - plane.dist;
        if (d < -ON_EPSILON || d > ON_EPSILON) {
            ReportGeometryError("CheckFace: point off plane");
            return false;
        }
        const Vector& p2 = points[(i + 1) % count];
        Vector dir = p2 - p1;
        if (VectorLength(dir) < ON_EPSILON) {
            ReportGeometryError("CheckFace: degenerate edge");
            return false;
        }
        Vector edgeNormal = CrossProduct(plane.normal, dir);
        VectorNormalize(edgeNormal);
        float edgeDist = DotProduct(p1, edgeNormal) + ON_EPSILON;
        for (int k = 0; k < count; ++k) {
            if (k == i) {
                continue;
            }
            if (DotProduct(points[k], edgeNormal) > edgeDist) {
                ReportGeometryError("CheckFace: non-convex");
                return false;
            }
        }
    }
    return true;
}

namespace {
#if defined(__SSE2__)
// The tests of CheckFace for a polygon of up to kFourAtOnceLimit points, four points or
// edges at once with the same single-precision operations in the same order: true when the
// polygon passes them all.
bool PassesFaceTestsFourAtOnce(const Vector* points, int count, const Plane& plane) {
    // The points by axis; after the last comes the first again (each point's edge runs to the
    // next), then more of it to fill the last four.
    constexpr int kRoom = kFourAtOnceLimit + 8;
    alignas(16) float xs[kRoom];
    alignas(16) float ys[kRoom];
    alignas(16) float zs[kRoom];
    const int blocks = (count + 3) / 4;
    for (int i = 0; i < 4 * blocks + 4; ++i) {
        const Vector& point = points[i < count ? i : 0];
        xs[i] = point.x;
        ys[i] = point.y;
        zs[i] = point.z;
    }
    const std::uint32_t all = count == 32 ? ~0u : (1u << count) - 1;
    const __m128 range = _mm_set1_ps(BOGUS_RANGE);
    const __m128 negRange = _mm_set1_ps(-BOGUS_RANGE);
    const __m128 epsilon = _mm_set1_ps(ON_EPSILON);
    const __m128 negEpsilon = _mm_set1_ps(-ON_EPSILON);
    const __m128 nx = _mm_set1_ps(plane.normal.x);
    const __m128 ny = _mm_set1_ps(plane.normal.y);
    const __m128 nz = _mm_set1_ps(plane.normal.z);
    const __m128 dist = _mm_set1_ps(plane.dist);
    const auto outside = [&](__m128 v) {
        return _mm_or_ps(_mm_cmpgt_ps(v, range), _mm_cmplt_ps(v, negRange));
    };
    const auto dot = [](__m128 ax, __m128 ay, __m128 az, __m128 bx, __m128 by, __m128 bz) {
        return _mm_add_ps(_mm_add_ps(_mm_mul_ps(ax, bx), _mm_mul_ps(ay, by)), _mm_mul_ps(az, bz));
    };
    // Each edge's outward normal in the plane and the limit no point may pass.
    alignas(16) float ex[kRoom];
    alignas(16) float ey[kRoom];
    alignas(16) float ez[kRoom];
    alignas(16) float limits[kRoom];
    std::uint32_t faults = 0;
    for (int i = 0; i < 4 * blocks; i += 4) {
        const __m128 x = _mm_load_ps(xs + i);
        const __m128 y = _mm_load_ps(ys + i);
        const __m128 z = _mm_load_ps(zs + i);
        const __m128 off = _mm_sub_ps(dot(x, y, z, nx, ny, nz), dist);
        const __m128 dx = _mm_sub_ps(_mm_loadu_ps(xs + i + 1), x);
        const __m128 dy = _mm_sub_ps(_mm_loadu_ps(ys + i + 1), y);
        const __m128 dz = _mm_sub_ps(_mm_loadu_ps(zs + i + 1), z);
        const __m128 length = _mm_sqrt_ps(dot(dx, dy, dz, dx, dy, dz));
        const __m128 fault = _mm_or_ps(
            _mm_or_ps(_mm_or_ps(outside(x), outside(y)), outside(z)),
            _mm_or_ps(_mm_or_ps(_mm_cmplt_ps(off, negEpsilon), _mm_cmpgt_ps(off, epsilon)),
                      _mm_cmplt_ps(length, epsilon)));
        faults |= static_cast<std::uint32_t>(_mm_movemask_ps(fault)) << i;
        __m128 cx = _mm_sub_ps(_mm_mul_ps(ny, dz), _mm_mul_ps(nz, dy));
        __m128 cy = _mm_sub_ps(_mm_mul_ps(nz, dx), _mm_mul_ps(nx, dz));
        __m128 cz = _mm_sub_ps(_mm_mul_ps(nx, dy), _mm_mul_ps(ny, dx));
        const __m128 crossLength = _mm_sqrt_ps(dot(cx, cy, cz, cx, cy, cz));
        cx = _mm_div_ps(cx, crossLength);
        cy = _mm_div_ps(cy, crossLength);
        cz = _mm_div_ps(cz, crossLength);
        _mm_store_ps(ex + i, cx);
        _mm_store_ps(ey + i, cy);
        _mm_store_ps(ez + i, cz);
        _mm_store_ps(limits + i, _mm_add_ps(dot(x, y, z, cx, cy, cz), epsilon));
    }
    if ((faults & all) != 0) {
        return false;
    }
    // Convexity: no other point beyond any edge.
    for (int edge = 0; edge < count; ++edge) {
        const __m128 cx = _mm_set1_ps(ex[edge]);
        const __m128 cy = _mm_set1_ps(ey[edge]);
        const __m128 cz = _mm_set1_ps(ez[edge]);
        const __m128 limit = _mm_set1_ps(limits[edge]);
        std::uint32_t beyond = 0;
        for (int i = 0; i < 4 * blocks; i += 4) {
            const __m128 along =
                dot(_mm_load_ps(xs + i), _mm_load_ps(ys + i), _mm_load_ps(zs + i), cx, cy, cz);
            beyond |= static_cast<std::uint32_t>(_mm_movemask_ps(_mm_cmpgt_ps(along, limit))) << i;
        }
        if ((beyond & all & ~(1u << edge)) != 0) {
            return false;
        }
    }
    return true;
}
#endif
} // namespace

bool CheckFace(const Vector* points, int count, const Plane& plane) {
#if defined(__SSE2__)
    // A sound polygon (nearly all) passes the quick tests; any other is tested one by one,
    // which finds and reports its first fault.
    if (count >= 3 && count <= kFourAtOnceLimit &&
        PassesFaceTestsFourAtOnce(points, count, plane)) {
        return true;
    }
#endif
    return winding_detail::CheckFacePointByPoint(points, count, plane);
}
