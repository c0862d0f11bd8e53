#include "tools/ClipTool.h"

#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "tools/DocumentTools.h"
#include "tools/ToolSnap.h"

#include <cmath>
#include <cstdlib>

namespace {

// How far (pixels) a press may be from a point to grab it, and a drag must go to draw a line.
constexpr int kGrabPixels = 5;
constexpr int kLineDragPixels = 4;

// Colours as they show on the white background; the tool draws with their exclusive-or.
constexpr std::uint32_t kFrontShown = 0xD000D0;
constexpr std::uint32_t kBackShown = 0x0080FF;
constexpr std::uint32_t kLineShown = 0x00A000;
constexpr std::uint32_t kPointShown = 0x0000FF;

const char* KeepName(ClipKeep keep) {
    switch (keep) {
    case ClipKeep::Front:
        return "front";
    case ClipKeep::Back:
        return "back";
    default:
        return "both";
    }
}

PixelPoint Project(const View2DTransform& transform, const Vector3d& point) {
    return transform.WorldToClient(point.ToFloat());
}

} // namespace

void ClipTool::Reset() {
    m_count = 0;
    m_dragIndex = -1;
    m_dragView = nullptr;
    m_lineByDrag = false;
}

void ClipTool::Redraw(ToolContext& context) {
    context.RedrawEverywhere();
}

Vector3d ClipTool::PointAt(ToolContext& context, int x, int y, ToolKeys keys,
                           const Vector3d& base) const {
    const View2DTransform transform = context.Transform();
    const PixelPoint world = transform.ClientToWorld(x, y);
    const bool snap = context.doc.SnapToGrid() && !keys.alt;
    const int grid = context.doc.GridSize();
    Vector3d point = base;
    point[transform.axes.horizontal] = SnapToGridValue(world.x, grid, snap);
    point[transform.axes.vertical] = SnapToGridValue(world.y, grid, snap);
    return point;
}

int ClipTool::PointNear(const ToolContext& context, int x, int y) const {
    const View2DTransform transform = context.Transform();
    for (int i = m_count - 1; i >= 0; --i) {
        const PixelPoint p = Project(transform, m_points[static_cast<std::size_t>(i)]);
        if (std::abs(p.x - x) <= kGrabPixels && std::abs(p.y - y) <= kGrabPixels) {
            return i;
        }
    }
    return -1;
}

void ClipTool::LeftDown(ToolContext& context, int x, int y, ToolKeys keys) {
    m_lineByDrag = false;
    m_dragView = context.view;
    const int near = PointNear(context, x, y);
    if (near >= 0) {
        m_dragIndex = near;
        return;
    }
    const ViewAxes axes = context.Transform().axes;
    if (m_count == 0 || axes.third == m_lineAxes.third || m_count == 1) {
        if (m_count == 1 && axes.third == m_lineAxes.third) {
            // The second point of the line.
            m_points[1] = PointAt(context, x, y, keys, m_points[0]);
            m_count = 2;
            m_dragIndex = 1;
        } else {
            // A new line in this view; its depth is that of the other views' centres.
            m_lineAxes = axes;
            Vector3d base = context.host.ClickTo3D(x, y);
            base[axes.third] = SnapToGridValue(static_cast<int>(std::lround(base[axes.third])),
                                               context.doc.GridSize(), context.doc.SnapToGrid());
            m_points[0] = PointAt(context, x, y, keys, base);
            m_count = 1;
            m_dragIndex = -1;
            m_lineByDrag = true;
        }
    } else {
        // A point in a view across the line's tilts the plane; its coordinate along this
        // view's depth is that of the line's middle.
        const Vector3d middle = (m_points[0] + m_points[1]) * 0.5;
        m_points[2] = PointAt(context, x, y, keys, middle);
        m_count = 3;
        m_dragIndex = 2;
    }
    Redraw(context);
}

void ClipTool::Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) {
    context.host.ShowToolCursor(ToolCursor::Cross);
    if (!leftDown || m_dragView != context.view) {
        return;
    }
    if (m_lineByDrag) {
        const ToolPress& press = context.press;
        if (std::abs(x - press.x) <= kLineDragPixels && std::abs(y - press.y) <= kLineDragPixels) {
            return;
        }
        m_lineByDrag = false;
        m_points[1] = m_points[0];
        m_count = 2;
        m_dragIndex = 1;
    }
    if (m_dragIndex < 0 || m_dragIndex >= m_count) {
        return;
    }
    Vector3d& point = m_points[static_cast<std::size_t>(m_dragIndex)];
    const Vector3d moved = PointAt(context, x, y, keys, point);
    if (!(moved == point)) {
        point = moved;
        Redraw(context);
    }
}

void ClipTool::LeftUp(ToolContext& context, int, int, ToolKeys) {
    const bool wasDragging = m_dragIndex >= 0 || m_lineByDrag;
    m_dragIndex = -1;
    m_lineByDrag = false;
    m_dragView = nullptr;
    if (wasDragging) {
        Redraw(context);
    }
}

bool ClipTool::Dragging(const ToolContext& context) const {
    return (m_dragIndex >= 0 || m_lineByDrag) && m_dragView == context.view;
}

void ClipTool::Cancel(CMapDoc&) {
    Reset();
}

std::optional<ThreePointPlane> ClipTool::CurrentPlane() const {
    if (m_count < 2) {
        return std::nullopt;
    }
    std::optional<ThreePointPlane> line =
        ClipPlaneForViewLine(m_points[0], m_points[1], m_lineAxes.third);
    if (m_count < 3 || !line) {
        return line;
    }
    // Tilted by the third point, with its front on the same side as the line's.
    std::optional<ThreePointPlane> tilted = ClipPlaneThrough(m_points[0], m_points[1], m_points[2]);
    if (tilted && Dot(tilted->normal, line->normal) < 0.0) {
        tilted = ClipPlaneThrough(m_points[2], m_points[1], m_points[0]);
    }
    return tilted ? tilted : line;
}

const std::vector<SolidClipPreview>& ClipTool::PreviewFor(CMapDoc& doc) {
    Preview& p = m_preview;
    const auto& selection = doc.SelectedObjects();
    if (p.valid && p.count == m_count && p.points == m_points &&
        p.changeCount == doc.ChangeCount() && p.selection == selection) {
        return p.pieces;
    }
    p.pieces.clear();
    if (const std::optional<ThreePointPlane> plane = CurrentPlane()) {
        std::vector<const CMapSolid*> solids;
        for (CMapSolid* solid : SolidsToClip(doc)) {
            solids.push_back(solid);
        }
        p.pieces = PreviewClip(solids, *plane);
    }
    p.points = m_points;
    p.count = m_count;
    p.changeCount = doc.ChangeCount();
    p.selection = selection;
    p.valid = true;
    return p.pieces;
}

ToolDrawing ClipTool::Draw(ToolContext& context) {
    ToolDrawing drawing;
    if (m_count == 0) {
        return drawing;
    }
    const View2DTransform transform = context.Transform();
    auto addPieces = [&](const PiecePolygons& polygons, std::uint32_t shown) {
        for (const std::vector<Vector>& polygon : polygons) {
            ToolShape shape;
            shape.kind = ToolShape::Outline;
            shape.xorColor = XorPen(shown);
            for (const Vector& corner : polygon) {
                shape.points.push_back(transform.WorldToClient(corner));
            }
            drawing.shapes.push_back(std::move(shape));
        }
    };
    for (const SolidClipPreview& piece : PreviewFor(context.doc)) {
        if (!piece.cut) {
            continue;
        }
        if (m_keep != ClipKeep::Back) {
            addPieces(piece.front, kFrontShown);
        }
        if (m_keep != ClipKeep::Front) {
            addPieces(piece.back, kBackShown);
        }
    }
    auto addLine = [&](const Vector3d& a, const Vector3d& b, bool dotted) {
        ToolShape line;
        line.kind = dotted ? ToolShape::Outline : ToolShape::Line;
        line.dotted = dotted;
        line.xorColor = XorPen(kLineShown);
        line.points = {Project(transform, a), Project(transform, b)};
        drawing.shapes.push_back(std::move(line));
    };
    if (m_count >= 2) {
        addLine(m_points[0], m_points[1], false);
    }
    if (m_count == 3) {
        addLine(m_points[0], m_points[2], true);
        addLine(m_points[1], m_points[2], true);
    }
    for (int i = 0; i < m_count; ++i) {
        ToolShape point;
        point.kind = ToolShape::Disc;
        point.xorColor = XorPen(kPointShown);
        point.points = {Project(transform, m_points[static_cast<std::size_t>(i)])};
        drawing.shapes.push_back(std::move(point));
    }
    return drawing;
}

bool ClipTool::Key(ToolContext& context, ToolKey key, ToolKeys) {
    switch (key) {
    case ToolKey::Enter: {
        if (m_count < 2) {
            return false;
        }
        const std::optional<ThreePointPlane> plane = CurrentPlane();
        if (!plane) {
            context.doc.ShowNote("The clip line has no length: drag one of its points away.");
            return true;
        }
        const ClipResult result = OnClip(context.doc, *plane, m_keep);
        Reset();
        Redraw(context);
        if (result.clipped == 0) {
            context.doc.ShowNote(result.failed > 0
                                     ? "The pieces of the cut solids could not be built."
                                     : "The plane cuts none of the selected solids.");
            // The note stays: the hint of the next point is not shown over it.
            context.doc.Tools().shownHint = Hint(context.doc);
            context.doc.Tools().hintChangeCount = context.doc.ChangeCount();
        }
        return true;
    }
    case ToolKey::Tab:
    case ToolKey::Backtab:
        if (m_count < 2) {
            return false;
        }
        m_keep = NextClipKeep(m_keep);
        if (key == ToolKey::Backtab) {
            m_keep = NextClipKeep(m_keep);
        }
        Redraw(context);
        return true;
    case ToolKey::Escape:
        if (m_count == 0) {
            return false;
        }
        Reset();
        Redraw(context);
        return true;
    default:
        return false;
    }
}

std::string ClipTool::Hint(const CMapDoc& doc) const {
    if (doc.SelectedObjects().empty()) {
        return "Clip: select the solids to cut, then click the first point of the line.";
    }
    if (m_count == 0) {
        return "Clip: click the first point of the line to cut along.";
    }
    if (m_count == 1) {
        return "Clip: click the second point.";
    }
    return std::string("Clip, keeping ") + KeepName(m_keep) + ": Enter to clip, Tab: keep " +
           KeepName(NextClipKeep(m_keep)) +
           "; a point in another view tilts the plane, Escape cancels.";
}

void ClipTool::DrawIcon(ToolIconCanvas& canvas) {
    // A block cut by a slanted line through two points.
    canvas.SetFill({230, 230, 230});
    canvas.Rect(4, 6, 16, 14);
    canvas.SetFill({178, 74, 52});
    canvas.Polygon({{4, 14}, {20, 8}, {20, 20}, {4, 20}});
    canvas.SetPen({0, 140, 0}, 2.0f);
    canvas.Line({2, 15}, {22, 7.5f});
    canvas.SetPen(kIconInk, 1.0f);
    canvas.SetFill({52, 96, 170});
    canvas.Ellipse(2, 13, 4, 4);
    canvas.Ellipse(18, 5.5f, 4, 4);
}
