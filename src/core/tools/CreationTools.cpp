#include "tools/CreationTools.h"

#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "tools/DocumentTools.h"
#include "tools/ToolCommands.h"

namespace {

// Enter makes the object, Escape drops the shape; both only while there is one.
bool CreationKey(ToolContext& context, ToolKey key, ToolObject& object, int tool) {
    if (object.IsEmpty()) {
        return false;
    }
    if (key == ToolKey::Enter) {
        CreateObjectWithTool(context.doc, tool);
        context.doc.UpdateStatusText();
        context.RedrawEverywhere();
        return true;
    }
    if (key == ToolKey::Escape) {
        object.Reset();
        return true;
    }
    return false;
}

} // namespace

ToolObject* BlockTool::Object(CMapDoc& doc) {
    return &doc.Tools().blockBox;
}

int BlockTool::ExistingDragState() const {
    return DocumentTools::DragExisting;
}

bool BlockTool::Key(ToolContext& context, ToolKey key, ToolKeys) {
    return CreationKey(context, key, context.doc.Tools().blockBox, TOOL_BLOCK);
}

void BlockTool::DrawIcon(ToolIconCanvas& canvas) {
    // A dashed box with its four corner handles.
    canvas.SetFill({230, 230, 230});
    canvas.SetPen(kIconInk, 1.2f, true);
    canvas.Rect(4, 4, 16, 16);
    canvas.SetPen(kIconInk, 1.4f);
    canvas.SetFill(kIconInk);
    for (IconPoint corner :
         {IconPoint{4, 4}, IconPoint{20, 4}, IconPoint{20, 20}, IconPoint{4, 20}}) {
        canvas.Rect(corner.x - 1.5f, corner.y - 1.5f, 3, 3);
    }
}

ToolObject* EntityTool::Object(CMapDoc& doc) {
    return &doc.Tools().marker;
}

bool EntityTool::Key(ToolContext& context, ToolKey key, ToolKeys) {
    return CreationKey(context, key, context.doc.Tools().marker, TOOL_ENTITY);
}

void EntityTool::DrawIcon(ToolIconCanvas& canvas) {
    // A light bulb on its socket.
    canvas.SetFill({255, 210, 60});
    canvas.Ellipse(6, 3, 12, 12);
    canvas.SetFill({160, 160, 160});
    canvas.Rect(9, 15, 6, 5);
    canvas.Line({12, 20}, {12, 22});
}
