#include "tools/CameraList.h"

#include <cstdlib>

namespace {

constexpr std::uint32_t kDiscBrush = 0xFFFFFF; // inverts what lies under it
constexpr std::uint32_t kLinePen = 0x00FFFF;   // XOR pen RGB(0, 255, 255)

} // namespace

ToolDrawing CameraList::Draw() const {
    ToolDrawing out;
    const View2DTransform& t = m_view.transform;
    const int shown = m_count + (m_dragging && m_draggingNew ? 1 : 0);
    for (int i = 0; i < shown && i < kMaxCameras; ++i) {
        const Camera& camera = At(i);
        const PixelPoint position = t.WorldToClient(camera.position);
        ToolShape disc;
        disc.kind = ToolShape::Disc;
        disc.points = {position};
        disc.xorColor = kDiscBrush;
        out.shapes.push_back(disc);
        ToolShape line;
        line.kind = ToolShape::Line;
        line.points = {position, t.WorldToClient(camera.lookAt)};
        line.xorColor = kLinePen;
        out.shapes.push_back(line);
    }
    return out;
}

void CameraList::Reset() {
    m_count = 0;
    m_current = 0;
    m_empty = true;
    m_dragging = false;
}

int CameraList::HitTest(int x, int y, bool) {
    m_cursor = ToolCursor::Arrow;
    const View2DTransform& t = m_view.transform;
    const int tolerance = TruncClamped(4.0f / t.zoom);
    auto near = [&](const Vector& p) {
        return std::abs(x - TruncClamped(p[t.axes.horizontal])) <= tolerance &&
               std::abs(y - TruncClamped(p[t.axes.vertical])) <= tolerance;
    };
    for (int i = 0; i < m_count; ++i) {
        if (near(At(i).position)) {
            m_cursor = ToolCursor::Cross;
            return i * 2;
        }
        if (near(At(i).lookAt)) {
            m_cursor = ToolCursor::Cross;
            return i * 2 + 1;
        }
    }
    return -1;
}

bool CameraList::StartDrag(int x, int y) {
    const int code = HitTest(x, y, true);
    if (code < 0) {
        return false;
    }
    m_current = code / 2;
    m_draggingLookAt = (code & 1) != 0;
    m_draggingNew = false;
    m_before = At(m_current);
    m_dragging = true;
    return true;
}

void CameraList::UpdateDrag(int x, int y, int) {
    if (!m_dragging) {
        return;
    }
    Camera& camera = m_cameras[static_cast<std::size_t>(m_current)];
    Vector& end = m_draggingLookAt ? camera.lookAt : camera.position;
    end[m_view.transform.axes.horizontal] = static_cast<float>(x);
    end[m_view.transform.axes.vertical] = static_cast<float>(y);
}

void CameraList::EndDrag(bool commit) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    if (!commit) {
        if (!m_draggingNew) {
            m_cameras[static_cast<std::size_t>(m_current)] = m_before;
        } else if (m_count > 0) {
            m_current = m_count - 1;
        }
        return;
    }
    if (m_draggingNew) {
        m_count = std::min(m_count + 1, kMaxCameras);
        m_empty = false;
    }
}

void CameraList::StartNewAt(const Vector& point) {
    // With every slot in use the last camera is placed again.
    m_current = std::min(m_count, kMaxCameras - 1);
    if (m_count == kMaxCameras) {
        m_count = kMaxCameras - 1;
    }
    const Vector whole{static_cast<float>(TruncClamped(point.x)),
                       static_cast<float>(TruncClamped(point.y)),
                       static_cast<float>(TruncClamped(point.z))};
    m_cameras[static_cast<std::size_t>(m_current)] = {whole, whole};
    m_draggingLookAt = true;
    m_draggingNew = true;
    m_dragging = true;
}
