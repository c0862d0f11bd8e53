#include "tools/View2DToolMachine.h"

#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "session/EditorContext.h"
#include "tools/ToolCommands.h"

#include <cstdlib>

namespace {

constexpr int kRubberBandThreshold = 4;
constexpr float kMagnifyIn = 1.2f;
constexpr float kMagnifyOut = 0.8333333f;
// The rubber band reaches through the whole map along the axis the view looks along.
constexpr float kBandDepth = 1.0e6f;

} // namespace

View2DToolMachine::View2DToolMachine(CMapDoc& doc, ToolViewHost& host) : m_doc(doc), m_host(host) {}

int View2DToolMachine::Tool() const {
    return m_doc.ActiveTool();
}

bool View2DToolMachine::Dragging() const {
    return m_doc.tools.dragState != DocumentTools::DragNone && m_doc.tools.dragOwner == this;
}

ToolObject* View2DToolMachine::Prepare(int tool) {
    ToolObject* object = m_doc.tools.ForTool(tool);
    if (!object) {
        return nullptr;
    }
    ToolView view;
    view.transform = m_host.ToolTransform();
    view.gridSize = m_doc.GridSize();
    view.snap = m_doc.SnapToGrid();
    object->SetView(view);
    if (tool == TOOL_SELECTION) {
        SyncSelectionBox(m_doc);
    }
    return object;
}

ToolObject* View2DToolMachine::ActiveObject() {
    return Prepare(Tool());
}

void View2DToolMachine::RedrawEverywhere() {
    m_host.ToolFeedbackChanged();
    m_doc.ToolHandlesNotify(m_host.DocumentView(), 2);
}

void View2DToolMachine::DropRubberBand() {
    DocumentTools& tools = m_doc.tools;
    tools.rubberBand = false;
    tools.selectionBox.SetRubberBand(false);
    tools.selectionBox.Reset();
    SyncSelectionBox(m_doc);
    RedrawEverywhere();
}

void View2DToolMachine::LeftDown(int x, int y, ToolKeys keys) {
    DocumentTools& tools = m_doc.tools;
    m_pressX = x;
    m_pressY = y;
    m_leftDown = true;
    m_moved = false;
    m_picked = false;
    const int tool = Tool();
    ToolObject* object = Prepare(tool);
    const View2DTransform transform = m_host.ToolTransform();
    const PixelPoint world = transform.ClientToWorld(x, y);
    auto beginDrag = [&](int state) {
        if (tools.dragState == DocumentTools::DragNone || state == DocumentTools::DragExisting) {
            tools.dragState = state;
        }
        tools.dragOwner = this;
    };
    switch (tool) {
    case TOOL_SELECTION: {
        ToolBox& box = tools.selectionBox;
        if (tools.rubberBand) {
            if (box.StartDrag(world.x, world.y)) {
                beginDrag(DocumentTools::DragExisting);
                return;
            }
            DropRubberBand();
        }
        if (keys.ctrl) {
            m_picked = PickAt(m_doc, transform.axes, transform.zoom, world.x, world.y, false);
        } else if (m_doc.Selection().IsEmpty()) {
            m_picked = PickAt(m_doc, transform.axes, transform.zoom, world.x, world.y, true);
        } else if (box.StartDrag(world.x, world.y)) {
            beginDrag(DocumentTools::DragExisting);
        } else if (box.HitTest(world.x, world.y, false) == -1) {
            m_picked = PickAt(m_doc, transform.axes, transform.zoom, world.x, world.y, true);
        }
        break;
    }
    case TOOL_BLOCK:
    case TOOL_ENTITY:
    case TOOL_CAMERA: {
        const bool empty = object->IsEmpty();
        if (empty || object->StartDrag(world.x, world.y)) {
            m_host.ShowToolCursor(ToolCursor::Cross);
            if (empty) {
                beginDrag(DocumentTools::DragNew);
                object->StartNewAt(m_host.ClickTo3D(x, y));
                RedrawEverywhere();
            } else {
                beginDrag(tool == TOOL_BLOCK ? DocumentTools::DragExisting
                                             : DocumentTools::DragNew);
            }
        }
        break;
    }
    case TOOL_MAGNIFY:
        m_host.ZoomBy(kMagnifyIn);
        break;
    default:
        break;
    }
}

void View2DToolMachine::Move(int x, int y, ToolKeys keys, bool leftDown) {
    DocumentTools& tools = m_doc.tools;
    if (m_leftDown) {
        m_moved = true;
    }
    const int tool = Tool();
    ToolObject* object = Prepare(tool);
    const View2DTransform transform = m_host.ToolTransform();
    const PixelPoint world = transform.ClientToWorld(x, y);
    if (Dragging() && object) {
        int flags = Editor().options.rotateConstrain ? TOOLDRAG_CONSTRAIN : 0;
        if (keys.alt) {
            flags |= TOOLDRAG_NO_SNAP;
        }
        if (keys.shift && tool == TOOL_SELECTION &&
            tools.selectionBox.HandleMode() == ToolBox::HandlesRotate) {
            flags ^= TOOLDRAG_CONSTRAIN;
        }
        object->UpdateDrag(world.x, world.y, flags);
        const std::string status = object->StatusText();
        RedrawEverywhere();
        m_host.ShowToolStatus(status);
        return;
    }
    if (tools.dragState == DocumentTools::DragNone && tool == TOOL_SELECTION && !m_picked &&
        m_leftDown && leftDown &&
        (std::abs(x - m_pressX) > kRubberBandThreshold ||
         std::abs(y - m_pressY) > kRubberBandThreshold)) {
        m_host.ShowToolCursor(ToolCursor::Cross);
        tools.dragState = DocumentTools::DragNew;
        tools.dragOwner = this;
        m_host.ToolFeedbackChanged();
        tools.rubberBand = true;
        tools.selectionBox.SetRubberBand(true);
        tools.selectionBox.StartNewAt(m_host.ClickTo3D(m_pressX, m_pressY));
        BoundBox band = tools.selectionBox.Bounds();
        band.mins[transform.axes.third] = -kBandDepth;
        band.maxs[transform.axes.third] = kBandDepth;
        tools.selectionBox.SetDepth(band.mins[transform.axes.third],
                                    band.maxs[transform.axes.third]);
        tools.selectionBox.UpdateDrag(world.x, world.y, keys.alt ? TOOLDRAG_NO_SNAP : 0);
        RedrawEverywhere();
        return;
    }
    ToolCursor cursor = tool == TOOL_MAGNIFY  ? ToolCursor::Magnify
                        : tool == TOOL_ENTITY ? ToolCursor::Entity
                                              : ToolCursor::Arrow;
    if (tools.dragState == DocumentTools::DragNone && object && !object->IsEmpty() &&
        object->HitTest(world.x, world.y, true) != -1) {
        cursor = object->Cursor();
    }
    m_host.ShowToolCursor(cursor);
}

void View2DToolMachine::ClickOnSelectionBox(int wx, int wy) {
    ToolBox& box = m_doc.tools.selectionBox;
    if (!box.IsEmpty() && box.HitTest(wx, wy, false) != -1) {
        box.CycleHandleMode();
        RedrawEverywhere();
    }
}

void View2DToolMachine::LeftUp(int x, int y, ToolKeys) {
    DocumentTools& tools = m_doc.tools;
    const bool wasDown = m_leftDown;
    m_leftDown = false;
    const int tool = Tool();
    ToolObject* object = Prepare(tool);
    const PixelPoint world = m_host.ToolTransform().ClientToWorld(x, y);
    if (Dragging()) {
        if (object) {
            object->EndDrag(true);
        }
        tools.dragState = DocumentTools::DragNone;
        tools.dragOwner = nullptr;
        if (tool == TOOL_SELECTION && !tools.rubberBand) {
            if (!m_moved && !m_picked) {
                ClickOnSelectionBox(world.x, world.y);
            } else if (m_moved && !m_picked) {
                ApplySelectionTransform(m_doc);
            }
            SyncSelectionBox(m_doc);
        } else if (tool == TOOL_CAMERA) {
            const CameraList::Camera& camera = tools.cameras.Current();
            m_host.CameraPlaced(camera.position, camera.lookAt);
        }
        SyncToolStatus(m_doc);
        m_doc.UpdateStatusText();
        m_doc.ToolHandlesNotify(m_host.DocumentView(), 2);
    } else if (wasDown && tool == TOOL_SELECTION && !m_picked && !m_moved) {
        ClickOnSelectionBox(world.x, world.y);
    }
    RedrawEverywhere();
}

void View2DToolMachine::RightDown() {
    if (Tool() == TOOL_MAGNIFY) {
        m_host.ZoomBy(kMagnifyOut);
    }
}

bool View2DToolMachine::Enter(bool shift) {
    DocumentTools& tools = m_doc.tools;
    const int tool = Tool();
    if (tool == TOOL_SELECTION && tools.rubberBand && tools.dragState == DocumentTools::DragNone) {
        const BoundBox band = tools.selectionBox.Bounds();
        tools.rubberBand = false;
        tools.selectionBox.SetRubberBand(false);
        SelectInBand(m_doc, band, shift);
        tools.dragState = DocumentTools::DragNone;
        SyncSelectionBox(m_doc);
        RedrawEverywhere();
        return true;
    }
    if ((tool == TOOL_BLOCK && !tools.blockBox.IsEmpty()) ||
        (tool == TOOL_ENTITY && !tools.marker.IsEmpty())) {
        CreateObjectWithTool(m_doc, tool);
        m_doc.UpdateStatusText();
        RedrawEverywhere();
        return true;
    }
    return false;
}

bool View2DToolMachine::Escape() {
    DocumentTools& tools = m_doc.tools;
    const int tool = Tool();
    ToolObject* object = Prepare(tool);
    if (tools.dragState != DocumentTools::DragNone) {
        if (object) {
            object->EndDrag(false);
        }
        const bool bandBeingDrawn = tools.rubberBand && tools.dragState == DocumentTools::DragNew;
        tools.dragState = DocumentTools::DragNone;
        tools.dragOwner = nullptr;
        m_leftDown = false;
        if (bandBeingDrawn) {
            DropRubberBand();
        }
    } else if (tools.rubberBand) {
        DropRubberBand();
    } else if (tool == TOOL_BLOCK && !tools.blockBox.IsEmpty()) {
        tools.blockBox.Reset();
    } else if (tool == TOOL_ENTITY && !tools.marker.IsEmpty()) {
        tools.marker.Reset();
    } else {
        return false;
    }
    if (tool == TOOL_SELECTION) {
        SyncSelectionBox(m_doc);
    }
    SyncToolStatus(m_doc);
    m_doc.UpdateStatusText();
    RedrawEverywhere();
    return true;
}
