#pragma once

#include "geometry/BoundBox.h"
#include "mapobjects/PointTransform.h"
#include "tools/ToolObject.h"

// Part codes of a box: the edges a grab moves, in world orientation (top = minimum of the
// vertical axis, left = minimum of the horizontal axis); 0 is the inside.
enum BoxPart {
    BOXPART_INSIDE = 0,
    BOXPART_TOP = 0x10,
    BOXPART_RIGHT = 0x20,
    BOXPART_BOTTOM = 0x40,
    BOXPART_LEFT = 0x80,
};

// The box shape of the selection box (which doubles as the rubber band) and the block box:
// bounds with handles that scale, rotate or shear, a drag that follows the grabbed part and
// the point transform the document applies to the selected objects afterwards.
class ToolBox : public ToolObject, public PointTransform {
public:
    enum Kind { SelectionKind, BlockKind };
    enum HandleMode { HandlesScale = 1, HandlesRotate = 2, HandlesShear = 3 };

    explicit ToolBox(Kind kind);

    const BoundBox& Bounds() const { return m_bounds; }
    const BoundBox& WorkingBounds() const { return m_work; }
    void SetBounds(const BoundBox& bounds);
    // The extent along the axis the current view looks along.
    void SetDepth(float minimum, float maximum);
    int HandleMode() const { return m_handleMode; }
    // Scale -> rotate -> shear -> scale; entering rotate centres the rotation on the box.
    void CycleHandleMode();
    void SetHandlesEnabled(bool enabled) { m_handlesEnabled = enabled; }
    bool HandlesEnabled() const { return m_handlesEnabled; }
    // The selection box as the rubber band of the Selection tool (its own pen colour).
    void SetRubberBand(bool on) { m_rubberBand = on; }
    bool IsRubberBand() const { return m_rubberBand; }
    int GrabbedPart() const { return m_grabbed; }
    float Angle() const { return m_angle; }
    // The translation (move), per-axis factors (scale) and shear amounts of the last drag.
    const Vector& Translation() const { return m_translation; }
    const Vector& ScaleFactors() const { return m_scale; }
    int ShearH() const { return m_shearH; }
    int ShearV() const { return m_shearV; }

    // ToolObject
    ToolDrawing Draw() const override;
    bool IsEmpty() const override { return m_empty; }
    void Reset() override;
    void UpdateDrag(int x, int y, int flags) override;
    int HitTest(int x, int y, bool restrict) override;
    bool StartDrag(int x, int y) override;
    void EndDrag(bool commit) override;
    void StartNewAt(const Vector& point) override;
    std::string StatusText() const override;
    bool IsDragging() const override { return m_dragging; }

    // PointTransform: what the last drag does to a point (horizontal and vertical only).
    void TransformPoint(Vector& point) const override;

private:
    enum class DragKind { Move, Scale, Rotate, Shear };
    DragKind CurrentDragKind() const;
    // The box in pixels before the scroll offset, normalised.
    PixelRect LogicalRect(const BoundBox& box) const;
    int LogicalH(int world) const;
    int LogicalV(int world) const;
    int Snap(int v) const;
    float PointerAngle(int x, int y) const;
    bool OneAxisInverted() const;
    void AddHandles(ToolDrawing& out, const PixelRect& rect) const;

    Kind m_kind;
    BoundBox m_bounds;
    BoundBox m_work;
    BoundBox m_dragStart; // the bounds when the drag started, for the point transform
    ViewAxes m_dragAxes;  // the axes of the view the drag runs in
    bool m_empty = true;
    int m_handleMode = HandlesScale;
    bool m_handlesEnabled = true;
    bool m_newBox = false;
    bool m_rubberBand = false;
    bool m_dragging = false;
    bool m_limit = false;
    bool m_snapNow = true;
    int m_grabbed = -1;
    int m_startX = 0;
    int m_startY = 0;
    int m_centerX = 0;
    int m_centerY = 0;
    float m_startAngle = 0.0f;
    float m_angle = 0.0f;
    int m_shearH = 0;
    int m_shearV = 0;
    Vector m_scale{1.0f, 1.0f, 1.0f};
    Vector m_translation;
};

// Angles in degrees into [0, 360): +360 below 0, -360 above 359.9.
float NormalizeToolAngle(float angle);
// Turns (x, y) counter-clockwise by angle degrees: exact for 0, 90, 180, 270 and 360.
void RotateToolVector(float& x, float& y, float angle);
