#include "tools/View2DToolMachine.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "tools/DocumentTools.h"
#include "tools/SelectionTool.h"
#include "tools/ToolCommands.h"

void ToolContext::Prepare(ToolObject& object) const {
    ToolView toolView;
    toolView.transform = host.ToolTransform();
    toolView.gridSize = doc.GridSize();
    toolView.snap = doc.SnapToGrid();
    object.SetView(toolView);
}

void ToolContext::RedrawEverywhere() const {
    host.ToolFeedbackChanged();
    doc.ToolHandlesNotify(host.DocumentView(), 2);
}

bool ToolContext::OwnsDrag() const {
    return doc.Tools().dragState != DocumentTools::DragNone && doc.Tools().dragOwner == view;
}

View2DToolMachine::View2DToolMachine(CMapDoc& doc, ToolViewHost& host) : m_doc(doc), m_host(host) {}

ToolContext View2DToolMachine::Context() const {
    return ToolContext{m_doc, m_host, this, m_press};
}

int View2DToolMachine::Tool() const {
    return m_doc.ActiveTool();
}

MapTool* View2DToolMachine::CurrentTool() const {
    return m_doc.Tools().Find(Tool());
}

bool View2DToolMachine::Dragging() const {
    MapTool* tool = CurrentTool();
    ToolContext context = Context();
    return tool ? tool->Dragging(context) : context.OwnsDrag();
}

ToolDrawing View2DToolMachine::Draw() {
    MapTool* tool = CurrentTool();
    if (!tool) {
        return {};
    }
    ToolContext context = Context();
    return tool->Draw(context);
}

void View2DToolMachine::LeftDown(int x, int y, ToolKeys keys) {
    m_press = ToolPress{x, y, true, false, false};
    if (MapTool* tool = CurrentTool()) {
        ToolContext context = Context();
        tool->Prepare(context);
        tool->LeftDown(context, x, y, keys);
    }
    ShowToolHint(m_doc);
}

void View2DToolMachine::Move(int x, int y, ToolKeys keys, bool leftDown) {
    if (m_press.leftDown) {
        m_press.moved = true;
    }
    if (MapTool* tool = CurrentTool()) {
        ToolContext context = Context();
        tool->Prepare(context);
        tool->Move(context, x, y, keys, leftDown);
    }
}

void View2DToolMachine::LeftUp(int x, int y, ToolKeys keys) {
    if (MapTool* tool = CurrentTool()) {
        ToolContext context = Context();
        tool->Prepare(context);
        tool->LeftUp(context, x, y, keys);
    }
    m_press.leftDown = false;
    ShowToolHint(m_doc);
}

void View2DToolMachine::RightDown() {
    if (MapTool* tool = CurrentTool()) {
        ToolContext context = Context();
        tool->RightDown(context);
    }
    ShowToolHint(m_doc);
}

bool View2DToolMachine::Enter(bool shift) {
    ToolKeys keys;
    keys.shift = shift;
    return Key(ToolKey::Enter, keys);
}

bool View2DToolMachine::Key(ToolKey key, ToolKeys keys) {
    MapTool* tool = CurrentTool();
    if (key == ToolKey::Escape) {
        return Escape();
    }
    if (!tool) {
        return false;
    }
    ToolContext context = Context();
    const bool used = tool->Key(context, key, keys);
    ShowToolHint(m_doc);
    return used;
}

bool View2DToolMachine::Escape() {
    DocumentTools& tools = m_doc.Tools();
    MapTool* tool = CurrentTool();
    ToolContext context = Context();
    if (tool) {
        tool->Prepare(context);
    }
    if (tools.dragState != DocumentTools::DragNone) {
        if (ToolObject* object = tool ? tool->Object(m_doc) : nullptr) {
            object->EndDrag(false);
        }
        const bool bandBeingDrawn = tools.rubberBand && tools.dragState == DocumentTools::DragNew;
        tools.dragState = DocumentTools::DragNone;
        tools.dragOwner = nullptr;
        m_press.leftDown = false;
        if (bandBeingDrawn) {
            SelectionTool::DropRubberBand(context);
        }
    } else if (tools.rubberBand) {
        SelectionTool::DropRubberBand(context);
    } else if (!tool || !tool->Key(context, ToolKey::Escape, {})) {
        return false;
    }
    if (tool) {
        tool->Prepare(context);
    }
    SyncToolStatus(m_doc);
    m_doc.UpdateStatusText();
    context.RedrawEverywhere();
    ShowToolHint(m_doc);
    return true;
}
