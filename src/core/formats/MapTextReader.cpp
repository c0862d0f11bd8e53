#include "formats/MapTextReader.h"

#include "mapobjects/MapServices.h"

#include "formats/FaceLineReader.h"
#include "formats/MapDialectFormats.h"
#include "formats/MapNumbers.h"
#include "formats/MapObjectAccess.h"
#include "formats/MapTextParts.h"
#include "formats/SolidDiagnosis.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

namespace {
bool StartsWith(std::string_view line, char c) {
    return !line.empty() && line.front() == c;
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Splits a keyvalue line ("key" "value", any white space between) into key and value.
bool SplitKeyValueLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t keyEnd = line.find('"', 1);
    if (keyEnd == std::string_view::npos) {
        return false;
    }
    // Texts end at a NUL byte, as everywhere else in the editor.
    key = line.substr(1, keyEnd - 1);
    key = key.substr(0, key.find('\0'));
    std::size_t valueStart = keyEnd + 1;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t')) {
        ++valueStart;
    }
    if (valueStart >= line.size() || line[valueStart] != '"') {
        return false;
    }
    const std::size_t valueEnd = line.find('"', valueStart + 1);
    if (valueEnd == std::string_view::npos) {
        return false;
    }
    value = line.substr(valueStart + 1, valueEnd - valueStart - 1);
    value = value.substr(0, value.find('\0'));
    return true;
}

// The three plane points and the texture name that begin a face line in every dialect.
// fields counts the numbers and the name read before the first mismatch.
struct FaceLineStart {
    double points[9] = {};
    std::string_view texture;
    int fields = 0;
    bool Complete() const { return fields == 10; }
};

FaceLineStart ReadFaceLineStart(std::string_view& text) {
    FaceLineStart start;
    for (int p = 0; p < 3; ++p) {
        if (!TakeMapLiteral(text, '(')) {
            return start;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (!TakeMapDouble(text, start.points[p * 3 + axis])) {
                return start;
            }
            ++start.fields;
        }
        if (!TakeMapLiteral(text, ')')) {
            return start;
        }
    }
    SkipMapSpace(text);
    std::size_t length = 0;
    while (length < text.size() && !IsMapSpace(text[length])) {
        ++length;
    }
    if (length == 0) {
        return start;
    }
    start.texture = text.substr(0, length);
    text.remove_prefix(length);
    ++start.fields;
    return start;
}

// Three integers may end a line; anything else after the texture fields is ignored.
FaceExtraFields ReadExtraFields(std::string_view rest) {
    long long extra[3] = {};
    int found = 0;
    while (found < 3 && TakeMapInteger(rest, extra[found])) {
        ++found;
    }
    SkipMapSpace(rest);
    if (found == 3 && rest.empty()) {
        return FaceExtraFields{true, extra[0], extra[1], extra[2]};
    }
    return {};
}
} // namespace

MapTextReader::MapTextReader(std::string_view text, Progress* progress)
    : m_stream(text, "", progress), m_faceLines(MapDialectFormats().size(), 0) {}

FileResult MapTextReader::Read(CMapWorld& world, std::string_view text, Progress* progress) {
    MapTextReader reader(text, progress);
    reader.ReadWorld(world);
    return std::move(reader.m_result);
}

void MapTextReader::ReadWorld(CMapWorld& world) {
    m_stream.ReportProgress();
    MapObjectAccess::ResetBounds(world);
    std::string_view line;
    if (!m_stream.ReadLine(line)) {
        Report(FileDiagnosticKind::NoMap);
    } else if (line.front() != '{') {
        m_stream.PushBack(line);
        Report(FileDiagnosticKind::WorldBraceExpected);
    }
    ReadKeyValues(world, MapObjectAccess::Pairs(world), true);
    ReadSolidList(world, true);
    ReadClosingBrace(FileDiagnosticKind::FileEndsInsideWorld,
                     FileDiagnosticKind::ClosingBraceExpectedForWorld);

    while (m_stream.ReadLine(line)) {
        if (line.front() != '{') {
            m_stream.PushBack(line);
            break;
        }
        if (!m_stream.PeekLine(line)) {
            Report(FileDiagnosticKind::FileEndsInsideEntity);
            break;
        }
        auto entity = std::make_unique<CMapEntity>();
        ReadEntity(*entity);
        world.AddChild(entity.release());
        // An entity's solids are handed over once it has its bounds and its place.
        HandOverReadSolids();
    }
    if (m_stream.ReadLine(line)) {
        Report(FileDiagnosticKind::TextAfterEntities);
    }
    BuildReadSolids(world);
    world.SetDialect(DialectOf(world));
    world.UpdateVisibleObjects(CMapWorld::kUseStoredFilter);
}

void MapTextReader::ReadEntity(CMapEntity& entity) {
    entity.SetReserved(0);
    ReadKeyValues(entity, MapObjectAccess::Pairs(entity), false);
    if (ReadSolidList(entity, false) == 0) {
        entity.SetPointEntity(true);
        entity.SetNeedsRebuild(true);
    }
    if (auto origin = entity.GetKeyValue("origin")) {
        std::string_view text = origin->first;
        Vector point;
        for (int axis = 0; axis < 3 && TakeMapFloat(text, point[axis]); ++axis) {
        }
        entity.SetOrigin(point);
        entity.SetKeyValue("origin", std::nullopt);
    }
    // A point entity without an origin stands at (0, 0, 0) with its class's box.
    entity.CalcBounds();
    ReadClosingBrace(FileDiagnosticKind::FileEndsInsideEntity,
                     FileDiagnosticKind::ClosingBraceExpectedForEntity);
}

void MapTextReader::ReadKeyValues(CEditGameClass& object,
                                  std::vector<CEditGameClass::KeyValue>& pairs, bool isWorld) {
    pairs.clear();
    std::string_view line;
    if (!m_stream.PeekLine(line) || !StartsWith(line, '"')) {
        return;
    }
    // Keys are unique without regard to case; a repeated key replaces the earlier value.
    std::unordered_map<std::string, std::size_t> index;
    while (m_stream.ReadLine(line)) {
        if (!StartsWith(line, '"')) {
            m_stream.PushBack(line);
            return;
        }
        std::string_view key;
        std::string_view value;
        if (!SplitKeyValueLine(line, key, value)) {
            Report(FileDiagnosticKind::KeyValueWithoutQuotes);
            return;
        }
        // The keys kept in fields of their own are told apart without regard to case, as all
        // keys are: an "Angle" pair beside the angle field would be written out twice.
        const std::string keyText(key);
        if (EqualsIgnoreCase(keyText, "classname")) {
            object.SetClass(std::string(value));
        } else if (EqualsIgnoreCase(keyText, "angle")) {
            object.SetAngle(ParseMapInteger(value));
        } else if (EqualsIgnoreCase(keyText, "spawnflags")) {
            object.SetSpawnFlags(static_cast<std::uint32_t>(ParseMapInteger(value)));
        } else if (key == "wad" && (!isWorld || value.empty())) {
            // Only the world's names the map's texture files; an empty one names none.
        } else {
            if (isWorld && key == "wad") {
                // Kept as the world's own pair: the map's texture files go with it through
                // RMF and back to MAP.
                m_result.wad = value;
            }
            const std::string_view fieldKey = key.substr(0, CEditGameClass::kMaxKey);
            std::string fieldValue(value.substr(0, CEditGameClass::kMaxValue));
            auto [found, added] = index.emplace(LowerCase(fieldKey), pairs.size());
            if (added) {
                pairs.push_back({std::string(fieldKey), std::move(fieldValue)});
            } else {
                pairs[found->second].value = std::move(fieldValue);
            }
        }
    }
}

void MapTextReader::HandOverReadSolids() {
    for (; m_solidsHandedOver < m_solidsRead.size(); ++m_solidsHandedOver) {
        m_builds.Add(m_solidsRead[m_solidsHandedOver].solid);
    }
}

int MapTextReader::ReadSolidList(CMapClass& parent, bool handOver) {
    int count = 0;
    std::string_view line;
    while (m_stream.ReadLine(line)) {
        if (!StartsWith(line, '{')) {
            m_stream.PushBack(line);
            break;
        }
        auto solid = std::make_unique<CMapSolid>();
        if (ReadSolid(*solid)) {
            parent.AddChild(solid.release());
            if (handOver) {
                HandOverReadSolids();
            }
        } else {
            ++m_result.droppedSolids;
        }
        if (count % 10 == 0) {
            m_stream.ReportProgress();
        }
        ++count;
    }
    return count;
}

bool MapTextReader::ReadSolid(CMapSolid& solid) {
    const int firstLine = m_stream.LineNumber();
    std::vector<CMapFace>& faces = m_stream.FaceScratch();
    faces.clear();
    bool tooManyFaces = false;
    std::string_view line;
    while (m_stream.ReadLine(line)) {
        if (line.front() != '(') {
            m_stream.PushBack(line);
            break;
        }
        // A faulty line still gives its face what it had.
        const bool kept = faces.size() < static_cast<std::size_t>(CMapSolid::kMaxFaces);
        tooManyFaces = tooManyFaces || !kept;
        ReadFace(line, kept ? &faces : nullptr);
    }
    MapObjectAccess::StoreFaces(solid, faces);
    ReadClosingBrace(FileDiagnosticKind::FileEndsInsideSolid,
                     FileDiagnosticKind::ClosingBraceExpectedForSolid);
    if (tooManyFaces) {
        m_result.Add(FileDiagnosticKind::TooManyFaces, firstLine);
        return false;
    }
    m_solidsRead.push_back({&solid, firstLine, m_result.diagnostics.size()});
    return true;
}

void MapTextReader::BuildReadSolids(CMapWorld& world) {
    HandOverReadSolids();
    const std::vector<SolidBuildOutcome> outcomes = m_builds.Finish();
    if (m_solidsRead.empty()) {
        return;
    }

    // The diagnostics of the text, with each solid's own put in where its lines end.
    std::vector<FileDiagnostic> textDiagnostics = std::move(m_result.diagnostics);
    m_result.diagnostics.clear();
    m_result.diagnostics.reserve(textDiagnostics.size());
    std::size_t taken = 0;
    std::vector<CMapClass*> parents;
    for (std::size_t i = 0; i < m_solidsRead.size(); ++i) {
        const ReadSolidEntry& entry = m_solidsRead[i];
        for (; taken < entry.diagnosticsBefore && taken < textDiagnostics.size(); ++taken) {
            m_result.diagnostics.push_back(std::move(textDiagnostics[taken]));
        }
        CMapSolid& solid = *entry.solid;
        const SolidBuildOutcome& outcome = outcomes[i];
        CMapClass* parent = solid.Parent();
        if (parent && parent != &world && (parents.empty() || parents.back() != parent)) {
            parents.push_back(parent);
        }
        // What the polygon building would have shown had it run here, in read order.
        for (const std::string& message : outcome.messages) {
            world.Services().messages.AddLine(MessageLog::Error, "%s", message.c_str());
        }
        if (!outcome.built) {
            solid.RecordBuildFailure();
            m_result.Add(FileDiagnosticKind::UnbuildableSolid, entry.firstLine, 0,
                         DescribeUnbuildableSolid(outcome.planesBefore, solid));
            ++m_result.droppedSolids;
            // It was added to its parent while read, so an undo history that was recording
            // may know it: the history takes it (one that records nothing deletes it).
            if (parent) {
                parent->RemoveChild(&solid, false);
            }
            world.Services().ActiveHistory().KeepForDestruction(&solid);
            continue;
        }
        // Kept as the file has it (its lines are written back unchanged), but the user is
        // told: it shows as a huge solid and will not compile.
        if (!outcome.closed) {
            m_result.Add(FileDiagnosticKind::OpenSolid, entry.firstLine, solid.ObjectId());
        }
        solid.UpdateContentsFromTexture();
        for (int face = 0; face < solid.FaceCount(); ++face) {
            solid.Face(face).SetDisplayColor(solid.GetColor());
        }
        solid.SetNeedsRebuild(true);
    }
    for (; taken < textDiagnostics.size(); ++taken) {
        m_result.diagnostics.push_back(std::move(textDiagnostics[taken]));
    }
    m_solidsRead.clear();
    m_solidsHandedOver = 0;
    for (CMapClass* parent : parents) {
        parent->CalcBounds(false);
    }
    MapObjectAccess::ResetBounds(world);
    world.CalcBounds(false);
}

void MapTextReader::ReadFace(std::string_view text, std::vector<CMapFace>* faces) {
    const FaceLineStart start = ReadFaceLineStart(text);
    const CMapFace& model =
        start.Complete() ? m_stream.Faces().WithTexture(start.texture) : m_stream.Faces().Blank();
    CMapFace* target = nullptr;
    if (faces) {
        target = &faces->emplace_back(model);
    } else if (m_droppedFace) {
        target = &(*m_droppedFace = model);
    } else {
        m_droppedFace = std::make_unique<CMapFace>(model);
        target = m_droppedFace.get();
    }
    CMapFace& face = *target;
    std::array<Vector3d, 3>& planePoints = face.MutablePlanePoints();
    for (int i = 0; i < std::min(start.fields, 9); ++i) {
        planePoints[static_cast<std::size_t>(i / 3)][i % 3] = start.points[i];
    }
    // The first dialect that recognizes the fields after the name reads them; a line that
    // ends before its name counts as standard.
    const std::span<const MapDialectFormat> formats = MapDialectFormats();
    std::size_t dialect = formats.size() - 1;
    if (start.Complete()) {
        for (std::size_t i = 0; i < formats.size(); ++i) {
            if (formats[i].reader.Recognizes(text)) {
                dialect = i;
                break;
            }
        }
    }
    ++m_faceLines[dialect];
    const FaceLineReader& reader = formats[dialect].reader;
    const bool complete =
        start.Complete() && reader.Read(text, face, m_stream.LineNumber(), m_result);
    face.SetExtraFields(complete ? ReadExtraFields(text) : FaceExtraFields{});
    if (!complete) {
        Report(reader.ShortLineKind());
    }
}

void MapTextReader::ReadClosingBrace(FileDiagnosticKind fileEnds,
                                     FileDiagnosticKind braceExpected) {
    std::string_view line;
    if (!m_stream.ReadLine(line)) {
        Report(fileEnds);
        return;
    }
    if (!StartsWith(line, '}')) {
        m_stream.PushBack(line);
        Report(braceExpected);
    }
}

MapDialect MapTextReader::DialectOf(const CMapWorld& world) const {
    const std::span<const MapDialectFormat> formats = MapDialectFormats();
    // Lines of a dialect other than the standard one decide; then standard lines.
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (m_faceLines[i] > 0) {
            return formats[i].dialect;
        }
    }
    // A file without faces: the world's "mapversion", then the "// Format:" comment.
    const auto version = world.GetKeyValue("mapversion");
    for (const MapDialectFormat& format : formats) {
        if (!format.mapVersion.empty() && version && version->first == format.mapVersion) {
            return format.dialect;
        }
    }
    if (m_stream.hasFormatComment) {
        for (const MapDialectFormat& format : formats) {
            if (!format.mapVersion.empty() &&
                m_stream.formatComment.find(format.mapVersion) != std::string::npos) {
                return format.dialect;
            }
        }
    }
    return MapDialect::Standard;
}
