#pragma once

#include "formats/FileResult.h"
#include "formats/RmfStream.h"
#include "mapobjects/EditGameClass.h"

#include <optional>
#include <string_view>
#include <vector>

class CMapClass;
class CMapEntity;
class CMapFace;
class CMapSolid;
class CMapWorld;

// Reads an RMF file (versions 0.3 to the newest) into an empty world. Data that is not RMF
// of a known version, or corrupt anywhere, fails the read as a whole.
class RmfReader {
public:
    static FileResult Read(CMapWorld& world, std::string_view data);

private:
    explicit RmfReader(std::string_view data);

    // The kind of the failure, none when the world was read.
    std::optional<FileDiagnosticKind> ReadWorld(CMapWorld& world);
    // The record body every object shares: visgroups, colour, children.
    bool ReadObject(CMapClass& object);
    bool ReadSolid(CMapSolid& solid);
    bool ReadEntity(CMapEntity& entity);
    bool ReadFace(CMapFace& face);
    // The class name goes through SetClass of object (an entity's class change); angle,
    // spawn flags and pairs are stored as read, the pairs through SetKeyValue (the world's
    // "origin" as a pair of its own).
    bool ReadKeyValues(CEditGameClass& object, std::vector<CEditGameClass::KeyValue>& pairs,
                       bool isWorld);

    RmfStream m_stream;
    float m_version = 0.0f;
    FileResult m_result;
};

// Data that an RMF reader would refuse by its version but that starts like MAP text (an
// opening brace or a comment), as a MAP file given an .rmf name does.
bool LooksLikeMapText(std::string_view data);
