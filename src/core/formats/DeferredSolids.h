#pragma once

#include <cstddef>

class CMapClass;
class CMapSolid;
class MapTextStream;
struct SolidBuildOutcome;

// Solids read from MAP text get their polygons built together once the whole text is read,
// on every processor. What the reader shows and records for each solid (geometry messages,
// errors, dropped solids) comes out in the order, and with the text, of a read that builds
// each solid as soon as its closing brace is read.

// A solid read whose build is left for BuildDeferredSolids: firstLine is its opening line,
// the sizes say where its errors go in the stream's and the editor's error lists.
struct DeferredSolid {
    CMapSolid* solid = nullptr;
    int firstLine = 0;
    std::size_t streamErrors = 0;
    std::size_t editorErrors = 0;
};

// Leaves the build of solid, just read (and about to be added to its parent), for later.
void DeferSolidBuild(MapTextStream& stream, CMapSolid& solid, int firstLine);

// Finishes a solid read from MAP text after its build: shows the build's messages, reports a
// solid that could not be built (MAP_PARSE_ERROR: the caller drops it) or is open, and sets
// its contents and colours.
int FinishMapSolid(MapTextStream& stream, CMapSolid& solid, int firstLine,
                   const SolidBuildOutcome& outcome);

// Builds every deferred solid of the stream, then finishes each in the order read: solids
// that could not be built are taken from their parents, counted as dropped and deleted. The
// bounds of the solids' parents and of root, the object read, are computed again.
void BuildDeferredSolids(MapTextStream& stream, CMapClass& root);
