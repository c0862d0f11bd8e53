#include "geometry/Winding.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

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

ClipOutcome ClipPolygon(const Vector* in, int count, const Plane& plane, Vector* out,
                        int& outCount) {
    enum Side { Front, Back, On };
    constexpr int kTableSize = Winding::kMaxPoints;
    outCount = 0;
    if (count >= kTableSize || count < 0) {
        ReportGeometryError("ClipWinding: points exceeded estimate");
        return ClipOutcome::Kept;
    }

    float dists[kTableSize + 1];
    unsigned char sides[kTableSize + 1];
    bool anyFront = false;
    bool anyBack = false;
    const int n = count;
    for (int i = 0; i < n; ++i) {
        const float dist = DotProduct(in[i], plane.normal) - plane.dist;
        const bool front = dist > ON_EPSILON;
        const bool back = dist < -ON_EPSILON;
        dists[i] = dist;
        sides[i] = front ? Front : (back ? Back : On);
        anyFront |= front;
        anyBack |= back;
    }
    if (!anyFront) {
        return anyBack ? ClipOutcome::Gone : ClipOutcome::Kept;
    }
    if (!anyBack) {
        return ClipOutcome::Kept;
    }
    sides[n] = sides[0];
    dists[n] = dists[0];

    // A cut point lies on the plane: along an axis the plane faces it takes the plane's
    // distance exactly instead of the rounding of the interpolation.
    const bool fixed[3] = {plane.normal.x == 1.0f || plane.normal.x == -1.0f,
                           plane.normal.y == 1.0f || plane.normal.y == -1.0f,
                           plane.normal.z == 1.0f || plane.normal.z == -1.0f};
    const Vector onPlane{plane.normal.x == 1.0f ? plane.dist : -plane.dist,
                         plane.normal.y == 1.0f ? plane.dist : -plane.dist,
                         plane.normal.z == 1.0f ? plane.dist : -plane.dist};

    // Each point gives at most two (itself and a cut), so up to four points can never
    // outgrow the n + 4 the output holds; larger polygons are counted.
    const int maxPoints = n + 4;
    const bool checkRoom = 2 * n > maxPoints;
    int written = 0;
    bool exceeded = false;
    const auto emit = [&](const Vector& point) {
        if (!checkRoom || written < maxPoints) {
            out[written++] = point;
        } else {
            exceeded = true;
        }
    };

    for (int i = 0; i < n; ++i) {
        const Vector& p1 = in[i];
        const int side = sides[i];
        if (side != Back) {
            emit(p1);
            if (side == On) {
                continue;
            }
        }
        const int nextSide = sides[i + 1];
        if (nextSide == On || nextSide == side) {
            continue;
        }
        const Vector& p2 = in[i + 1 == n ? 0 : i + 1];
        const float t = dists[i] / (dists[i] - dists[i + 1]);
        emit(Vector{fixed[0] ? onPlane.x : p1.x + t * (p2.x - p1.x),
                    fixed[1] ? onPlane.y : p1.y + t * (p2.y - p1.y),
                    fixed[2] ? onPlane.z : p1.z + t * (p2.z - p1.z)});
    }
    outCount = written;
    if (exceeded) {
        ReportGeometryError("ClipWinding: points exceeded estimate");
    }
    return ClipOutcome::Cut;
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

bool CheckFace(const Vector* points, int count, const Plane& plane) {
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
