#pragma once

#include "geometry/Vector.h"
#include "render/View2DTransform.h"

#include <cstdint>
#include <string>
#include <vector>

// The cursor that goes with a part of a tool's shape.
enum class ToolCursor { Arrow, Cross, SizeNS, SizeWE, SizeNESW, SizeNWSE, Magnify, Entity };

// Flags of UpdateDrag.
enum ToolDragFlags { TOOLDRAG_NO_SNAP = 0x4, TOOLDRAG_CONSTRAIN = 0x100 };

// The view a tool object works in for the next drawing, hit test or drag step.
struct ToolView {
    View2DTransform transform;
    int gridSize = 64;
    bool snap = true;
};

// One element of a tool's feedback, in client pixels. Colours are XOR colours: drawn by
// exclusive-or onto the view's picture, so on the white background they show as
// colour ^ white.
struct ToolShape {
    enum Kind {
        Outline, // closed polygon through points
        Line,    // segment points[0] to points[1]
        Square,  // filled 8 x 8 handle centred on points[0]
        Circle,  // filled 8 x 8 round handle centred on points[0]
        Disc,    // filled circle of radius 4 centred on points[0]
        Dot,     // filled 5 x 5 square centred on points[0] (a vertex handle)
    };
    Kind kind = Outline;
    std::vector<PixelPoint> points;
    std::uint32_t xorColor = 0; // 0xRRGGBB
    bool dotted = false;
};

struct ToolDrawing {
    std::vector<ToolShape> shapes;
    // The pixels the shapes cover (inclusive), empty when there are none.
    PixelRect Bounds() const;
    bool operator==(const ToolDrawing& other) const;
};

inline constexpr std::uint32_t kXorBase = 0xFFFFFF;
// The pen that shows as colour shown where it draws over the white background.
constexpr std::uint32_t XorPen(std::uint32_t shown) {
    return shown ^ kXorBase;
}

// The common interface of the document's tool objects (selection box, block box, entity
// marker, camera list). Coordinates x, y are whole world units on the view's horizontal and
// vertical axes.
class ToolObject {
public:
    virtual ~ToolObject() = default;

    void SetView(const ToolView& view) { m_view = view; }
    const ToolView& View() const { return m_view; }

    // The feedback as it looks now in the current view.
    virtual ToolDrawing Draw() const = 0;
    virtual bool IsEmpty() const = 0;
    virtual void Reset() = 0;
    virtual void UpdateDrag(int x, int y, int flags) = 0;
    // -1 or a part code; sets Cursor() for the part.
    virtual int HitTest(int x, int y, bool restrict) = 0;
    virtual bool StartDrag(int x, int y) = 0;
    virtual void EndDrag(bool commit) = 0;
    virtual void StartNewAt(const Vector& point) = 0;
    virtual std::string StatusText() const = 0;
    virtual bool IsDragging() const = 0;

    ToolCursor Cursor() const { return m_cursor; }

protected:
    ToolView m_view;
    ToolCursor m_cursor = ToolCursor::Arrow;
};
