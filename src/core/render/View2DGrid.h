#pragma once

#include "render/View2DTransform.h"

#include <vector>

// One grid line as it ends up on screen: its client pixel (a row for horizontal lines, a
// column for vertical ones) and whether it is the line at world 0 (drawn black; all others
// light grey).
struct GridLine {
    int pixel = 0;
    bool origin = false;
    friend bool operator==(const GridLine&, const GridLine&) = default;
};

// The grid of a 2D view. Lines are laid out in pixel space with the origin at the scroll
// position: for each axis, from the multiple of the grid just before the client's first
// world value o ((o - g) / g x g, integer division) while below o plus the client size in
// world units plus two grid steps. Horizontal lines run from the pixel of the first
// vertical line's value to the pixel of the last, and vertical lines likewise.
//
// Lines are drawn in increasing order, horizontal ones first, so where several lines fall on
// the same pixel the last one's colour stays; the lists hold one entry per pixel with that
// colour, in increasing pixel order, limited to the clip rectangle.
struct GridLines {
    std::vector<GridLine> rows;
    std::vector<GridLine> columns;
    // Client x extent of every horizontal line and y extent of every vertical line.
    int rowFrom = 0;
    int rowTo = -1;
    int columnFrom = 0;
    int columnTo = -1;
};

GridLines ComputeGridLines(const View2DTransform& transform, int gridSize, const PixelRect& clip);
