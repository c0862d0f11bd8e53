#include "tools/EntityMarker.h"

#include "tools/ToolSnap.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t kMarkerPen = 0x23004C; // XOR pen RGB(35, 0, 76)
constexpr int kMarkerHalf = 6;

} // namespace

ToolDrawing EntityMarker::Draw() const {
    ToolDrawing out;
    if (IsEmpty()) {
        return out;
    }
    const View2DTransform& t = m_view.transform;
    const PixelPoint p = t.WorldToClient(m_point);
    ToolShape square;
    square.kind = ToolShape::Outline;
    square.points = {{p.x - kMarkerHalf, p.y - kMarkerHalf},
                     {p.x + kMarkerHalf, p.y - kMarkerHalf},
                     {p.x + kMarkerHalf, p.y + kMarkerHalf},
                     {p.x - kMarkerHalf, p.y + kMarkerHalf}};
    square.xorColor = kMarkerPen;
    out.shapes.push_back(square);
    ToolShape across;
    across.kind = ToolShape::Line;
    across.xorColor = kMarkerPen;
    across.points = {{0, p.y}, {t.clientWidth, p.y}};
    out.shapes.push_back(across);
    across.points = {{p.x, 0}, {p.x, t.clientHeight}};
    out.shapes.push_back(across);
    return out;
}

void EntityMarker::Reset() {
    m_empty = true;
    m_dragging = false;
}

// The marker lands on the grid like a box's corner does; Alt (flag 4) places it exactly.
void EntityMarker::UpdateDrag(int x, int y, int flags) {
    if (!m_dragging) {
        return;
    }
    const bool snap = m_view.snap && !(flags & TOOLDRAG_NO_SNAP);
    m_point[m_view.transform.axes.horizontal] =
        static_cast<float>(SnapToGridValue(x, m_view.gridSize, snap));
    m_point[m_view.transform.axes.vertical] =
        static_cast<float>(SnapToGridValue(y, m_view.gridSize, snap));
}

int EntityMarker::HitTest(int x, int y, bool) {
    m_cursor = ToolCursor::Entity;
    if (IsEmpty()) {
        return -1;
    }
    const View2DTransform& t = m_view.transform;
    const int tolerance = TruncClamped(6.0f / t.zoom);
    const int dx = x - TruncClamped(m_point[t.axes.horizontal]);
    const int dy = y - TruncClamped(m_point[t.axes.vertical]);
    if (std::abs(dx) <= tolerance && std::abs(dy) <= tolerance) {
        m_cursor = ToolCursor::Cross;
        return 1;
    }
    return -1;
}

bool EntityMarker::StartDrag(int x, int y) {
    if (HitTest(x, y, true) < 0) {
        return false;
    }
    m_placed = m_point;
    m_dragging = true;
    return true;
}

void EntityMarker::EndDrag(bool commit) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    if (commit) {
        m_empty = false;
    } else {
        m_point = m_placed;
    }
}

void EntityMarker::StartNewAt(const Vector& point) {
    for (int axis = 0; axis < 3; ++axis) {
        m_point[axis] = static_cast<float>(
            SnapToGridValue(TruncClamped(point[axis]), m_view.gridSize, m_view.snap));
    }
    m_placed = m_point;
    m_dragging = true;
}

std::string EntityMarker::StatusText() const {
    if (IsEmpty()) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, " %d, %d, %d ", TruncClamped(m_point.x),
                  TruncClamped(m_point.y), TruncClamped(m_point.z));
    return text;
}
