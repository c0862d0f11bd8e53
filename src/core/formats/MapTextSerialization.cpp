// The MAP forms of faces, solids, entities and the world.

#include "common/EditorContext.h"
#include "formats/DeferredSolids.h"
#include "formats/MapNumbers.h"
#include "formats/MapResults.h"
#include "formats/MapTextParts.h"
#include "formats/MapTextStream.h"
#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>

namespace {
constexpr int kFaceFields = 15;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void SkipSpace(std::string_view& text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
}

bool TakeLiteral(std::string_view& text, char c) {
    SkipSpace(text);
    if (text.empty() || text.front() != c) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

constexpr int kAxisFaceFields = 21;
// Faces with odd axes told one by one; the rest are counted in one line.
constexpr int kMaxOddAxisLines = 20;

// The fields of a face line in either dialect:
//   standard:     ( x y z ) ( x y z ) ( x y z ) NAME xshift yshift rotation xscale yscale
//   texture axes: ( x y z ) ( x y z ) ( x y z ) NAME [ ux uy uz ushift ] [ vx vy vz vshift ]
//                 rotation xscale yscale
// either followed by three integers (content flags, surface flags, value). fields counts
// the fields read before the first mismatch (brackets are no fields).
struct FaceLine {
    double points[9] = {};
    std::string_view texture;
    bool axes = false;
    // Standard: x shift, y shift, rotation, x scale, y scale. Texture axes: u (3), u shift,
    // v (3), v shift, rotation, x scale, y scale.
    double numbers[11] = {};
    int fields = 0;
    FaceExtraFields extra;
};

FaceLine ParseFaceLine(std::string_view text) {
    FaceLine line;
    for (int p = 0; p < 3; ++p) {
        if (!TakeLiteral(text, '(')) {
            return line;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (!TakeMapDouble(text, line.points[p * 3 + axis])) {
                return line;
            }
            ++line.fields;
        }
        if (!TakeLiteral(text, ')')) {
            return line;
        }
    }
    SkipSpace(text);
    std::size_t length = 0;
    while (length < text.size() && !IsSpace(text[length])) {
        ++length;
    }
    if (length == 0) {
        return line;
    }
    line.texture = text.substr(0, length);
    text.remove_prefix(length);
    ++line.fields;
    SkipSpace(text);
    int next = 0;
    if (!text.empty() && text.front() == '[') {
        line.axes = true;
        for (int bracket = 0; bracket < 2; ++bracket) {
            if (!TakeLiteral(text, '[')) {
                return line;
            }
            for (int i = 0; i < 4; ++i) {
                if (!TakeMapDouble(text, line.numbers[next])) {
                    return line;
                }
                ++next;
                ++line.fields;
            }
            if (!TakeLiteral(text, ']')) {
                return line;
            }
        }
    }
    for (int i = 0; i < (line.axes ? 3 : 5); ++i) {
        if (!TakeMapDouble(text, line.numbers[next])) {
            return line;
        }
        ++next;
        ++line.fields;
    }
    // Three integers may follow; anything else after the fields is ignored.
    std::string_view rest = text;
    long long extra[3] = {};
    int found = 0;
    while (found < 3 && TakeMapInteger(rest, extra[found])) {
        ++found;
    }
    SkipSpace(rest);
    if (found == 3 && rest.empty()) {
        line.extra = FaceExtraFields{true, extra[0], extra[1], extra[2]};
    }
    return line;
}

void AppendPoint(std::string& out, const Vector3d& p) {
    out += "( ";
    AppendMapDouble(out, p.x);
    out += ' ';
    AppendMapDouble(out, p.y);
    out += ' ';
    AppendMapDouble(out, p.z);
    out += " ) ";
}

void AppendAxis(std::string& out, const Vector3d& axis, double shift) {
    out += "[ ";
    AppendMapDouble(out, axis.x);
    out += ' ';
    AppendMapDouble(out, axis.y);
    out += ' ';
    AppendMapDouble(out, axis.z);
    out += ' ';
    AppendMapDouble(out, shift);
    out += " ] ";
}

// Texture axes that lay no texture: either is zero (or no number) or both are parallel.
bool AxesSpanPlane(const TextureAxes& axes) {
    const double across = Length(Cross(axes.u, axes.v));
    return across > 1e-9 * Length(axes.u) * Length(axes.v) && std::isfinite(across);
}

// Lines of the Messages window for the errors of one read; beyond this many the rest are
// summed up in one line, so the window keeps earlier messages.
constexpr std::size_t kMaxErrorLines = 80;

void LogReadErrors(const ErrorList& errors) {
    MessageLog& log = Editor().messages;
    const std::size_t shown = std::min(errors.size(), kMaxErrorLines);
    for (std::size_t i = 0; i < shown; ++i) {
        log.AddText(MessageLog::Error, errors[i].message);
    }
    if (errors.size() > shown) {
        log.AddLine(MessageLog::Error, "... and %zu more errors in this file.",
                    errors.size() - shown);
    }
}

void ShowLoadMessages(const MapTextStream& stream) {
    if (!stream.parseErrors) {
        return;
    }
    // Every problem of the file goes to the message window as well, with its line, so the
    // user can find it whichever box comes up.
    LogReadErrors(stream.errors);
    Prompts& prompts = Editor().GetPrompts();
    if (stream.droppedSolids != 0) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "For your information, %d solids were not loaded\ndue to errors in the file.",
                      stream.droppedSolids);
        prompts.Message(text, Prompts::Icon::Information);
        return;
    }
    const Prompts::Answer answer = prompts.YesNo(
        "There was a problem loading the MAP file. Do you\nwant to view the error report?");
    if (answer == Prompts::Answer::Yes && Editor().showMapErrors) {
        Editor().showMapErrors(stream.errors);
    }
}
// The dialect of a file read: texture-axis lines, the world's "mapversion" or, in a file
// without faces, its "// Format:" comment say so.
MapDialect DialectOf(const MapTextStream& stream, const CMapWorld& world) {
    if (stream.axisFaceLines > 0) {
        return MapDialect::TextureAxes;
    }
    if (stream.standardFaceLines > 0) {
        return MapDialect::Standard;
    }
    if (auto version = world.GetKeyValue("mapversion"); version && version->first == "220") {
        return MapDialect::TextureAxes;
    }
    if (stream.hasFormatComment && stream.formatComment.find("220") != std::string::npos) {
        return MapDialect::TextureAxes;
    }
    return MapDialect::Standard;
}

// Faces names beyond this many are summed up in one line.
constexpr std::size_t kMaxNamedFaces = 50;

void ReportInexactFaces(const MapTextStream& stream) {
    if (stream.inexactFaces == 0) {
        return;
    }
    MessageLog& log = Editor().messages;
    log.AddLine(MessageLog::Error,
                "%d faces of %s have texture axes that standard face lines cannot give (axes "
                "skewed or not on the projection plane); they were written with the nearest "
                "shift, scale and rotation:",
                stream.inexactFaces,
                stream.DisplayName().empty() ? "the map" : stream.DisplayName().c_str());
    const std::size_t shown = std::min(stream.inexactFaceNames.size(), kMaxNamedFaces);
    for (std::size_t i = 0; i < shown; ++i) {
        log.AddText(MessageLog::Error, "  " + stream.inexactFaceNames[i]);
    }
    if (stream.inexactFaceNames.size() > shown) {
        log.AddLine(MessageLog::Error, "  ... and %zu more faces.",
                    stream.inexactFaceNames.size() - shown);
    }
}
} // namespace

int CMapFace::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        std::string& out = stream.Out();
        for (const Vector3d& p : m_planePoints) {
            AppendPoint(out, p);
        }
        // Every field must read back as itself: a name (never empty) and numbers that are
        // numbers (a value that is none reads as the setting of a new face).
        AppendMapText(out, m_name[0] != '\0' ? m_name : kMapEmptyTextureName, false);
        out += ' ';
        if (stream.dialect == MapDialect::TextureAxes) {
            const TextureAxes axes = CompilerAxes();
            AppendAxis(out, axes.u, m_shiftX);
            AppendAxis(out, axes.v, m_shiftY);
            AppendMapDouble(out, m_rotation);
            out += ' ';
            AppendMapDouble(out, m_scaleX, 1.0);
            out += ' ';
            AppendMapDouble(out, m_scaleY, 1.0);
        } else {
            const ClassicTextureFit fit = FitClassic();
            if (!fit.exact) {
                ++stream.inexactFaces;
                char name[96];
                std::snprintf(name, sizeof name, "face %d of solid %u (%s)", stream.faceIndex + 1,
                              stream.solidId, m_name);
                stream.inexactFaceNames.emplace_back(name);
            }
            AppendMapDouble(out, fit.shiftX);
            out += ' ';
            AppendMapDouble(out, fit.shiftY);
            out += ' ';
            AppendMapDouble(out, fit.rotation);
            out += ' ';
            AppendMapFixed6Double(out, fit.scaleX);
            out += ' ';
            AppendMapFixed6Double(out, fit.scaleY);
        }
        if (m_extra.present) {
            out += ' ';
            out += std::to_string(m_extra.contents);
            out += ' ';
            out += std::to_string(m_extra.surface);
            out += ' ';
            out += std::to_string(m_extra.value);
        }
        out += '\n';
        return MAP_OK;
    }

    std::string_view text;
    if (!stream.ReadLine(text)) {
        return MAP_NOT_MINE;
    }
    if (text.front() != '(') {
        stream.PushBack(text);
        return MAP_NOT_MINE;
    }
    const FaceLine line = ParseFaceLine(text);
    if (line.fields >= 10) {
        *this = stream.Faces().WithTexture(line.texture);
    }
    const int points = std::min(line.fields, 9);
    for (int i = 0; i < points; ++i) {
        m_planePoints[static_cast<std::size_t>(i / 3)][i % 3] = line.points[i];
    }
    const int numbers = std::max(line.fields - 10, 0);
    const auto number = [&line, numbers](int i, double otherwise) {
        return i < numbers ? line.numbers[i] : otherwise;
    };
    m_extra = line.extra;
    if (!line.axes) {
        ++stream.standardFaceLines;
        m_shiftX = number(0, m_shiftX);
        m_shiftY = number(1, m_shiftY);
        m_rotation = number(2, m_rotation);
        m_scaleX = number(3, m_scaleX);
        m_scaleY = number(4, m_scaleY);
        if (line.fields < kFaceFields) {
            stream.ParseError("a face line has fewer than 15 fields");
            return MAP_PARSE_ERROR;
        }
        return MAP_OK;
    }

    ++stream.axisFaceLines;
    const TextureAxes axes{{number(0, 0.0), number(1, 0.0), number(2, 0.0)},
                           {number(4, 0.0), number(5, 0.0), number(6, 0.0)}};
    SetAxes(axes);
    m_shiftX = number(3, m_shiftX);
    m_shiftY = number(7, m_shiftY);
    m_rotation = number(8, m_rotation);
    m_scaleX = number(9, m_scaleX);
    m_scaleY = number(10, m_scaleY);
    if (line.fields < kAxisFaceFields) {
        stream.ParseError("a face line with texture axes has fewer than 21 fields");
        return MAP_PARSE_ERROR;
    }
    if ((!AxesSpanPlane(axes) || m_scaleX == 0.0 || m_scaleY == 0.0) &&
        ++stream.oddAxisFaces <= kMaxOddAxisLines) {
        // Kept as the file has them and written back so; shown as the classic projection
        // lays the texture (a zero scale counts as 1).
        Editor().messages.AddLine(
            MessageLog::Error,
            "%s, line %d: the texture axes of this face %s; the texture is shown as a "
            "standard face would show it.",
            stream.DisplayName().c_str(), stream.LineNumber(),
            AxesSpanPlane(axes) ? "have a zero scale" : "are zero or parallel");
    }
    return MAP_OK;
}

int CMapSolid::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        stream.Out() += "{\n";
        // A face whose polygon was clipped away (a solid thinner than the clipping
        // tolerance) still bounds the solid: every face with a plane is written.
        stream.solidId = ObjectId();
        stream.faceIndex = 0;
        for (CMapFace& face : m_faces) {
            if (face.PlanePointsDefinePlane()) {
                face.SerializeMAP(stream, true);
            }
            ++stream.faceIndex;
        }
        stream.Out() += "}\n";
        return stream.EndObject() ? MAP_OK : MAP_STREAM_ERROR;
    }

    const int firstLine = stream.LineNumber();
    std::vector<CMapFace>& faces = stream.FaceScratch();
    faces.clear();
    bool tooManyFaces = false;
    for (;;) {
        CMapFace face = stream.Faces().Blank();
        if (face.SerializeMAP(stream, false) == MAP_NOT_MINE) {
            break;
        }
        if (faces.size() < static_cast<std::size_t>(kMaxFaces)) {
            faces.push_back(std::move(face));
        } else {
            tooManyFaces = true;
        }
    }
    m_faces.clear();
    m_faces.reserve(faces.size());
    std::move(faces.begin(), faces.end(), std::back_inserter(m_faces));
    faces.clear();
    AdoptFaces();
    ReadMapClosingBrace(stream, "a solid");
    if (tooManyFaces) {
        stream.ParseErrorAt(firstLine, "a solid with more than 126 faces was not loaded");
        return MAP_PARSE_ERROR;
    }
    if (stream.deferSolidBuilding) {
        DeferSolidBuild(stream, *this, firstLine);
        return MAP_OK;
    }
    return FinishMapSolid(stream, *this, firstLine, BuildSolidsFromPlanes({this}, 1).front());
}

int CMapEntity::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        stream.Out() += "{\n";
        const EntityClassDef* gameClass = GameClass();
        const bool writeOrigin = IsPointEntity() && !(gameClass && gameClass->IsSolidClass());
        WriteMapKeyValues(stream, *this, nullptr, writeOrigin ? this : nullptr);
        if (!IsPointEntity() && !WriteMapSolidsOf(stream, *this)) {
            return MAP_STREAM_ERROR;
        }
        stream.Out() += "}\n";
        return stream.EndObject() ? MAP_OK : MAP_STREAM_ERROR;
    }

    m_reserved = 0;
    ReadMapKeyValues(stream, *this, m_keyValues, false);
    if (ReadMapSolidList(stream, *this) == 0) {
        SetPointEntity(true);
        m_needsRebuild = true;
    }
    if (auto origin = GetKeyValue("origin")) {
        std::string_view text = origin->first;
        Vector point;
        for (int axis = 0; axis < 3 && TakeMapFloat(text, point[axis]); ++axis) {
        }
        SetOrigin(point);
        SetKeyValue("origin", std::nullopt);
    }
    // A point entity without an origin stands at (0, 0, 0) with its class's box.
    CalcBounds();
    ReadMapClosingBrace(stream, "an entity");
    return MAP_OK;
}

int CMapWorld::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        stream.world = this;
        stream.inexactFaces = 0;
        stream.inexactFaceNames.clear();
        stream.Out() += "{\n";
        WriteMapKeyValues(stream, *this, &stream.wadToWrite, nullptr);
        bool written = WriteMapSolidsOf(stream, *this);
        if (written) {
            stream.Out() += "}\n";
            written = WriteMapEntitiesOf(stream, *this);
        }
        if (!written || !stream.Flush()) {
            char text[600];
            std::snprintf(text, sizeof text, "The OS reported an error %s the file: %s", "saving",
                          stream.DisplayName().c_str());
            Editor().GetPrompts().Message(text, Prompts::Icon::Error);
            return -1;
        }
        ReportInexactFaces(stream);
        return 0;
    }

    stream.ReportProgress();
    m_bounds.ResetBounds();
    stream.deferSolidBuilding = true;
    std::string_view line;
    if (!stream.ReadLine(line)) {
        stream.ParseError("the file holds no map");
    } else if (line.front() != '{') {
        stream.PushBack(line);
        stream.ParseError("\"{\" expected to open the world");
    }
    ReadMapKeyValues(stream, *this, m_keyValues, true);
    ReadMapSolidList(stream, *this);
    ReadMapClosingBrace(stream, "the world");

    while (stream.ReadLine(line)) {
        if (line.front() != '{') {
            stream.PushBack(line);
            break;
        }
        if (!stream.PeekLine(line)) {
            stream.ParseError("the file ends inside an entity");
            break;
        }
        auto entity = std::make_unique<CMapEntity>();
        entity->SerializeMAP(stream, false);
        AddChild(entity.release());
    }
    if (stream.ReadLine(line)) {
        stream.ParseError("the text from here on is no entity and was not read");
    }
    BuildDeferredSolids(stream, *this);

    m_dialect = DialectOf(stream, *this);
    if (stream.oddAxisFaces > kMaxOddAxisLines) {
        Editor().messages.AddLine(MessageLog::Error,
                                  "%s: %d more faces have texture axes that are zero or parallel "
                                  "or a zero scale.",
                                  stream.DisplayName().c_str(),
                                  stream.oddAxisFaces - kMaxOddAxisLines);
    }
    ShowLoadMessages(stream);
    UpdateVisibleObjects(kUseStoredFilter);
    return 0;
}
