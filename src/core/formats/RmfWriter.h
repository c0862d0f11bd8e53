#pragma once

#include "formats/FileResult.h"
#include "formats/OutputBuffer.h"
#include "formats/RmfStream.h"

class CEditGameClass;
class CMapClass;
class CMapEntity;
class CMapFace;
class CMapSolid;
class CMapWorld;

// Writes a world as RMF of the newest version: everything of the map, numbers exact. Values
// too long for an RMF string are cut and reported; a sink that fails makes the result a
// failure.
class RmfWriter {
public:
    static FileResult Write(const CMapWorld& world, OutputBuffer::Sink sink);

private:
    explicit RmfWriter(OutputBuffer::Sink sink);

    void WriteWorld(const CMapWorld& world);
    // False once the sink failed.
    bool WriteObject(const CMapClass& object);
    bool WriteChild(const CMapClass& child);
    void WriteFace(const CMapFace& face);
    void WriteKeyValues(const CEditGameClass& object);

    RmfStream m_stream;
    FileResult m_result;
};
