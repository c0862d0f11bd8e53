#pragma once

#include "render/RayPick3D.h"

#include <vector>

class CMapDoc;
class View3DModel;

// What a left click in the 3D view does with the meshes under the pointer.
namespace View3DPicking {

// The meshes under pixel (x, y) of a view width x height pixels, nearest first. Nothing
// before the view is ready.
std::vector<PickHit3D> HitsAt(const View3DModel& model, float x, float y, int width, int height);

// Object picking: the pick list becomes the top-level owner of every hit object, nearest
// first, each once. When it is not empty the selection is cleared (unless add is set) and the
// first entry selected; the result says whether anything was picked. Holding the button then
// steps through the list with CMapDoc::PickNext.
bool PickObjects(CMapDoc& document, const std::vector<PickHit3D>& hits, bool add);

// Texture application: the nearest hit's face, when it belongs to a solid, becomes the face
// selection (add toggles it in or out of the selection instead); with wholeSolid every face of
// that solid is selected (added to the selection with add). The face
// properties receive the new selection. False when the nearest hit is no solid's face.
bool PickFaces(CMapDoc& document, const std::vector<PickHit3D>& hits, bool add, bool wholeSolid);

} // namespace View3DPicking
