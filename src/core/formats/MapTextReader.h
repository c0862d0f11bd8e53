#pragma once

#include "formats/FileResult.h"
#include "formats/MapTextStream.h"
#include "mapobjects/EditGameClass.h"
#include "mapobjects/MapDialect.h"
#include "mapobjects/MapSolid.h"

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
    MapTextReader(std::string_view text, Progress* progress);

    void ReadWorld(CMapWorld& world);
    void ReadEntity(CMapEntity& entity);
    // Reads the keyvalue lines into object; pairs is the object's own pair array. isWorld:
    // the "wad" value is kept as a pair and in the result; other entities' "wad" keys are
    // dropped.
    void ReadKeyValues(CEditGameClass& object, std::vector<CEditGameClass::KeyValue>& pairs,
                       bool isWorld);
    // Reads "{"-blocks as solids of parent until another line comes; returns how many were
    // read (dropped ones included). handOver: each solid goes to the builders once read.
    int ReadSolidList(CMapClass& parent, bool handOver);
    // Hands the solids read since the last call to the builders: from then on the reader
    // leaves them alone until BuildReadSolids.
    void HandOverReadSolids();
    // False when the solid was dropped.
    bool ReadSolid(CMapSolid& solid);
    // Builds the polygons of every solid read, on every processor: solids are built while
    // the text after them is read, the rest once the whole text is read. Then it reports each solid
    // as a read that built it at its closing brace would have (in read order, its diagnostics where
    // its lines are), and drops the solids whose planes make none. The bounds of their entities and
    // of the world are computed again.
    void BuildReadSolids(CMapWorld& world);
    // Reads the face line text (which starts with "("): into a face appended to faces, or,
    // when faces is null (the solid has too many), into a face that is dropped.
    void ReadFace(std::string_view text, std::vector<CMapFace>* faces);
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
    // The solids read, waiting for BuildReadSolids: each with its "{" line and the number of
    // diagnostics reported before its end.
    struct ReadSolidEntry {
        CMapSolid* solid;
        int firstLine;
        std::size_t diagnosticsBefore;
    };
    std::vector<ReadSolidEntry> m_solidsRead;
    std::size_t m_solidsHandedOver = 0;
    SolidBuildQueue m_builds;
    // Where a face beyond the most a solid can have is read.
    std::unique_ptr<CMapFace> m_droppedFace;
};
