#include "tools/ObjectTool.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "tools/DocumentTools.h"
#include "tools/ToolCommands.h"

void ObjectTool::Prepare(ToolContext& context) {
    if (ToolObject* object = Object(context.doc)) {
        context.Prepare(*object);
    }
}

int ObjectTool::ExistingDragState() const {
    return DocumentTools::DragNew;
}

void ObjectTool::BeginDrag(ToolContext& context, int state) {
    DocumentTools& tools = context.doc.Tools();
    if (tools.dragState == DocumentTools::DragNone || state == DocumentTools::DragExisting) {
        tools.dragState = state;
    }
    tools.dragOwner = context.view;
}

void ObjectTool::LeftDown(ToolContext& context, int x, int y, ToolKeys) {
    ToolObject* object = Object(context.doc);
    if (!object) {
        return;
    }
    const PixelPoint world = context.World(x, y);
    const bool empty = object->IsEmpty();
    if (empty || object->StartDrag(world.x, world.y)) {
        context.host.ShowToolCursor(ToolCursor::Cross);
        if (empty) {
            BeginDrag(context, DocumentTools::DragNew);
            object->StartNewAt(context.host.ClickTo3D(x, y));
            context.RedrawEverywhere();
        } else {
            BeginDrag(context, ExistingDragState());
        }
    }
}

void ObjectTool::Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) {
    DocumentTools& tools = context.doc.Tools();
    ToolObject* object = Object(context.doc);
    const PixelPoint world = context.World(x, y);
    if (context.OwnsDrag() && object) {
        int flags = context.doc.Services().options.rotateConstrain ? TOOLDRAG_CONSTRAIN : 0;
        if (keys.alt) {
            flags |= TOOLDRAG_NO_SNAP;
        }
        if (keys.shift && ShiftTogglesConstraint(context.doc)) {
            flags ^= TOOLDRAG_CONSTRAIN;
        }
        object->UpdateDrag(world.x, world.y, flags);
        const std::string status = object->StatusText();
        context.RedrawEverywhere();
        context.host.ShowToolStatus(status);
        return;
    }
    if (MoveStartsOther(context, x, y, keys, leftDown)) {
        return;
    }
    ToolCursor cursor = IdleCursor();
    if (tools.dragState == DocumentTools::DragNone && object && !object->IsEmpty() &&
        object->HitTest(world.x, world.y, true) != -1) {
        cursor = object->Cursor();
    }
    context.host.ShowToolCursor(cursor);
}

void ObjectTool::LeftUp(ToolContext& context, int x, int y, ToolKeys) {
    DocumentTools& tools = context.doc.Tools();
    ToolObject* object = Object(context.doc);
    const PixelPoint world = context.World(x, y);
    if (context.OwnsDrag()) {
        if (object) {
            object->EndDrag(true);
        }
        tools.dragState = DocumentTools::DragNone;
        tools.dragOwner = nullptr;
        DragEnded(context, world);
        SyncToolStatus(context.doc);
        context.doc.UpdateStatusText();
        context.doc.ToolHandlesNotify(context.host.DocumentView(), 2);
    } else {
        ReleasedWithoutDrag(context, world);
    }
    context.RedrawEverywhere();
}

ToolDrawing ObjectTool::Draw(ToolContext& context) {
    Prepare(context);
    ToolObject* object = Object(context.doc);
    return object ? object->Draw() : ToolDrawing{};
}

void ObjectTool::Cancel(CMapDoc& doc) {
    if (doc.Tools().dragState == DocumentTools::DragNone) {
        return;
    }
    if (ToolObject* object = Object(doc)) {
        object->EndDrag(false);
    }
}
