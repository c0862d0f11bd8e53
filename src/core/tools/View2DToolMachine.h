#pragma once

#include "tools/MapTool.h"

class CMapDoc;

// The mouse and keys of one 2D view, handed to the document's current tool with this view's
// press state. The rubber band and a drag of the shared tool objects belong to the document;
// Escape ends them whatever the tool.
class View2DToolMachine {
public:
    View2DToolMachine(CMapDoc& doc, ToolViewHost& host);

    void LeftDown(int x, int y, ToolKeys keys);
    void Move(int x, int y, ToolKeys keys, bool leftDown);
    void LeftUp(int x, int y, ToolKeys keys);
    void RightDown();
    // Enter and Escape; true when the tool used the key.
    bool Enter(bool shift);
    bool Escape();
    // Any other key the view offers the tool first (Tab, Delete); true when it was used.
    bool Key(ToolKey key, ToolKeys keys);

    // A drag of this view is in progress.
    bool Dragging() const;
    // The current tool's feedback in this view.
    ToolDrawing Draw();
    // The document's current tool (null for a number no tool has).
    MapTool* CurrentTool() const;
    int Tool() const;

private:
    ToolContext Context() const;

    CMapDoc& m_doc;
    ToolViewHost& m_host;
    mutable ToolPress m_press;
};
