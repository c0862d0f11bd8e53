#include "tools/EntityMarker.h"

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

void EntityMarker::UpdateDrag(int x, int y, int) {
    if (!m_dragging) {
        return;
    }
    m_point[m_view.transform.axes.horizontal] = static_cast<float>(x);
    m_point[m_view.transform.axes.vertical] = static_cast<float>(y);
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
    m_point = point;
    m_placed = point;
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
