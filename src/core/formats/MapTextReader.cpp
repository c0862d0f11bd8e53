#include "formats/MapTextReader.h"

#include "mapobjects/MapServices.h"

#include "formats/FaceLineReader.h"
#include "formats/FaceLineText.h"
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
#include <iterator>
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

void ReadFaceLineStart(FaceLineText& text, FaceLineStart& start) {
    for (int p = 0; p < 3; ++p) {
        if (!text.TakeLiteral('(')) {
            return;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (!text.TakeNumber(start.points[p * 3 + axis])) {
                return;
            }
            ++start.fields;
        }
        if (!text.TakeLiteral(')')) {
            return;
        }
    }
    start.texture = text.TakeWord();
    if (!start.texture.empty()) {
        ++start.fields;
    }
}

// Three integers may end a line; anything else after the texture fields is ignored.
[[gnu::always_inline]] inline FaceExtraFields ReadExtraFields(std::string_view rest) {
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

// Reads a face line (text starts with "(") into the face place gives for the model face of
// its texture; diagnostics go to result with line. dialectLines counts the line's dialect.
template <typename Place>
void ReadFaceLine(std::string_view lineText, int line, FaceFactory& factory, Place place,
                  FileResult& result, std::vector<int>& dialectLines) {
    FaceLineText text(lineText);
    FaceLineStart start;
    ReadFaceLineStart(text, start);
    CMapFace& face = place(start.Complete() ? factory.WithTexture(start.texture) : factory.Blank());
    std::array<Vector3d, 3>& planePoints = face.MutablePlanePoints();
    if (start.fields >= 9) {
        for (std::size_t p = 0; p < 3; ++p) {
            planePoints[p] = {start.points[3 * p], start.points[3 * p + 1],
                              start.points[3 * p + 2]};
        }
    } else {
        for (int i = 0; i < start.fields; ++i) {
            planePoints[static_cast<std::size_t>(i / 3)][i % 3] = start.points[i];
        }
    }
    // The first dialect that recognizes the fields after the name reads them; a line that
    // ends before its name counts as standard.
    const std::span<const MapDialectFormat> formats = MapDialectFormats();
    std::size_t dialect = formats.size() - 1;
    if (start.Complete()) {
        for (std::size_t i = 0; i < formats.size(); ++i) {
            if (formats[i].reader.Recognizes(text.Rest())) {
                dialect = i;
                break;
            }
        }
    }
    ++dialectLines[dialect];
    const FaceLineReader& reader = formats[dialect].reader;
    const bool complete = start.Complete() && reader.Read(text, face, line, result);
    face.SetExtraFields(complete ? ReadExtraFields(text.Rest()) : FaceExtraFields{});
    if (!complete) {
        result.Add(reader.ShortLineKind(), line);
    }
}
} // namespace

// Solids are read and built by workers in pieces of this many.
constexpr std::size_t kSolidsPerPiece = 256;

struct MapTextReader::SolidBlock {
    // A face line waiting to be read: its text (from "(") and its line number.
    struct FaceLine {
        std::string_view text;
        int line;
    };
    struct Entry {
        CMapSolid* solid;
        // Its "{" line.
        int firstLine;
        // Its face lines in faceLines.
        std::uint32_t firstFace;
        std::uint32_t faceCount;
        // The text diagnostics reported before its face lines end, and before its end.
        std::size_t diagnosticsBeforeFaces;
        std::size_t diagnosticsBefore;
        // Filled by the worker.
        SolidBuildOutcome outcome;
        std::vector<FileDiagnostic> faceDiagnostics;
        // Where its face list is, once the worker has made it.
        const void* faceMemory = nullptr;
        // The object it is read into, and its bounds once built, kept here so that the pass
        // over the read solids need not fetch each solid from memory.
        CMapClass* parent = nullptr;
        BoundBox bounds;
    };
    std::vector<Entry> solids;
    std::vector<FaceLine> faceLines;
    // The face lines of each dialect that each piece read.
    std::vector<std::vector<int>> pieceDialectLines;
};

MapTextReader::MapTextReader(std::string_view text, Progress* progress)
    : m_stream(text, "", progress), m_faceLines(MapDialectFormats().size(), 0) {}

MapTextReader::~MapTextReader() = default;

FileResult MapTextReader::Read(CMapWorld& world, std::string_view text, Progress* progress) {
    MapTextReader reader(text, progress);
    reader.ReadWorld(world);
    return std::move(reader.m_result);
}

void MapTextReader::ReadWorld(CMapWorld& world) {
    m_stream.ReportProgress();
    m_worldWasEmpty = world.Children().empty();
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
        m_entities.push_back(entity.get());
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
    if (m_filling && m_filling->solids.size() >= kSolidsPerPiece) {
        HandOverFillingBlock();
    }
}

void MapTextReader::HandOverFillingBlock() {
    SolidBlock* block = m_filling.get();
    m_blocks.push_back(std::move(m_filling));
    const std::size_t count = block->solids.size();
    const std::size_t pieces = (count + kSolidsPerPiece - 1) / kSolidsPerPiece;
    block->pieceDialectLines.assign(pieces, std::vector<int>(m_faceLines.size(), 0));
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        const std::size_t first = piece * kSolidsPerPiece;
        const std::size_t last = std::min(first + kSolidsPerPiece, count);
        m_work.Add([this, block, first, last, piece] {
            ReadAndBuildSolids(*block, first, last, block->pieceDialectLines[piece]);
        });
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
        if (ReadSolid(*solid, parent)) {
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

bool MapTextReader::ReadSolid(CMapSolid& solid, CMapClass& parent) {
    const int firstLine = m_stream.LineNumber();
    const std::size_t diagnosticsBeforeFaces = m_result.diagnostics.size();
    if (!m_filling) {
        m_filling = std::make_unique<SolidBlock>();
        // Room for a piece of solids of six faces, so the lists rarely move as they fill.
        m_filling->solids.reserve(kSolidsPerPiece);
        m_filling->faceLines.reserve(6 * kSolidsPerPiece);
    }
    std::vector<SolidBlock::FaceLine>& faceLines = m_filling->faceLines;
    const std::size_t firstFace = faceLines.size();
    std::string_view line;
    while (m_stream.ReadLine(line)) {
        if (line.front() != '(') {
            m_stream.PushBack(line);
            break;
        }
        faceLines.push_back({line, m_stream.LineNumber()});
    }
    const std::size_t faceCount = faceLines.size() - firstFace;
    const bool tooManyFaces = faceCount > static_cast<std::size_t>(CMapSolid::kMaxFaces);
    if (tooManyFaces) {
        // The solid is dropped; its lines are still read here for what they report.
        if (!m_droppedFace) {
            m_droppedFace = std::make_unique<CMapFace>();
        }
        for (std::size_t i = firstFace; i < faceLines.size(); ++i) {
            ReadFaceLine(
                faceLines[i].text, faceLines[i].line, m_faces,
                [this](const CMapFace& model) -> CMapFace& { return *m_droppedFace = model; },
                m_result, m_faceLines);
        }
        faceLines.resize(firstFace);
    }
    ReadClosingBrace(FileDiagnosticKind::FileEndsInsideSolid,
                     FileDiagnosticKind::ClosingBraceExpectedForSolid);
    if (tooManyFaces) {
        m_result.Add(FileDiagnosticKind::TooManyFaces, firstLine);
        return false;
    }
    m_filling->solids.push_back(SolidBlock::Entry{&solid,
                                                  firstLine,
                                                  static_cast<std::uint32_t>(firstFace),
                                                  static_cast<std::uint32_t>(faceCount),
                                                  diagnosticsBeforeFaces,
                                                  m_result.diagnostics.size(),
                                                  {},
                                                  {},
                                                  nullptr,
                                                  &parent,
                                                  {}});
    return true;
}

void MapTextReader::ReadAndBuildSolids(SolidBlock& block, std::size_t first, std::size_t last,
                                       std::vector<int>& dialectLines) {
    FaceFactory factory(m_models);
    FileResult faceResult;
    // Each solid's face list was last used long ago, if ever. The lists are made first, and
    // the next solid's memory is asked for while this one is read, so that filling it does not
    // wait for memory face by face.
    const auto prefetch = [&block](std::size_t i) {
        const SolidBlock::Entry& entry = block.solids[i];
        const char* const memory = static_cast<const char*>(entry.faceMemory);
        for (std::size_t offset = 0; offset < entry.faceCount * sizeof(CMapFace); offset += 64) {
            __builtin_prefetch(memory + offset, 1);
        }
    };
    for (std::size_t i = first; i < last; ++i) {
        SolidBlock::Entry& entry = block.solids[i];
        FaceList& faces = MapObjectAccess::FaceListOf(*entry.solid);
        faces.reserve(entry.faceCount);
        entry.faceMemory = faces.data();
    }
    if (first < last) {
        prefetch(first);
    }
    for (std::size_t i = first; i < last; ++i) {
        if (i + 1 < last) {
            prefetch(i + 1);
        }
        SolidBlock::Entry& entry = block.solids[i];
        CMapSolid& solid = *entry.solid;
        FaceList& faces = MapObjectAccess::FaceListOf(solid);
        const auto place = [&faces](const CMapFace& model) -> CMapFace& {
            return faces.emplace_back(model);
        };
        for (std::uint32_t k = 0; k < entry.faceCount; ++k) {
            const SolidBlock::FaceLine& line = block.faceLines[entry.firstFace + k];
            ReadFaceLine(line.text, line.line, factory, place, faceResult, dialectLines);
        }
        MapObjectAccess::AdoptFaces(solid);
        if (!faceResult.diagnostics.empty()) {
            entry.faceDiagnostics = std::move(faceResult.diagnostics);
            faceResult.diagnostics.clear();
        }
        BuildSolid(solid, entry.outcome);
        entry.bounds = solid.Bounds();
        if (entry.outcome.built) {
            solid.UpdateContentsFromTexture();
            for (CMapFace& face : faces) {
                face.SetDisplayColor(solid.GetColor());
            }
            solid.SetNeedsRebuild(true);
        }
    }
}

void MapTextReader::BuildReadSolids(CMapWorld& world) {
    if (m_filling && !m_filling->solids.empty()) {
        HandOverFillingBlock();
    }
    m_filling.reset();
    m_work.Finish();
    if (m_blocks.empty()) {
        return;
    }

    // The diagnostics of the text, with each solid's own put in where its lines are.
    std::vector<FileDiagnostic> textDiagnostics = std::move(m_result.diagnostics);
    m_result.diagnostics.clear();
    m_result.diagnostics.reserve(textDiagnostics.size());
    std::size_t taken = 0;
    const auto takeTextDiagnostics = [&](std::size_t before) {
        for (; taken < before && taken < textDiagnostics.size(); ++taken) {
            m_result.diagnostics.push_back(std::move(textDiagnostics[taken]));
        }
    };
    std::vector<CMapClass*> parents;
    // The bounds of the solids read into the world, in its order (a world read from empty).
    BoundBox worldSolids;
    worldSolids.ResetBounds();
    for (const auto& block : m_blocks) {
        for (const std::vector<int>& lines : block->pieceDialectLines) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                m_faceLines[i] += lines[i];
            }
        }
        for (SolidBlock::Entry& entry : block->solids) {
            takeTextDiagnostics(entry.diagnosticsBeforeFaces);
            std::move(entry.faceDiagnostics.begin(), entry.faceDiagnostics.end(),
                      std::back_inserter(m_result.diagnostics));
            takeTextDiagnostics(entry.diagnosticsBefore);
            CMapSolid& solid = *entry.solid;
            const SolidBuildOutcome& outcome = entry.outcome;
            CMapClass* parent = entry.parent;
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
                // It was added to its parent while read, so an undo history that was
                // recording may know it: the history takes it (one that records nothing
                // deletes it).
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
            if (parent == &world) {
                worldSolids.UpdateBounds(entry.bounds);
            }
        }
    }
    takeTextDiagnostics(textDiagnostics.size());
    for (CMapClass* parent : parents) {
        parent->CalcBounds(false);
    }
    MapObjectAccess::ResetBounds(world);
    if (m_worldWasEmpty) {
        // As CalcBounds finds them, from the objects in the world's order (its solids, then its
        // entities), without fetching each solid from memory.
        BoundBox bounds = worldSolids;
        for (const CMapClass* entity : m_entities) {
            bounds.UpdateBounds(entity->Bounds());
        }
        MapObjectAccess::StoreBounds(world, bounds);
    } else {
        world.CalcBounds(false);
    }
    m_blocks.clear();
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
