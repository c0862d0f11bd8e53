#pragma once

#include "tools/ToolObject.h"

// Where the Entity tool puts a new point entity: a 3D point drawn as a small square with a
// cross through the whole view.
class EntityMarker : public ToolObject {
public:
    const Vector& Point() const { return m_point; }

    ToolDrawing Draw() const override;
    bool IsEmpty() const override { return m_empty && !m_dragging; }
    void Reset() override;
    void UpdateDrag(int x, int y, int flags) override;
    // 1 within trunc(6 / zoom) world units of the marker on both axes, else -1.
    int HitTest(int x, int y, bool restrict) override;
    bool StartDrag(int x, int y) override;
    void EndDrag(bool commit) override;
    void StartNewAt(const Vector& point) override;
    std::string StatusText() const override;
    bool IsDragging() const override { return m_dragging; }

private:
    Vector m_point;
    Vector m_placed;
    bool m_empty = true;
    bool m_dragging = false;
};
