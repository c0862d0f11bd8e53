#include "tools/VertexTool.h"

#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "shaping/Clip.h"
#include "tools/DocumentTools.h"
#include "tools/ToolCommands.h"
#include "tools/ToolSnap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kGrabPixels = 4;
constexpr int kBandPixels = 3;

constexpr std::uint32_t kCornerShown = 0x0000C0;
constexpr std::uint32_t kMiddleShown = 0x00A0A0;
constexpr std::uint32_t kChosenShown = 0xFF0000;
constexpr std::uint32_t kPreviewShown = 0x00A000;
constexpr std::uint32_t kBandShown = 0x000000;

bool Near(const Vector3d& a, const Vector3d& b) {
    return Length(a - b) < 0.01;
}

} // namespace

void VertexTool::Refresh(CMapDoc& doc) {
    const std::vector<CMapClass*>& selection = doc.SelectedObjects();
    if (m_known && m_changeCount == doc.ChangeCount() && m_selection == selection) {
        return;
    }
    // The choice is kept by position: where the chosen handles were, or where a move took them.
    std::vector<std::pair<CMapSolid*, Vector3d>> chooseAt = std::move(m_chooseAt);
    m_chooseAt.clear();
    if (chooseAt.empty()) {
        for (const SolidHandles& s : m_solids) {
            for (std::size_t i = 0; i < s.handles.size(); ++i) {
                if (s.chosen[i]) {
                    chooseAt.emplace_back(s.solid, s.handles[i].position);
                }
            }
        }
    }
    m_solids.clear();
    for (CMapSolid* solid : SolidsToClip(doc)) {
        SolidHandles s;
        s.solid = solid;
        s.handles = VertexHandles(*solid);
        s.chosen.assign(s.handles.size(), false);
        for (const auto& [owner, position] : chooseAt) {
            if (owner != solid) {
                continue;
            }
            // A corner at the position before an edge middle there.
            std::size_t found = s.handles.size();
            for (std::size_t i = 0; i < s.handles.size(); ++i) {
                if (Near(s.handles[i].position, position) &&
                    (found == s.handles.size() || (s.handles[i].kind == HandleKind::Corner &&
                                                   s.handles[found].kind != HandleKind::Corner))) {
                    found = i;
                }
            }
            if (found < s.handles.size()) {
                s.chosen[found] = true;
            }
        }
        m_solids.push_back(std::move(s));
    }
    m_known = true;
    m_changeCount = doc.ChangeCount();
    m_selection = selection;
}

std::vector<std::pair<int, int>> VertexTool::HandlesAt(const View2DTransform& transform, int x,
                                                       int y) const {
    std::vector<std::pair<int, int>> corners;
    std::vector<std::pair<int, int>> middles;
    for (std::size_t s = 0; s < m_solids.size(); ++s) {
        const SolidHandles& solid = m_solids[s];
        for (std::size_t i = 0; i < solid.handles.size(); ++i) {
            const PixelPoint p = transform.WorldToClient(solid.handles[i].position.ToFloat());
            if (std::abs(p.x - x) <= kGrabPixels && std::abs(p.y - y) <= kGrabPixels) {
                (solid.handles[i].kind == HandleKind::Corner ? corners : middles)
                    .emplace_back(static_cast<int>(s), static_cast<int>(i));
            }
        }
    }
    return corners.empty() ? middles : corners;
}

bool VertexTool::AnyChosen() const {
    for (const SolidHandles& s : m_solids) {
        if (std::find(s.chosen.begin(), s.chosen.end(), true) != s.chosen.end()) {
            return true;
        }
    }
    return false;
}

void VertexTool::ClearChoice() {
    for (SolidHandles& s : m_solids) {
        std::fill(s.chosen.begin(), s.chosen.end(), false);
    }
}

std::vector<Vector3d> VertexTool::ChosenPositions(CMapDoc& doc) {
    Refresh(doc);
    std::vector<Vector3d> positions;
    for (const SolidHandles& s : m_solids) {
        for (std::size_t i = 0; i < s.handles.size(); ++i) {
            if (s.chosen[i]) {
                positions.push_back(s.handles[i].position);
            }
        }
    }
    return positions;
}

void VertexTool::EndDrag() {
    m_drag = DragKind::None;
    m_dragView = nullptr;
    m_previews.clear();
    m_delta = {};
}

void VertexTool::LeftDown(ToolContext& context, int x, int y, ToolKeys keys) {
    CMapDoc& doc = context.doc;
    Refresh(doc);
    m_message.clear();
    const View2DTransform transform = context.Transform();
    const std::vector<std::pair<int, int>> hit = HandlesAt(transform, x, y);
    m_dragView = context.view;
    m_dragAxes = transform.axes;
    m_delta = {};
    m_previews.clear();
    if (hit.empty()) {
        if (!keys.ctrl) {
            ClearChoice();
        }
        m_drag = DragKind::Band;
        m_bandFrom = m_bandTo = PixelPoint{x, y};
        context.RedrawEverywhere();
        return;
    }
    const auto chosen = [&](const std::pair<int, int>& h) {
        return m_solids[static_cast<std::size_t>(h.first)]
            .chosen[static_cast<std::size_t>(h.second)];
    };
    const bool anyHitChosen = std::any_of(hit.begin(), hit.end(), chosen);
    if (keys.ctrl) {
        for (const auto& h : hit) {
            m_solids[static_cast<std::size_t>(h.first)].chosen[static_cast<std::size_t>(h.second)] =
                !anyHitChosen;
        }
        m_drag = DragKind::None;
        m_dragView = nullptr;
        context.RedrawEverywhere();
        return;
    }
    if (!anyHitChosen) {
        ClearChoice();
    }
    for (const auto& h : hit) {
        m_solids[static_cast<std::size_t>(h.first)].chosen[static_cast<std::size_t>(h.second)] =
            true;
    }
    const auto& first = hit.front();
    m_grabbed = m_solids[static_cast<std::size_t>(first.first)]
                    .handles[static_cast<std::size_t>(first.second)]
                    .position;
    m_pressWorld = transform.ClientToWorld(x, y);
    m_drag = DragKind::Handles;
    context.RedrawEverywhere();
}

void VertexTool::UpdatePreview(CMapDoc& doc) {
    m_previews.clear();
    m_message.clear();
    if (m_delta == Vector3d{}) {
        return;
    }
    for (const SolidHandles& s : m_solids) {
        std::vector<int> handles;
        for (std::size_t i = 0; i < s.handles.size(); ++i) {
            if (s.chosen[i]) {
                handles.push_back(static_cast<int>(i));
            }
        }
        if (handles.empty()) {
            continue;
        }
        VertexMovePreview preview = PreviewVertexMove(*s.solid, handles, m_delta);
        if (m_message.empty() && !preview.message.empty()) {
            m_message = preview.message;
        }
        m_previews.push_back(std::move(preview));
    }
    (void)doc;
}

void VertexTool::Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) {
    CMapDoc& doc = context.doc;
    const View2DTransform transform = context.Transform();
    if (m_drag != DragKind::None && m_dragView == context.view && leftDown) {
        if (m_drag == DragKind::Band) {
            m_bandTo = PixelPoint{x, y};
            context.RedrawEverywhere();
            return;
        }
        const PixelPoint world = transform.ClientToWorld(x, y);
        const bool snap = doc.SnapToGrid() && !keys.alt;
        const int grid = doc.GridSize();
        const int h = transform.axes.horizontal;
        const int v = transform.axes.vertical;
        const double startH = m_grabbed[h];
        const double startV = m_grabbed[v];
        const double wantH = startH + (world.x - m_pressWorld.x);
        const double wantV = startV + (world.y - m_pressWorld.y);
        Vector3d delta;
        delta[h] = SnapToGridValue(static_cast<int>(std::lround(wantH)), grid, snap) - startH;
        delta[v] = SnapToGridValue(static_cast<int>(std::lround(wantV)), grid, snap) - startV;
        if (!(delta == m_delta)) {
            m_delta = delta;
            UpdatePreview(doc);
            context.RedrawEverywhere();
            ShowToolHint(doc);
        }
        return;
    }
    Refresh(doc);
    context.host.ShowToolCursor(HandlesAt(transform, x, y).empty() ? ToolCursor::Arrow
                                                                   : ToolCursor::Cross);
}

void VertexTool::LeftUp(ToolContext& context, int, int, ToolKeys) {
    CMapDoc& doc = context.doc;
    if (m_drag == DragKind::None || m_dragView != context.view) {
        return;
    }
    if (m_drag == DragKind::Band) {
        const View2DTransform transform = context.Transform();
        const int left = std::min(m_bandFrom.x, m_bandTo.x);
        const int right = std::max(m_bandFrom.x, m_bandTo.x);
        const int top = std::min(m_bandFrom.y, m_bandTo.y);
        const int bottom = std::max(m_bandFrom.y, m_bandTo.y);
        if (right - left > kBandPixels || bottom - top > kBandPixels) {
            // A box chooses corners only: an edge middle inside it would move along with the
            // corners of its edge.
            for (SolidHandles& s : m_solids) {
                for (std::size_t i = 0; i < s.handles.size(); ++i) {
                    const PixelPoint p = transform.WorldToClient(s.handles[i].position.ToFloat());
                    if (s.handles[i].kind == HandleKind::Corner && p.x >= left && p.x <= right &&
                        p.y >= top && p.y <= bottom) {
                        s.chosen[i] = true;
                    }
                }
            }
        }
        EndDrag();
        context.RedrawEverywhere();
        return;
    }
    const Vector3d delta = m_delta;
    std::vector<SolidVertexMove> moves;
    std::vector<std::pair<CMapSolid*, Vector3d>> movedTo;
    for (const SolidHandles& s : m_solids) {
        SolidVertexMove move;
        move.solid = s.solid;
        for (std::size_t i = 0; i < s.handles.size(); ++i) {
            if (s.chosen[i]) {
                move.handles.push_back(static_cast<int>(i));
                movedTo.emplace_back(s.solid, s.handles[i].position + delta);
            }
        }
        if (!move.handles.empty()) {
            moves.push_back(std::move(move));
        }
    }
    EndDrag();
    if (!(delta == Vector3d{}) && !moves.empty()) {
        const VertexMoveOutcome outcome = OnVertexMove(doc, moves, delta);
        if (outcome.result == VertexMoveResult::Moved) {
            m_chooseAt = std::move(movedTo);
            m_message.clear();
        } else {
            m_message = outcome.message;
        }
    }
    context.RedrawEverywhere();
}

bool VertexTool::Dragging(const ToolContext& context) const {
    return m_drag != DragKind::None && m_dragView == context.view;
}

void VertexTool::Cancel(CMapDoc&) {
    EndDrag();
    m_message.clear();
}

bool VertexTool::Key(ToolContext& context, ToolKey key, ToolKeys) {
    if (key != ToolKey::Escape) {
        return false;
    }
    Refresh(context.doc);
    if (m_drag != DragKind::None) {
        EndDrag();
    } else if (AnyChosen()) {
        ClearChoice();
    } else {
        return false;
    }
    m_message.clear();
    context.RedrawEverywhere();
    return true;
}

ToolDrawing VertexTool::Draw(ToolContext& context) {
    CMapDoc& doc = context.doc;
    Refresh(doc);
    const View2DTransform transform = context.Transform();
    ToolDrawing drawing;
    for (const VertexMovePreview& preview : m_previews) {
        if (preview.result != VertexMoveResult::Moved) {
            continue;
        }
        for (const CMapFace& face : preview.faces) {
            ToolShape outline;
            outline.kind = ToolShape::Outline;
            outline.xorColor = XorPen(kPreviewShown);
            for (int i = 0; i < face.PointCount(); ++i) {
                outline.points.push_back(transform.WorldToClient(face.Points()[i]));
            }
            drawing.shapes.push_back(std::move(outline));
        }
    }
    // Edge middles first, then corners (a corner hides a middle drawn at its pixel), then the
    // chosen handles on top, where the drag takes them.
    for (int pass = 0; pass < 3; ++pass) {
        for (const SolidHandles& s : m_solids) {
            for (std::size_t i = 0; i < s.handles.size(); ++i) {
                const bool corner = s.handles[i].kind == HandleKind::Corner;
                const int wanted = s.chosen[i] ? 2 : (corner ? 1 : 0);
                if (wanted != pass) {
                    continue;
                }
                Vector3d position = s.handles[i].position;
                if (s.chosen[i] && m_drag == DragKind::Handles && m_message.empty()) {
                    position += m_delta;
                }
                ToolShape dot;
                dot.kind = ToolShape::Dot;
                dot.xorColor = XorPen(s.chosen[i] ? kChosenShown
                                      : corner    ? kCornerShown
                                                  : kMiddleShown);
                dot.points = {transform.WorldToClient(position.ToFloat())};
                drawing.shapes.push_back(std::move(dot));
            }
        }
    }
    if (m_drag == DragKind::Band && m_dragView == context.view) {
        ToolShape band;
        band.kind = ToolShape::Outline;
        band.dotted = true;
        band.xorColor = XorPen(kBandShown);
        band.points = {
            m_bandFrom, {m_bandTo.x, m_bandFrom.y}, m_bandTo, {m_bandFrom.x, m_bandTo.y}};
        drawing.shapes.push_back(std::move(band));
    }
    return drawing;
}

std::string VertexTool::Hint(const CMapDoc& doc) const {
    if (!m_message.empty()) {
        return m_message;
    }
    if (doc.SelectedObjects().empty()) {
        return "Vertex editing: select solids first; their corners become handles.";
    }
    if (!AnyChosen()) {
        return "Vertex editing: click a corner (or an edge's middle to split the edge), or drag "
               "a box around corners.";
    }
    return "Vertex editing: drag the chosen handles to move them (Alt: off the grid), Ctrl+click "
           "adds or removes one, Escape lets go.";
}

void VertexTool::DrawIcon(ToolIconCanvas& canvas) {
    // A wedge outline with one corner pulled out and its handles.
    canvas.SetFill({230, 230, 230});
    canvas.Polygon({{4, 20}, {4, 9}, {15, 3}, {20, 20}});
    canvas.SetPen(kIconInk, 1.0f);
    canvas.SetFill({255, 40, 40});
    canvas.Rect(13, 1, 4, 4);
    canvas.SetFill({40, 40, 200});
    canvas.Rect(2, 18, 4, 4);
    canvas.Rect(2, 7, 4, 4);
    canvas.Rect(18, 18, 4, 4);
}
