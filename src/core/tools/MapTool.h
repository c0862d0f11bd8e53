#pragma once

#include "geometry/Vector.h"
#include "render/View2DTransform.h"
#include "tools/ToolObject.h"

#include <string>

class CMapDoc;
class MapDocView;
class ToolIconCanvas;

// What a tool needs from the 2D view it runs in.
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

// The keys a 2D view offers its tool before it uses them itself.
enum class ToolKey { Enter, Escape, Tab, Backtab, Delete };

// The left button as one view saw it: where it went down and what happened since.
struct ToolPress {
    int x = 0;
    int y = 0;
    bool leftDown = false;
    bool moved = false;
    // The press picked objects (the selection tool's click).
    bool picked = false;
};

// One event of one 2D view: the document, the view and its press state.
struct ToolContext {
    CMapDoc& doc;
    ToolViewHost& host;
    // The view (an opaque key) the event came from; the document's drag owner.
    const void* view;
    ToolPress& press;

    View2DTransform Transform() const { return host.ToolTransform(); }
    PixelPoint World(int x, int y) const { return Transform().ClientToWorld(x, y); }
    // Gives a tool object the view, grid and snap it works with for the next step.
    void Prepare(ToolObject& object) const;
    // Redraws this view's feedback and tells the document's other views.
    void RedrawEverywhere() const;
    // A drag of the document's shared tool objects runs in this view.
    bool OwnsDrag() const;
};

// A tool of the 2D views: it takes the mouse and the keys the view offers, draws its feedback
// and says what it expects next. One object per document serves all of its 2D views. Positions
// are client pixels of the event's view.
class MapTool {
public:
    virtual ~MapTool() = default;

    // Called before every event and drawing of a view (the view may differ from the last).
    virtual void Prepare(ToolContext& context) { (void)context; }
    virtual void LeftDown(ToolContext& context, int x, int y, ToolKeys keys) = 0;
    virtual void Move(ToolContext& context, int x, int y, ToolKeys keys, bool leftDown) = 0;
    // press.leftDown still tells whether the press was seen by this view.
    virtual void LeftUp(ToolContext& context, int x, int y, ToolKeys keys) = 0;
    virtual void RightDown(ToolContext& context) { (void)context; }
    // True when the tool used the key.
    virtual bool Key(ToolContext& context, ToolKey key, ToolKeys keys) {
        (void)context;
        (void)key;
        (void)keys;
        return false;
    }
    // The feedback in the context's view.
    virtual ToolDrawing Draw(ToolContext& context) = 0;
    // Whether a drag of this tool runs in the context's view.
    virtual bool Dragging(const ToolContext& context) const { return context.OwnsDrag(); }
    // The tool is about to be left: a drag in progress ends without being kept.
    virtual void Cancel(CMapDoc& doc) = 0;
    // What the tool expects next, for the status bar; empty when it has nothing to say.
    virtual std::string Hint(const CMapDoc& doc) const {
        (void)doc;
        return {};
    }
    // The document's shared tool object this tool works with, if any.
    virtual ToolObject* Object(CMapDoc& doc) {
        (void)doc;
        return nullptr;
    }
};
