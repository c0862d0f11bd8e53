#pragma once

#include "common/ErrorList.h"
#include "formats/DeferredSolids.h"
#include "formats/FaceFactory.h"
#include "formats/OutputBuffer.h"
#include "formats/SolidDiagnosis.h"
#include "mapobjects/MapDialect.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CMapWorld;
class Progress;

// The stream the MAP readers and writers of the map objects work on.
//
// Reading goes line by line over the whole text in memory with a one-line push-back slot:
// white space and blank lines before a line are skipped, lines starting with "//" are
// comments, and the line ends at its line feed (or at the end of the text) without its
// trailing white space. The stream also keeps what the readers found: the parse-error flag,
// the dropped solids and the world's "wad" value.
//
// Writing appends text that goes to a sink in large pieces.
class MapTextStream {
public:
    // Reading text; displayName names it in messages. progress may be null.
    MapTextStream(std::string_view text, std::string displayName, Progress* progress);
    // Writing to sink; displayName names the target in messages.
    MapTextStream(OutputBuffer::Sink sink, std::string displayName);

    bool IsLoading() const { return m_loading; }
    const std::string& DisplayName() const { return m_displayName; }

    // Reading. False at the end of the text.
    bool ReadLine(std::string_view& line);
    bool PeekLine(std::string_view& line);
    // Puts line back; the next ReadLine returns it. The slot holds one line.
    void PushBack(std::string_view line);
    // The file line number of the line read last (1 for the first line).
    int LineNumber() const { return m_lineNumber; }
    // Sets the parse-error flag and adds "error parsing <name>, line <n>: <what>" to this
    // read's errors and the editor's error list, for the line read last or the given line.
    void ParseError(const char* what, std::uint32_t objectId = 0);
    void ParseErrorAt(int lineNumber, const char* what, std::uint32_t objectId = 0);
    // Moves the progress to the share of the text read so far.
    void ReportProgress();
    FaceFactory& Faces() { return m_faces; }
    // Where a solid collects its faces while they are read (kept between solids so that
    // each solid allocates its face list once).
    std::vector<CMapFace>& FaceScratch() { return m_faceScratch; }
    // The plane points of the solid being built, kept to explain a solid that fails.
    FacePlanePoints& PlaneScratch() { return m_planeScratch; }

    bool parseErrors = false;
    int droppedSolids = 0;
    // The errors of this read alone (the editor's error list keeps those of every read).
    ErrorList errors;
    std::string wad;
    // Face lines read in each dialect, and the value of a "// Format:" comment, if any.
    int standardFaceLines = 0;
    int axisFaceLines = 0;
    std::string formatComment;
    bool hasFormatComment = false;
    // Faces whose texture axes lay no texture (told in the message window).
    int oddAxisFaces = 0;
    // While set, solids read leave their build to BuildDeferredSolids, which builds them all
    // at once; deferredSolids lists them in the order read.
    bool deferSolidBuilding = false;
    std::vector<DeferredSolid> deferredSolids;

    // Writing.
    std::string& Out() { return m_output.Text(); }
    // Ends a solid or entity: hands large output to the sink. False once writing failed.
    bool EndObject() {
        m_output.FlushIfLarge();
        return !m_output.Failed();
    }
    bool Flush() { return m_output.Flush(); }
    bool Failed() const { return m_output.Failed(); }

    // While set, objects that fail the visibility test under the filter of world are not
    // written (with everything inside them). The world sets itself here when it writes.
    bool visibleOnly = false;
    const CMapWorld* world = nullptr;
    // The "wad" value the world writes.
    std::string wadToWrite;
    // The dialect face lines are written in.
    MapDialect dialect = MapDialect::Standard;
    // Faces whose own axes a standard line cannot give (written with the nearest classic
    // projection), named for the message window; the solid being written names them.
    int inexactFaces = 0;
    std::vector<std::string> inexactFaceNames;
    std::uint32_t solidId = 0;
    int faceIndex = 0;

private:
    void SkipWhiteSpace();

    bool m_loading;
    std::string m_displayName;
    std::string_view m_text;
    std::size_t m_position = 0;
    int m_nextLineNumber = 1;
    int m_lineNumber = 0;
    bool m_hasPushBack = false;
    std::string_view m_pushBack;
    int m_pushBackLineNumber = 0;
    Progress* m_progress = nullptr;
    FaceFactory m_faces;
    std::vector<CMapFace> m_faceScratch;
    FacePlanePoints m_planeScratch;
    OutputBuffer m_output;
};
