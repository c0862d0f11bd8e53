#pragma once

#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapSolid.h"

#include <vector>

class CMapFace;

// The few changes the file readers make to map objects that the objects' own setters would
// make differently (recording undo, turning axes, validating): readers store what the file
// holds as it is. Writers need none of this: they see the map through const references.
class MapObjectAccess {
public:
    // The rotation number as the file gives it; the face's own axes are not turned.
    static void StoreRotation(CMapFace& face, double degrees);
    // Moves faces into the solid as its face list, each face owned by it.
    static void StoreFaces(CMapSolid& solid, std::vector<CMapFace>& faces);
    // The solid's face list, for a reader to fill in place; AdoptFaces once it is filled.
    static FaceList& FaceListOf(CMapSolid& solid) { return solid.m_faces; }
    static void AdoptFaces(CMapSolid& solid) { solid.AdoptFaces(); }
    // The pair list of an entity or the world, filled as the file gives it.
    static std::vector<CEditGameClass::KeyValue>& Pairs(CEditGameClass& object);
    // The visgroup memberships as the file gives them, without recording the object.
    static void StoreVisGroups(CMapClass& object, const VisGroupIds& ids);
    static void ResetBounds(CMapClass& object);
    static void StoreBounds(CMapClass& object, const BoundBox& bounds);
};
