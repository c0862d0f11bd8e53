#include "render/View3DPicking.h"

#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapSolid.h"
#include "render/View3DModel.h"

namespace View3DPicking {

std::vector<PickHit3D> HitsAt(const View3DModel& model, float x, float y, int width, int height) {
    if (!model.IsReady()) {
        return {};
    }
    return PickMeshes(model.Meshes(), RayThroughPixel(model.Camera(), x, y, width, height));
}

bool PickObjects(CMapDoc& document, const std::vector<PickHit3D>& hits, bool add) {
    document.ClearPickList();
    for (const PickHit3D& hit : hits) {
        document.AddToPickList(hit.object->GetSelectionTarget(false));
    }
    if (document.PickList().empty()) {
        return false;
    }
    if (!add) {
        document.SelectObject(nullptr, SELECT_CLEAR);
    }
    // From "nothing current", the next entry is the first one: it is selected and the view
    // and property updates go out once.
    document.PickNext();
    return true;
}

bool PickFaces(CMapDoc& document, const std::vector<PickHit3D>& hits, bool add, bool wholeSolid) {
    if (hits.empty() || !hits.front().object->IsType(kTypeMapSolid)) {
        return false;
    }
    auto& solid = static_cast<CMapSolid&>(*hits.front().object);
    const int picked = hits.front().faceIndex;
    if (picked < 0 || picked >= solid.FaceCount()) {
        return false;
    }
    if (wholeSolid) {
        // Every face ends up selected, whether or not some already were.
        for (int i = 0; i < solid.FaceCount(); ++i) {
            const int flags = (i == 0 && !add) ? SELECT_ADD | SELECT_CLEAR : SELECT_ADD;
            document.SelectFace(&solid.Face(i), &solid, flags);
        }
    } else {
        // A plain click selects only this face (even one already selected); Ctrl adds it, or
        // takes it out again.
        document.SelectFace(&solid.Face(picked), &solid,
                            add ? SELECT_TOGGLE : SELECT_ADD | SELECT_CLEAR);
    }
    document.SelectFace(nullptr, nullptr, SELECT_UPDATE);
    return true;
}

} // namespace View3DPicking
