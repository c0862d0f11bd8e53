#pragma once

#include "render/View2DTransform.h"

class CMapClass;
class CMapDoc;

// What the 2D tools do to a document.

// Gives the selection box the selection's bounds (unless it is a rubber band or dragged);
// handles are off for a single object that takes none (a point entity).
void SyncSelectionBox(CMapDoc& doc);

// Picks at world point (x, y) of a view: every visible solid with a face edge crossing the
// square of trunc(1 / zoom) world units (at least 1) around the point, and every point entity
// whose box holds the point, go into the pick list as their top-level objects. The first one
// is selected (after clearing the selection when clear is set). False when nothing was found;
// the selection is then only cleared when asked.
bool PickAt(CMapDoc& doc, const ViewAxes& axes, float zoom, int x, int y, bool clear);

// Whether the integer segment (x1, y1)-(x2, y2) touches the rectangle (edges included).
bool SegmentHitsRect(int x1, int y1, int x2, int y2, const PixelRect& rect);

// "Translation": the selection box's last drag (move, scale, rotate or shear) applied to
// every selected object as one undo step. Nothing happens when the drag changed nothing.
void ApplySelectionTransform(CMapDoc& doc);

// Adds to the selection every visible top-level object whose bounds overlap the band
// (strictly, on all three axes) or, with enclosedOnly, lie within it.
void SelectInBand(CMapDoc& doc, const BoundBox& band, bool enclosedOnly);

// Create object with the current tool: a solid (or prefab) of the new-object bar filling the
// block box ("New Object"), or a point entity of the bar's class at the marker ("New Item").
// "The box is empty." for a box flat on an axis. The new object is not selected. Null when
// nothing was made.
CMapClass* CreateObjectWithTool(CMapDoc& doc, int tool);

// Copies the block box and the marker into the document's status fields.
void SyncToolStatus(CMapDoc& doc);

// The tool is about to change: it ends what it was doing, and a drag in progress ends
// without being kept.
void CancelToolDrag(CMapDoc& doc, int tool);

// Shows what the current tool expects next in the message pane when that changed (always with
// force); a hint no longer given is taken away.
void ShowToolHint(CMapDoc& doc, bool force = false);
