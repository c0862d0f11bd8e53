#pragma once

#include "common/BackgroundWork.h"
#include "formats/FaceFactory.h"
#include "formats/FileResult.h"
#include "formats/MapTextStream.h"
#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapDialect.h"

#include <memory>
#include <string_view>
#include <vector>

class CMapClass;
class CMapEntity;
class CMapFace;
class CMapSolid;
class CMapWorld;
class Progress;

// Reads MAP text into an empty world: the world's keys and solids, then the entities, in
// any dialect the face lines are in (each line's own). Faulty lines and solids are reported
// in the result and the rest of the map still loads; the world keeps the dialect the file
// is in.
class MapTextReader {
public:
    // progress (may be null) gets 0-100.
    static FileResult Read(CMapWorld& world, std::string_view text, Progress* progress);

private:
    // Solids read and waiting for a worker, with their face lines.
    struct SolidBlock;

    MapTextReader(std::string_view text, Progress* progress);
    ~MapTextReader();

    void ReadWorld(CMapWorld& world);
    void ReadEntity(CMapEntity& entity);
    // Reads the keyvalue lines into object; pairs is the object's own pair array. isWorld:
    // the "wad" value is kept as a pair and in the result; other entities' "wad" keys are
    // dropped.
    void ReadKeyValues(CEditGameClass& object, std::vector<CEditGameClass::KeyValue>& pairs,
                       bool isWorld);
    // Reads "{"-blocks as solids of parent until another line comes; returns how many were
    // read (dropped ones included). handOver: each solid may go to the workers once read.
    int ReadSolidList(CMapClass& parent, bool handOver);
    // Lets the solids read so far go to the workers (they are in their place): from then on
    // the reader leaves them alone until BuildReadSolids. Full blocks go at once.
    void HandOverReadSolids();
    void HandOverFillingBlock();
    // Reads a solid's lines, keeping its face lines for a worker; false when it was dropped.
    bool ReadSolid(CMapSolid& solid, CMapClass& parent);
    // On a worker: reads the face lines of the block's solids first to last into their faces
    // and builds their polygons. dialectLines counts the face lines of each dialect.
    void ReadAndBuildSolids(SolidBlock& block, std::size_t first, std::size_t last,
                            std::vector<int>& dialectLines);
    // Waits for every solid to be read and built, then reports each solid as a read that
    // built it at its closing brace would have (in read order, its diagnostics where its
    // lines are), and drops the solids whose planes make none. The bounds of their entities
    // and of the world are computed again.
    void BuildReadSolids(CMapWorld& world);
    // Reads the line that closes an object; anything but "}" is put back and reported.
    void ReadClosingBrace(FileDiagnosticKind fileEnds, FileDiagnosticKind braceExpected);
    // The dialect of the file: the face lines', else the world's "mapversion" or the
    // "// Format:" comment.
    MapDialect DialectOf(const CMapWorld& world) const;

    void Report(FileDiagnosticKind kind, std::uint32_t objectId = 0) {
        m_result.Add(kind, m_stream.LineNumber(), objectId);
    }

    MapTextStream m_stream;
    FileResult m_result;
    // Face lines read in each dialect, in the order of MapDialectFormats().
    std::vector<int> m_faceLines;
    // The world had no objects before this file: its objects are the solids and entities read,
    // in that order.
    bool m_worldWasEmpty = false;
    std::vector<const CMapClass*> m_entities;
    FaceModels m_models;
    // The faces the reader itself reads (those of solids with too many faces).
    FaceFactory m_faces{m_models};
    // Where a face of a solid with too many faces is read.
    std::unique_ptr<CMapFace> m_droppedFace;
    // The solids read, in blocks: the one being filled, then those handed over in order.
    std::unique_ptr<SolidBlock> m_filling;
    std::vector<std::unique_ptr<SolidBlock>> m_blocks;
    // Declared last: destroyed first, it waits for work still running on the blocks.
    BackgroundWork m_work;
};
