#pragma once

#include "tools/ObjectTool.h"
#include "tools/ToolIcon.h"

// The Block Creation tool: a drag draws the block box, its handles resize it, Enter (or the
// Create object command) makes the new-object bar's solid fill it, Escape drops it.
class BlockTool : public ObjectTool {
public:
    bool Key(ToolContext& context, ToolKey key, ToolKeys keys) override;
    ToolObject* Object(CMapDoc& doc) override;
    static void DrawIcon(ToolIconCanvas& canvas);

protected:
    int ExistingDragState() const override;
};

// The Entity Creation tool: a click places the marker, Enter makes a point entity of the
// new-object bar's class there, Escape drops the marker.
class EntityTool : public ObjectTool {
public:
    bool Key(ToolContext& context, ToolKey key, ToolKeys keys) override;
    ToolObject* Object(CMapDoc& doc) override;
    static void DrawIcon(ToolIconCanvas& canvas);

protected:
    ToolCursor IdleCursor() const override { return ToolCursor::Entity; }
};
