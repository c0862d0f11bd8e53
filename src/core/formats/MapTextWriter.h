#pragma once

#include "formats/FileResult.h"
#include "formats/MapTextStream.h"
#include "formats/OutputBuffer.h"
#include "mapobjects/MapDialect.h"

#include <optional>
#include <string>

class CEditGameClass;
class CMapClass;
class CMapEntity;
class CMapFace;
class CMapSolid;
class CMapWorld;
class FaceLineWriter;

struct MapWriteOptions {
    // Objects that fail the visibility test under the world's filter are not written (with
    // everything inside them).
    bool visibleOnly = false;
    // The value of the world's "wad" line.
    std::string wad;
    // A "//" comment line written before the map (without its line feed); none when empty.
    std::string header;
    // The dialect of the face lines; by default the one the map was read in.
    std::optional<MapDialect> dialect;
};

// Writes a world as MAP text: the world's keys and solids (those inside groups included),
// then every entity with its solids. Faces a standard line cannot give exactly are reported
// in the result; a sink that fails makes the result a failure.
class MapTextWriter {
public:
    static FileResult Write(const CMapWorld& world, OutputBuffer::Sink sink,
                            const MapWriteOptions& options);

private:
    MapTextWriter(const CMapWorld& world, OutputBuffer::Sink sink, const MapWriteOptions& options);

    bool WriteWorld();
    // False on a sink error.
    bool WriteSolid(const CMapSolid& solid);
    bool WriteEntity(const CMapEntity& entity);
    void WriteFace(const CMapFace& face, int index, std::uint32_t solidId);
    // The keyvalue lines: class, angle, spawn flags, the pairs; then "wad" for the world
    // (isWorld, in place of the world's own "wad" pair) and "origin" for a point entity
    // (pointEntity non-null).
    void WriteKeyValues(const CEditGameClass& object, bool isWorld, const CMapEntity* pointEntity);
    // The solids of parent, those inside its groups included, skipping entities.
    bool WriteSolidsOf(const CMapClass& parent);
    // The entities of parent, those inside its groups included.
    bool WriteEntitiesOf(const CMapClass& parent);
    bool ShouldWrite(const CMapClass& object) const;

    const CMapWorld& m_world;
    const MapWriteOptions& m_options;
    MapDialect m_dialect;
    const FaceLineWriter& m_faceWriter;
    MapTextStream m_stream;
    FileResult m_result;
};
