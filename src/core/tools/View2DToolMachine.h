#pragma once

#include "geometry/Vector.h"
#include "render/View2DTransform.h"
#include "tools/ToolObject.h"

#include <string>

class CMapDoc;
class MapDocView;

// What the mouse state machine of a 2D view needs from the view it runs in.
class ToolViewHost {
public:
    virtual ~ToolViewHost() = default;
    virtual View2DTransform ToolTransform() const = 0;
    // A client pixel as a 3D point (the other coordinates from the document's other views).
    virtual Vector ClickTo3D(int x, int y) const = 0;
    virtual void ZoomBy(float factor) = 0;
    virtual void ShowToolCursor(ToolCursor cursor) = 0;
    // The tool feedback of this view changed and must be drawn again.
    virtual void ToolFeedbackChanged() = 0;
    // The Camera tool placed or moved a camera: the 3D views take it.
    virtual void CameraPlaced(const Vector& position, const Vector& lookAt) = 0;
    virtual void ShowToolStatus(const std::string& text) = 0;
    // The document's view this host is (never told to redraw by its own drags twice).
    virtual MapDocView* DocumentView() = 0;
};

// Modifier keys and buttons of a mouse or key event.
struct ToolKeys {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// The mouse state machine of one 2D view: picking, the rubber band, dragging the selection
// box, drawing the block box, placing the entity marker and cameras, and Magnify. Positions
// are client pixels; the document's tool objects keep the shapes.
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

    // A drag of this view is in progress.
    bool Dragging() const;
    // The active tool object prepared for this view (null with Magnify).
    ToolObject* ActiveObject();
    int Tool() const;

private:
    ToolObject* Prepare(int tool);
    void DropRubberBand();
    void RedrawEverywhere();
    void ClickOnSelectionBox(int wx, int wy);

    CMapDoc& m_doc;
    ToolViewHost& m_host;
    int m_pressX = 0;
    int m_pressY = 0;
    bool m_leftDown = false;
    bool m_moved = false;
    bool m_picked = false;
};
