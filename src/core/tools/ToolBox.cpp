#include "tools/ToolBox.h"

#include "tools/ToolSnap.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t kSelectionPen = XorPen(0xFF0000);  // red on white
constexpr std::uint32_t kRubberBandPen = XorPen(0x32FFFF); // cyan on white
constexpr std::uint32_t kBlockPen = XorPen(0x000000);      // black on white
constexpr std::uint32_t kHandleBrush = XorPen(0x000000);   // black on white
constexpr std::uint32_t kDragPen = 0xFFFF00;               // blue on white
constexpr int kMargin = 4;
constexpr int kBand = 8;
constexpr int kMiddle = 4;

int SwapBits(int code, int a, int b) {
    const bool hasA = code & a;
    const bool hasB = code & b;
    code &= ~(a | b);
    return code | (hasA ? b : 0) | (hasB ? a : 0);
}

ToolShape RectOutline(const PixelRect& r, std::uint32_t color, bool dotted) {
    ToolShape shape;
    shape.kind = ToolShape::Outline;
    shape.points = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    shape.xorColor = color;
    shape.dotted = dotted;
    return shape;
}

} // namespace

float NormalizeToolAngle(float angle) {
    if (angle < 0.0f) {
        angle += 360.0f;
    }
    if (angle > 359.9f) {
        angle -= 360.0f;
    }
    return angle;
}

void RotateToolVector(float& x, float& y, float angle) {
    const float ox = x;
    const float oy = y;
    if (angle == 0.0f || angle == 360.0f) {
        return;
    }
    if (angle == 90.0f) {
        x = -oy;
        y = ox;
    } else if (angle == 180.0f) {
        x = -ox;
        y = -oy;
    } else if (angle == 270.0f) {
        x = oy;
        y = -ox;
    } else if (ox != 0.0f || oy != 0.0f) {
        const double length = std::sqrt(double(ox) * ox + double(oy) * oy);
        const double direction = std::atan2(double(oy), double(ox)) + angle * 0.0174533;
        x = static_cast<float>(length * std::cos(direction));
        y = static_cast<float>(length * std::sin(direction));
    }
}

ToolBox::ToolBox(Kind kind) : m_kind(kind) {}

void ToolBox::SetBounds(const BoundBox& bounds) {
    m_bounds = bounds;
    m_work = bounds;
    m_empty = bounds.IsEmpty();
}

void ToolBox::SetDepth(float minimum, float maximum) {
    const int third = m_view.transform.axes.third;
    for (BoundBox* box : {&m_bounds, &m_work, &m_dragStart}) {
        box->mins[third] = minimum;
        box->maxs[third] = maximum;
    }
}

void ToolBox::Reset() {
    m_bounds.ResetBounds();
    m_work.ResetBounds();
    m_empty = true;
    m_dragging = false;
    m_newBox = false;
    m_grabbed = -1;
}

void ToolBox::CycleHandleMode() {
    m_handleMode = m_handleMode == HandlesShear ? HandlesScale : m_handleMode + 1;
    if (m_handleMode == HandlesRotate) {
        const int h = m_view.transform.axes.horizontal;
        const int v = m_view.transform.axes.vertical;
        m_centerX = (TruncClamped(m_bounds.mins[h]) + TruncClamped(m_bounds.maxs[h])) / 2;
        m_centerY = (TruncClamped(m_bounds.mins[v]) + TruncClamped(m_bounds.maxs[v])) / 2;
    }
}

int ToolBox::LogicalH(int world) const {
    return m_view.transform.LogicalH(static_cast<float>(world));
}

int ToolBox::LogicalV(int world) const {
    return m_view.transform.LogicalV(static_cast<float>(world));
}

PixelRect ToolBox::LogicalRect(const BoundBox& box) const {
    const View2DTransform& t = m_view.transform;
    const int h1 = t.LogicalH(box.mins[t.axes.horizontal]);
    const int h2 = t.LogicalH(box.maxs[t.axes.horizontal]);
    const int v1 = t.LogicalV(box.mins[t.axes.vertical]);
    const int v2 = t.LogicalV(box.maxs[t.axes.vertical]);
    return {std::min(h1, h2), std::min(v1, v2), std::max(h1, h2), std::max(v1, v2)};
}

int ToolBox::Snap(int v) const {
    return SnapToGridValue(v, m_view.gridSize, m_snapNow);
}

bool ToolBox::OneAxisInverted() const {
    return m_dragAxes.invertHorizontal != m_dragAxes.invertVertical;
}

float ToolBox::PointerAngle(int x, int y) const {
    const int dx = x - m_centerX;
    const int dy = y - m_centerY;
    if (dx == 0 && dy == 0) {
        return 0.0f;
    }
    return static_cast<float>(std::atan2(double(dy), double(dx)) * 57.29577951308232);
}

ToolBox::DragKind ToolBox::CurrentDragKind() const {
    if (m_handleMode == HandlesRotate) {
        return DragKind::Rotate;
    }
    if (m_handleMode == HandlesShear) {
        return DragKind::Shear;
    }
    return m_grabbed == BOXPART_INSIDE ? DragKind::Move : DragKind::Scale;
}

int ToolBox::HitTest(int x, int y, bool restrict) {
    m_cursor = ToolCursor::Arrow;
    if (m_empty) {
        return -1;
    }
    const int px = LogicalH(x);
    const int py = LogicalV(y);
    PixelRect r = LogicalRect(m_bounds);
    if (m_kind == SelectionKind) {
        r = r.Grown(kMargin);
    }
    const bool inside = px >= r.left && px <= r.right && py >= r.top && py <= r.bottom;
    int code = inside ? BOXPART_INSIDE : -1;
    if (m_handlesEnabled) {
        r = r.Grown(kMargin);
        if (px < r.left || px > r.right || py < r.top || py > r.bottom) {
            return -1;
        }
        const bool left = px <= r.left + kBand;
        const bool right = px >= r.right - kBand;
        const bool top = py <= r.top + kBand;
        const bool bottom = py >= r.bottom - kBand;
        const bool middleV = std::abs(py - (r.top + r.bottom) / 2) <= kMiddle;
        const bool middleH = std::abs(px - (r.left + r.right) / 2) <= kMiddle;
        int screen = code;
        if (left) {
            screen = top ? 0x90 : (middleV ? 0x80 : (bottom ? 0xC0 : code));
        } else if (right) {
            screen = top ? 0x30 : (middleV ? 0x20 : (bottom ? 0x60 : code));
        } else if (middleH) {
            screen = bottom ? 0x40 : (top ? 0x10 : code);
        }
        code = screen;
        if (code > 0) {
            const bool vertical = code == 0x10 || code == 0x40;
            const bool horizontal = code == 0x20 || code == 0x80;
            if (m_handleMode == HandlesScale) {
                m_cursor = vertical                         ? ToolCursor::SizeNS
                           : horizontal                     ? ToolCursor::SizeWE
                           : (code == 0x30 || code == 0xC0) ? ToolCursor::SizeNESW
                                                            : ToolCursor::SizeNWSE;
            } else if (m_handleMode == HandlesShear && (vertical || horizontal)) {
                m_cursor = vertical ? ToolCursor::SizeWE : ToolCursor::SizeNS;
            } else {
                m_cursor = ToolCursor::Cross;
            }
            if (m_view.transform.axes.invertVertical) {
                code = SwapBits(code, BOXPART_TOP, BOXPART_BOTTOM);
            }
            if (m_view.transform.axes.invertHorizontal) {
                code = SwapBits(code, BOXPART_LEFT, BOXPART_RIGHT);
            }
        }
    }
    if (code == BOXPART_INSIDE) {
        m_cursor = ToolCursor::Cross;
    }
    if (restrict && code >= 0) {
        const bool corner = code == 0x30 || code == 0x60 || code == 0x90 || code == 0xC0;
        const bool middle = code == 0x10 || code == 0x20 || code == 0x40 || code == 0x80;
        const bool accepted = m_handleMode == HandlesRotate  ? corner
                              : m_handleMode == HandlesShear ? middle
                                                             : true;
        if (!accepted) {
            m_cursor = ToolCursor::Arrow;
            return -1;
        }
    }
    return code;
}

bool ToolBox::StartDrag(int x, int y) {
    const int code = HitTest(x, y, true);
    if (code < 0) {
        return false;
    }
    m_grabbed = code;
    m_work = m_bounds;
    m_dragStart = m_bounds;
    m_shearH = 0;
    m_shearV = 0;
    m_angle = 0.0f;
    m_scale = Vector{1.0f, 1.0f, 1.0f};
    m_translation = Vector{};
    m_limit = true;
    m_snapNow = m_view.snap;
    m_dragAxes = m_view.transform.axes;
    const int h = m_view.transform.axes.horizontal;
    const int v = m_view.transform.axes.vertical;
    if (m_handleMode == HandlesRotate) {
        // The centre of the box being rotated, which may have changed since rotate mode began.
        m_centerX = (TruncClamped(m_bounds.mins[h]) + TruncClamped(m_bounds.maxs[h])) / 2;
        m_centerY = (TruncClamped(m_bounds.mins[v]) + TruncClamped(m_bounds.maxs[v])) / 2;
        m_startAngle = PointerAngle(x, y);
    }
    m_startX = x;
    m_startY = y;
    m_dragging = true;
    return true;
}

void ToolBox::UpdateDrag(int x, int y, int flags) {
    if (!m_dragging) {
        return;
    }
    m_snapNow = m_view.snap && !(flags & TOOLDRAG_NO_SNAP);
    const int h = m_dragAxes.horizontal;
    const int v = m_dragAxes.vertical;
    switch (CurrentDragKind()) {
    case DragKind::Rotate: {
        float angle = NormalizeToolAngle(NormalizeToolAngle(PointerAngle(x, y)) - m_startAngle);
        if (OneAxisInverted()) {
            angle = NormalizeToolAngle(360.0f - angle);
        }
        angle = std::trunc(angle);
        if (flags & TOOLDRAG_CONSTRAIN) {
            angle -= std::fmod(angle, 15.0f);
        }
        m_angle = angle;
        break;
    }
    case DragKind::Shear:
        if (m_grabbed == BOXPART_TOP || m_grabbed == BOXPART_BOTTOM) {
            m_shearH = Snap(x) - m_startX;
        } else {
            m_shearV = Snap(y) - m_startY;
        }
        break;
    case DragKind::Scale: {
        auto moveEdge = [&](int axis, int pointer, int start, bool minimum) {
            const float old = minimum ? m_bounds.mins[axis] : m_bounds.maxs[axis];
            float edge = static_cast<float>(Snap(TruncClamped(pointer - start + old)));
            if (m_limit && minimum && edge > m_work.maxs[axis] - 1.0f) {
                edge = m_work.maxs[axis] - 1.0f;
            }
            if (m_limit && !minimum && edge < m_work.mins[axis] + 1.0f) {
                edge = m_work.mins[axis] + 1.0f;
            }
            (minimum ? m_work.mins[axis] : m_work.maxs[axis]) = edge;
        };
        if (m_grabbed & BOXPART_LEFT) {
            moveEdge(h, x, m_startX, true);
        }
        if (m_grabbed & BOXPART_RIGHT) {
            moveEdge(h, x, m_startX, false);
        }
        if (m_grabbed & BOXPART_TOP) {
            moveEdge(v, y, m_startY, true);
        }
        if (m_grabbed & BOXPART_BOTTOM) {
            moveEdge(v, y, m_startY, false);
        }
        m_scale = Vector{1.0f, 1.0f, 1.0f};
        for (int axis : {h, v}) {
            const float oldExtent = m_bounds.maxs[axis] - m_bounds.mins[axis];
            if (oldExtent != 0.0f) {
                m_scale[axis] = (m_work.maxs[axis] - m_work.mins[axis]) / oldExtent;
            }
        }
        break;
    }
    case DragKind::Move: {
        // Whole grid steps of the pointer's movement on each axis: an axis the pointer did not
        // move along (or moved less than half a step) keeps its coordinates exactly, so a
        // sideways drag never shifts a wall up or down onto the grid.
        m_translation = Vector{};
        m_translation[h] = static_cast<float>(Snap(x - m_startX));
        m_translation[v] = static_cast<float>(Snap(y - m_startY));
        m_work = m_bounds;
        m_work.mins += m_translation;
        m_work.maxs += m_translation;
        break;
    }
    }
}

void ToolBox::EndDrag(bool commit) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    if (!commit) {
        m_work = m_bounds;
        if (m_newBox) {
            Reset();
        }
        return;
    }
    BoundBox normal;
    for (int axis = 0; axis < 3; ++axis) {
        normal.mins[axis] = std::min(m_work.mins[axis], m_work.maxs[axis]);
        normal.maxs[axis] = std::max(m_work.mins[axis], m_work.maxs[axis]);
    }
    m_bounds = normal;
    m_work = normal;
    m_empty = false;
    m_newBox = false;
}

void ToolBox::StartNewAt(const Vector& point) {
    const int h = m_view.transform.axes.horizontal;
    const int v = m_view.transform.axes.vertical;
    const int third = m_view.transform.axes.third;
    m_snapNow = m_view.snap;
    const int x = Snap(TruncClamped(point[h]));
    const int y = Snap(TruncClamped(point[v]));
    const int depth = Snap(TruncClamped(point[third]));
    BoundBox box;
    box.mins[h] = box.maxs[h] = static_cast<float>(x);
    box.mins[v] = box.maxs[v] = static_cast<float>(y);
    box.mins[third] = static_cast<float>(depth);
    box.maxs[third] = static_cast<float>(depth + 64);
    m_bounds = box;
    m_work = box;
    m_dragStart = box;
    m_dragAxes = m_view.transform.axes;
    m_empty = false;
    m_handleMode = HandlesScale;
    m_handlesEnabled = true;
    m_newBox = true;
    m_grabbed = BOXPART_RIGHT | BOXPART_BOTTOM;
    m_limit = false;
    m_startX = x;
    m_startY = y;
    m_scale = Vector{1.0f, 1.0f, 1.0f};
    m_translation = Vector{};
    m_dragging = true;
}

std::string ToolBox::StatusText() const {
    if (!m_dragging) {
        return {};
    }
    char text[64];
    const int h = m_dragAxes.horizontal;
    const int v = m_dragAxes.vertical;
    switch (m_handleMode) {
    case HandlesScale:
        if (m_grabbed <= 0) {
            return {};
        }
        std::snprintf(text, sizeof text, " %d x %d ",
                      TruncClamped(std::fabs(m_work.maxs[h] - m_work.mins[h])),
                      TruncClamped(std::fabs(m_work.maxs[v] - m_work.mins[v])));
        return text;
    case HandlesRotate:
        std::snprintf(text, sizeof text, " %.2f\u00B0", static_cast<double>(m_angle));
        return text;
    default:
        std::snprintf(text, sizeof text, " shear: %d ",
                      (m_grabbed == BOXPART_TOP || m_grabbed == BOXPART_BOTTOM) ? m_shearH
                                                                                : m_shearV);
        return text;
    }
}

void ToolBox::TransformPoint(Vector& p) const {
    const int h = m_dragAxes.horizontal;
    const int v = m_dragAxes.vertical;
    const BoundBox& b = m_dragStart;
    switch (CurrentDragKind()) {
    case DragKind::Move:
        p[h] += m_translation[h];
        p[v] += m_translation[v];
        break;
    case DragKind::Scale:
        if (m_grabbed & BOXPART_LEFT) {
            p[h] = b.maxs[h] - (b.maxs[h] - p[h]) * m_scale[h];
        }
        if (m_grabbed & BOXPART_RIGHT) {
            p[h] = b.mins[h] + (p[h] - b.mins[h]) * m_scale[h];
        }
        if (m_grabbed & BOXPART_TOP) {
            p[v] = b.maxs[v] - (b.maxs[v] - p[v]) * m_scale[v];
        }
        if (m_grabbed & BOXPART_BOTTOM) {
            p[v] = b.mins[v] + (p[v] - b.mins[v]) * m_scale[v];
        }
        break;
    case DragKind::Shear: {
        const float extentV = b.maxs[v] - b.mins[v];
        const float extentH = b.maxs[h] - b.mins[h];
        if (m_grabbed == BOXPART_TOP && extentV != 0.0f) {
            p[h] += static_cast<float>(m_shearH) * (b.maxs[v] - p[v]) / extentV;
        } else if (m_grabbed == BOXPART_BOTTOM && extentV != 0.0f) {
            p[h] += static_cast<float>(m_shearH) * (p[v] - b.mins[v]) / extentV;
        } else if (m_grabbed == BOXPART_RIGHT && extentH != 0.0f) {
            p[v] += static_cast<float>(m_shearV) * (p[h] - b.mins[h]) / extentH;
        } else if (m_grabbed == BOXPART_LEFT && extentH != 0.0f) {
            p[v] += static_cast<float>(m_shearV) * (b.maxs[h] - p[h]) / extentH;
        }
        break;
    }
    case DragKind::Rotate: {
        const float angle = OneAxisInverted() ? NormalizeToolAngle(360.0f - m_angle) : m_angle;
        float dx = p[h] - static_cast<float>(m_centerX);
        float dy = p[v] - static_cast<float>(m_centerY);
        RotateToolVector(dx, dy, angle);
        p[h] = static_cast<float>(m_centerX) + dx;
        p[v] = static_cast<float>(m_centerY) + dy;
        break;
    }
    }
}

void ToolBox::AddHandles(ToolDrawing& out, const PixelRect& r) const {
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    const PixelPoint corners[] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    const PixelPoint middles[] = {{midX, r.top}, {r.right, midY}, {midX, r.bottom}, {r.left, midY}};
    auto add = [&](ToolShape::Kind kind, const PixelPoint& p) {
        ToolShape shape;
        shape.kind = kind;
        shape.points = {p};
        shape.xorColor = kHandleBrush;
        out.shapes.push_back(shape);
    };
    if (m_handleMode == HandlesScale || m_handleMode == HandlesRotate) {
        for (const PixelPoint& p : corners) {
            add(m_handleMode == HandlesRotate ? ToolShape::Circle : ToolShape::Square, p);
        }
    }
    if (m_handleMode == HandlesScale || m_handleMode == HandlesShear) {
        for (const PixelPoint& p : middles) {
            add(ToolShape::Square, p);
        }
    }
}

ToolDrawing ToolBox::Draw() const {
    ToolDrawing out;
    if (m_empty) {
        return out;
    }
    const View2DTransform& t = m_view.transform;
    if (!m_dragging) {
        PixelRect r = t.BoxToClient(m_bounds);
        if (m_kind == SelectionKind) {
            r = r.Grown(kMargin);
        }
        const std::uint32_t pen = m_kind == BlockKind ? kBlockPen
                                  : m_rubberBand      ? kRubberBandPen
                                                      : kSelectionPen;
        out.shapes.push_back(RectOutline(r, pen, false));
        if (m_handlesEnabled && !(m_kind == BlockKind && m_newBox)) {
            AddHandles(out, r);
        }
        return out;
    }
    const DragKind kind = CurrentDragKind();
    if (kind == DragKind::Move || kind == DragKind::Scale) {
        out.shapes.push_back(RectOutline(t.BoxToClient(m_work), kDragPen, true));
        return out;
    }
    const int h = t.axes.horizontal;
    const int v = t.axes.vertical;
    ToolShape shape;
    shape.kind = ToolShape::Outline;
    shape.xorColor = kDragPen;
    shape.dotted = true;
    const float cornerH[4] = {m_dragStart.mins[h], m_dragStart.maxs[h], m_dragStart.maxs[h],
                              m_dragStart.mins[h]};
    const float cornerV[4] = {m_dragStart.mins[v], m_dragStart.mins[v], m_dragStart.maxs[v],
                              m_dragStart.maxs[v]};
    for (int i = 0; i < 4; ++i) {
        Vector p;
        p[h] = cornerH[i];
        p[v] = cornerV[i];
        TransformPoint(p);
        shape.points.push_back(t.WorldToClient(p));
    }
    out.shapes.push_back(shape);
    return out;
}
