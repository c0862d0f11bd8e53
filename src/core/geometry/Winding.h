#pragma once

#include "geometry/Plane.h"
#include "geometry/Vector.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// A convex polygon under construction: a point count and room for a fixed number of points.
// Small windings keep their points inline so clipping a brush allocates once per winding.
class Winding {
public:
    static constexpr int kMaxPoints = 128;

    explicit Winding(int capacity);

    int numpoints = 0;

    int Capacity() const { return m_capacity; }
    Vector* Points() { return m_heap.empty() ? m_inline.data() : m_heap.data(); }
    const Vector* Points() const { return m_heap.empty() ? m_inline.data() : m_heap.data(); }
    Vector& operator[](int i) { return Points()[i]; }
    const Vector& operator[](int i) const { return Points()[i]; }

private:
    static constexpr int kInlinePoints = 16;
    int m_capacity;
    std::array<Vector, kInlinePoints> m_inline{};
    std::vector<Vector> m_heap;
};

using WindingPtr = std::unique_ptr<Winding>;

// Plane-side tolerance of clipping and of the face check.
constexpr float ON_EPSILON = 0.1f;
// No face point may lie outside +-BOGUS_RANGE on any axis.
constexpr float BOGUS_RANGE = 18000.0f;
// Half-size of the square that BasePolyForPlane makes.
constexpr float BASE_POLY_HALF_SIZE = 8192.0f;

// A winding with room for capacity points, every point zero, count 0. More than 128 points
// is reported ("NewWinding: %i points") and still allocated.
WindingPtr NewWinding(int capacity);

// The part of w in front of plane: w itself, a new winding, or nullptr. w is consumed.
// A winding of more than 127 points is refused (reported, returned unchanged) since the
// side tables hold 128 entries.
WindingPtr ClipWinding(WindingPtr w, const Plane& plane);

// A 4-point square of half-size 8192 on the plane, in the order CheckFace expects.
WindingPtr BasePolyForPlane(const Plane& plane);
// The same square written to out.
void BasePolygonForPlane(const Plane& plane, Vector (&out)[4]);

// What clipping a polygon held in an array did.
enum class ClipOutcome {
    Kept, // the polygon stays as it is (nothing behind the plane, or refused as too large)
    Gone, // nothing lies in front of the plane
    Cut,  // the part in front was written to the output array
};
// ClipWinding on the polygon in[0, count): the part in front of plane, when the plane cuts
// it, goes to out, which has room for count + 4 points, and outCount tells its size.
ClipOutcome ClipPolygon(const Vector* in, int count, const Plane& plane, Vector* out,
                        int& outCount);

// True if the polygon is sound on the plane; otherwise reports the first fault and returns false.
bool CheckFace(const Vector* points, int count, const Plane& plane);

namespace winding_detail {
// ClipPolygon and CheckFace worked out one point at a time, as they are for large polygons;
// smaller ones take four points at a time with the same results to the bit.
ClipOutcome ClipPolygonPointByPoint(const Vector* in, int count, const Plane& plane, Vector* out,
                                    int& outCount);
bool CheckFacePointByPoint(const Vector* points, int count, const Plane& plane);
} // namespace winding_detail

// printf-style into a 300-character buffer, handed to the error sink (or, while a
// GeometryMessageCapture is alive on this thread, added to its list). The geometry functions
// return their own status; the text says which fault it was.
void ReportGeometryError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where the geometry's error texts go when no capture is alive: the map services install one
// that adds each as an error line to their message log. Without a sink the texts are dropped.
using GeometryErrorSink = void (*)(const char* text);
void SetGeometryErrorSink(GeometryErrorSink sink);

// While alive, the geometry errors of this thread go to lines instead of the message log, so
// geometry can be built off the main thread and its messages shown later in a fixed order.
class GeometryMessageCapture {
public:
    explicit GeometryMessageCapture(std::vector<std::string>& lines);
    ~GeometryMessageCapture();
    GeometryMessageCapture(const GeometryMessageCapture&) = delete;
    GeometryMessageCapture& operator=(const GeometryMessageCapture&) = delete;

private:
    std::vector<std::string>* m_previous;
};
