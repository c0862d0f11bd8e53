#pragma once

#include "geometry/Vector3d.h"
#include "render/ViewAxes.h"
#include "shaping/Clip.h"
#include "tools/MapTool.h"
#include "tools/ToolIcon.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CMapClass;

// The Clip tool's number.
inline constexpr int TOOL_CLIP = 6;

// The Clip tool: two points in a 2D view (snapped, Alt without snapping) give a line, and the
// clipping plane runs through it perpendicular to that view; a third point placed in another
// 2D view tilts the plane. The selected solids are drawn cut while the points are dragged.
// Tab cycles keep front / keep back / keep both, Enter clips, Escape drops the points.
class ClipTool : public MapTool {
public:
    void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) override;
    void Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) override;
    void LeftUp(ToolContext& context, int x, int y, ToolKeys keys) override;
    bool Key(ToolContext& context, ToolKey key, ToolKeys keys) override;
    ToolDrawing Draw(ToolContext& context) override;
    bool Dragging(const ToolContext& context) const override;
    void Cancel(CMapDoc& doc) override;
    std::string Hint(const CMapDoc& doc) const override;

    int PointCount() const { return m_count; }
    ClipKeep Keep() const { return m_keep; }
    // The plane the points give so far (none before the second point).
    std::optional<ThreePointPlane> CurrentPlane() const;

    static void DrawIcon(ToolIconCanvas& canvas);

private:
    // The point of this view's pixel, snapped as the document and keys say; its depth
    // coordinate comes from base.
    Vector3d PointAt(ToolContext& context, int x, int y, ToolKeys keys, const Vector3d& base) const;
    // The index of the point drawn within a few pixels of (x, y) in the context's view, or -1.
    int PointNear(const ToolContext& context, int x, int y) const;
    void Reset();
    void Redraw(ToolContext& context);

    std::array<Vector3d, 3> m_points{};
    int m_count = 0;
    // The axes of the view the line was drawn in.
    ViewAxes m_lineAxes;
    ClipKeep m_keep = ClipKeep::Front;
    // The point being dragged (-1: none), the view it is dragged in, and whether the press that
    // placed the first point may still draw the line by dragging.
    int m_dragIndex = -1;
    const void* m_dragView = nullptr;
    bool m_lineByDrag = false;

    // The preview pieces and what they were computed for.
    struct Preview {
        std::vector<SolidClipPreview> pieces;
        std::array<Vector3d, 3> points{};
        int count = 0;
        std::uint64_t changeCount = 0;
        std::vector<CMapClass*> selection;
        bool valid = false;
    };
    const std::vector<SolidClipPreview>& PreviewFor(CMapDoc& doc);
    Preview m_preview;
};
