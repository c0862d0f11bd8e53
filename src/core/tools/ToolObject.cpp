#include "tools/ToolObject.h"

#include <algorithm>

namespace {

// Half the size of handles and camera discs, plus one pixel for the pen.
constexpr int kShapeReach = 5;

} // namespace

PixelRect ToolDrawing::Bounds() const {
    PixelRect r;
    bool any = false;
    for (const ToolShape& shape : shapes) {
        const int reach =
            (shape.kind == ToolShape::Outline || shape.kind == ToolShape::Line) ? 1 : kShapeReach;
        for (const PixelPoint& p : shape.points) {
            const PixelRect around{p.x - reach, p.y - reach, p.x + reach, p.y + reach};
            if (!any) {
                r = around;
                any = true;
            } else {
                r = {std::min(r.left, around.left), std::min(r.top, around.top),
                     std::max(r.right, around.right), std::max(r.bottom, around.bottom)};
            }
        }
    }
    return r;
}

bool ToolDrawing::operator==(const ToolDrawing& other) const {
    if (shapes.size() != other.shapes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const ToolShape& a = shapes[i];
        const ToolShape& b = other.shapes[i];
        if (a.kind != b.kind || a.xorColor != b.xorColor || a.dotted != b.dotted ||
            a.points != b.points) {
            return false;
        }
    }
    return true;
}
