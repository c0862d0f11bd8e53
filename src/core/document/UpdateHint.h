#pragma once

#include "geometry/BoundBox.h"

#include <vector>

class CMapClass;

// Update flags sent from a document to its views.
enum UpdateFlags {
    UPDATE_REDRAW = 0x01,
    UPDATE_OBJECTS = 0x02,
    UPDATE_3D_ONLY = 0x04,
    UPDATE_2D_ONLY = 0x10,
    UPDATE_SCROLLBARS = 0x20,
};

// What changed: the objects concerned (not owned) and the box they occupy.
struct CUpdateHint {
    std::vector<CMapClass*> objects;
    BoundBox box;
};

// Selection flags of SelectObject and SelectFace.
enum SelectFlags {
    SELECT_TOGGLE = 0x01,
    SELECT_ADD = 0x02,
    SELECT_REMOVE = 0x04,
    SELECT_UPDATE = 0x08,
    SELECT_CLEAR = 0x10,
};
