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
    int sides[kTableSize + 1];
    int counts[3] = {0, 0, 0};
    const int n = count;

    for (int i = 0; i < n; ++i) {
        float dist = DotProduct(in[i], plane.normal) - plane.dist;
        dists[i] = dist;
        sides[i] = dist > ON_EPSILON ? Front : (dist < -ON_EPSILON ? Back : On);
        counts[sides[i]]++;
    }
    sides[n] = sides[0];
    dists[n] = dists[0];

    if (counts[Front] == 0) {
        return counts[Back] == 0 ? ClipOutcome::Kept : ClipOutcome::Gone;
    }
    if (counts[Back] == 0) {
        return ClipOutcome::Kept;
    }

    const int maxPoints = n + 4;
    int written = 0;
    bool exceeded = false;
    auto emit = [&](const Vector& point) {
        if (written < maxPoints) {
            out[written++] = point;
        } else {
            exceeded = true;
        }
    };

    for (int i = 0; i < n; ++i) {
        const Vector& p1 = in[i];
        if (sides[i] == On) {
            emit(p1);
            continue;
        }
        if (sides[i] == Front) {
            emit(p1);
        }
        if (sides[i + 1] == On || sides[i + 1] == sides[i]) {
            continue;
        }
        const Vector& p2 = in[(i + 1) % n];
        float t = dists[i] / (dists[i] - dists[i + 1]);
        Vector mid;
        for (int j = 0; j < 3; ++j) {
            if (plane.normal[j] == 1.0f) {
                mid[j] = plane.dist;
            } else if (plane.normal[j] == -1.0f) {
                mid[j] = -plane.dist;
            } else {
                mid[j] = p1[j] + t * (p2[j] - p1[j]);
            }
        }
        emit(mid);
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
