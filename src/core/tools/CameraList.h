#pragma once

#include "tools/ToolObject.h"

#include <array>

// The cameras of the Camera tool: up to 16, each a position and a point looked at. The 3D
// views take the current one.
class CameraList : public ToolObject {
public:
    static constexpr int kMaxCameras = 16;

    struct Camera {
        Vector position;
        Vector lookAt;
    };

    int Count() const { return m_count; }
    int CurrentIndex() const { return m_current; }
    const Camera& At(int index) const { return m_cameras[static_cast<std::size_t>(index)]; }
    const Camera& Current() const { return At(m_current); }

    ToolDrawing Draw() const override;
    bool IsEmpty() const override { return m_empty && !m_dragging; }
    void Reset() override;
    void UpdateDrag(int x, int y, int flags) override;
    // Part code: camera index x 2, plus 1 for the look-at end; -1 when no end is near.
    int HitTest(int x, int y, bool restrict) override;
    bool StartDrag(int x, int y) override;
    void EndDrag(bool commit) override;
    void StartNewAt(const Vector& point) override;
    std::string StatusText() const override { return {}; }
    bool IsDragging() const override { return m_dragging; }

private:
    std::array<Camera, kMaxCameras> m_cameras{};
    Camera m_before;
    int m_count = 0;
    int m_current = 0;
    bool m_empty = true;
    bool m_dragging = false;
    bool m_draggingLookAt = false;
    bool m_draggingNew = false;
};
