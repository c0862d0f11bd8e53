#pragma once

#include "render/View2DTransform.h"

// Which pop-up menu a right click in a 2D view opens.
enum class View2DMenu { None, Selection, Creation, View };

struct View2DMenuState {
    bool panning = false;
    bool dragging = false;
    bool insideClient = true;
    int tool = 0;
    bool selectionEmpty = true;
    bool rubberBandPending = false;
    bool hitsSelection = false;
    bool blockBoxDrawn = false;
    bool hitsBlockBox = false;
    bool entityMarkerPlaced = false;
    bool hitsEntityMarker = false;
};

// No menu while panning, during a tool drag, outside the client area or with Magnify. The
// selection tool with a selection (and no rubber band) offers the selection menu on the
// selection box and nothing elsewhere; the block tool with a box and the entity tool with a
// marker offer the creation menu on it and nothing elsewhere; all other cases the view menu.
View2DMenu ChooseView2DMenu(const View2DMenuState& state);

// Whether client pixel (x, y) lies in the box's rectangle grown by `grow` pixels.
bool PixelHitsBox(const View2DTransform& transform, const BoundBox& box, int x, int y, int grow);
// Whether the world point (h, v) lies within trunc(6 / zoom) world units of the marker on
// both of the view's axes.
bool HitsEntityMarker(const View2DTransform& transform, const Vector& marker, int h, int v);
