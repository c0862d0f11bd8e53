#include "formats/DeferredSolids.h"

#include "common/EditorContext.h"
#include "formats/MapResults.h"
#include "formats/MapTextStream.h"
#include "formats/SolidDiagnosis.h"
#include "mapobjects/MapSolid.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {
// Moves the records of from, up to index end (at most its size), onto the end of to.
void MoveRecords(ErrorList& from, std::size_t& taken, std::size_t end, ErrorList& to) {
    end = std::min(end, from.size());
    for (; taken < end; ++taken) {
        to.push_back(std::move(from[taken]));
    }
}
} // namespace

void DeferSolidBuild(MapTextStream& stream, CMapSolid& solid, int firstLine) {
    stream.deferredSolids.push_back(
        DeferredSolid{&solid, firstLine, stream.errors.size(), Editor().errors.size()});
}

int FinishMapSolid(MapTextStream& stream, CMapSolid& solid, int firstLine,
                   const SolidBuildOutcome& outcome) {
    for (const std::string& line : outcome.messages) {
        Editor().messages.AddLine(MessageLog::Error, "%s", line.c_str());
    }
    if (!outcome.built) {
        solid.RecordBuildFailure();
        const std::string reason =
            "a solid was not loaded: " + DescribeUnbuildableSolid(outcome.planesBefore, solid);
        stream.ParseErrorAt(firstLine, reason.c_str());
        return MAP_PARSE_ERROR;
    }
    // Kept as the file has it (its lines are written back unchanged), but the user is told:
    // it shows as a huge solid and will not compile.
    if (!outcome.closed) {
        stream.ParseErrorAt(firstLine,
                            "a solid's faces leave it open on some side; it was "
                            "loaded as it is and reaches out to the edge of the map",
                            solid.ObjectId());
    }
    solid.UpdateContentsFromTexture();
    for (int i = 0; i < solid.FaceCount(); ++i) {
        solid.Face(i).SetDisplayColor(solid.GetColor());
    }
    solid.SetNeedsRebuild(true);
    return MAP_OK;
}

void BuildDeferredSolids(MapTextStream& stream, CMapClass& root) {
    const std::vector<DeferredSolid> deferred = std::move(stream.deferredSolids);
    stream.deferredSolids.clear();
    if (deferred.empty()) {
        return;
    }
    std::vector<CMapSolid*> solids;
    solids.reserve(deferred.size());
    for (const DeferredSolid& entry : deferred) {
        solids.push_back(entry.solid);
    }
    const std::vector<SolidBuildOutcome> outcomes = BuildSolidsFromPlanes(solids);

    // The error lists are built again with each solid's records where its read left off.
    ErrorList& editorErrors = Editor().errors;
    ErrorList streamRest = std::move(stream.errors);
    stream.errors.clear();
    const std::size_t editorStart = std::min(deferred.front().editorErrors, editorErrors.size());
    ErrorList editorRest(
        std::make_move_iterator(editorErrors.begin() + static_cast<std::ptrdiff_t>(editorStart)),
        std::make_move_iterator(editorErrors.end()));
    editorErrors.resize(editorStart);
    std::size_t streamTaken = 0;
    std::size_t editorTaken = 0;

    std::vector<CMapClass*> parents;
    for (std::size_t i = 0; i < deferred.size(); ++i) {
        const DeferredSolid& entry = deferred[i];
        MoveRecords(streamRest, streamTaken, entry.streamErrors, stream.errors);
        MoveRecords(editorRest, editorTaken,
                    std::max(entry.editorErrors, editorStart) - editorStart, editorErrors);
        CMapSolid* solid = entry.solid;
        CMapClass* parent = solid->Parent();
        if (parent && parent != &root && (parents.empty() || parents.back() != parent)) {
            parents.push_back(parent);
        }
        if (FinishMapSolid(stream, *solid, entry.firstLine, outcomes[i]) == MAP_PARSE_ERROR) {
            ++stream.droppedSolids;
            // It was added to its parent while read, so an undo history that was recording
            // may know it: the history takes it (one that records nothing deletes it).
            if (parent) {
                parent->RemoveChild(solid, false);
            }
            Editor().ActiveHistory().KeepForDestruction(solid);
        }
    }
    MoveRecords(streamRest, streamTaken, streamRest.size(), stream.errors);
    MoveRecords(editorRest, editorTaken, editorRest.size(), editorErrors);

    for (CMapClass* parent : parents) {
        parent->CalcBounds(false);
    }
    root.CalcBounds(false);
}
