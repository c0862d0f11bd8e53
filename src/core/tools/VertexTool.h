#pragma once

#include "geometry/Vector3d.h"
#include "render/View2DTransform.h"
#include "shaping/VertexEdit.h"
#include "tools/MapTool.h"
#include "tools/ToolIcon.h"

#include <cstdint>
#include <string>
#include <vector>

class CMapClass;
class CMapSolid;

// The Vertex tool's number.
inline constexpr int TOOL_VERTEX = 7;

// Vertex editing: the corners of the selected solids and the middles of their edges are
// handles in the 2D views. A click chooses the handles under the pointer (corners before edge
// middles), Ctrl+click adds or removes them, a drag from empty space chooses the corners in
// its box; dragging chosen handles moves them together, snapped to the grid (Alt: not
// snapped). A move the solids cannot take is refused with a message and nothing changes; each
// drag that moves something is one undo step.
class VertexTool : public MapTool {
public:
    void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) override;
    void Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) override;
    void LeftUp(ToolContext& context, int x, int y, ToolKeys keys) override;
    bool Key(ToolContext& context, ToolKey key, ToolKeys keys) override;
    ToolDrawing Draw(ToolContext& context) override;
    bool Dragging(const ToolContext& context) const override;
    void Cancel(CMapDoc& doc) override;
    std::string Hint(const CMapDoc& doc) const override;

    // The chosen handles' positions, for the solids as they are now.
    std::vector<Vector3d> ChosenPositions(CMapDoc& doc);

    static void DrawIcon(ToolIconCanvas& canvas);

private:
    struct SolidHandles {
        CMapSolid* solid = nullptr;
        std::vector<VertexHandle> handles;
        std::vector<bool> chosen;
    };
    enum class DragKind { None, Handles, Band };

    // Brings the handles up to date with the selection and the map, keeping the choice of the
    // handles that are still where they were.
    void Refresh(CMapDoc& doc);
    // The handles drawn within a few pixels of (x, y): corners when any is there, else edge
    // middles; pairs of solid and handle index.
    std::vector<std::pair<int, int>> HandlesAt(const View2DTransform& transform, int x,
                                               int y) const;
    bool AnyChosen() const;
    void ClearChoice();
    void UpdatePreview(CMapDoc& doc);
    void EndDrag();

    std::vector<SolidHandles> m_solids;
    bool m_known = false;
    std::uint64_t m_changeCount = 0;
    std::vector<CMapClass*> m_selection;
    // Positions the choice is found at when the handles are next made (after a move).
    std::vector<std::pair<CMapSolid*, Vector3d>> m_chooseAt;

    DragKind m_drag = DragKind::None;
    const void* m_dragView = nullptr;
    ViewAxes m_dragAxes;
    Vector3d m_grabbed;
    PixelPoint m_pressWorld;
    PixelPoint m_bandFrom;
    PixelPoint m_bandTo;
    Vector3d m_delta;
    std::vector<VertexMovePreview> m_previews;
    std::string m_message;
};
