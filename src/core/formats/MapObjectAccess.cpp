#include "formats/MapObjectAccess.h"

#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"

#include <iterator>

void MapObjectAccess::StoreRotation(CMapFace& face, double degrees) {
    face.m_rotation = degrees;
}

void MapObjectAccess::StoreFaces(CMapSolid& solid, std::vector<CMapFace>& faces) {
    solid.m_faces.clear();
    solid.m_faces.reserve(faces.size());
    std::move(faces.begin(), faces.end(), std::back_inserter(solid.m_faces));
    faces.clear();
    solid.AdoptFaces();
}

std::vector<CEditGameClass::KeyValue>& MapObjectAccess::Pairs(CEditGameClass& object) {
    return object.m_keyValues;
}

void MapObjectAccess::StoreVisGroups(CMapClass& object, const VisGroupIds& ids) {
    object.m_visGroups = ids;
}

void MapObjectAccess::ResetBounds(CMapClass& object) {
    object.m_bounds.ResetBounds();
}

void MapObjectAccess::StoreBounds(CMapClass& object, const BoundBox& bounds) {
    object.m_bounds = bounds;
}
