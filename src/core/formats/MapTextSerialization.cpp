// The MAP forms of faces, solids, entities and the world.

#include "common/EditorContext.h"
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

// The fields of a face line, read as "( %f %f %f ) ( %f %f %f ) ( %f %f %f ) %s %f %f %f %f
// %f" reads them: fields counts those read before the first mismatch. Anything after the
// fifteenth field (the extra fields of other games' maps) is ignored.
struct FaceLine {
    float points[9] = {};
    std::string_view texture;
    float numbers[5] = {};
    int fields = 0;
};

FaceLine ParseFaceLine(std::string_view text) {
    FaceLine line;
    for (int p = 0; p < 3; ++p) {
        if (!TakeLiteral(text, '(')) {
            return line;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (!TakeMapFloat(text, line.points[p * 3 + axis])) {
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
    for (float& number : line.numbers) {
        if (!TakeMapFloat(text, number)) {
            return line;
        }
        ++line.fields;
    }
    return line;
}

float FiniteOr(float value, float otherwise) {
    return std::isfinite(value) ? value : otherwise;
}

void AppendPoint(std::string& out, const Vector& p) {
    out += "( ";
    AppendMapNumber(out, p.x);
    out += ' ';
    AppendMapNumber(out, p.y);
    out += ' ';
    AppendMapNumber(out, p.z);
    out += " ) ";
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
} // namespace

int CMapFace::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        std::string& out = stream.Out();
        for (const Vector& p : m_planePoints) {
            AppendPoint(out, p);
        }
        // Every field must read back as itself: a name (never empty) and numbers that are
        // numbers (a value that is none reads as the setting of a new face).
        AppendMapText(out, m_texture.name[0] != '\0' ? m_texture.name : kMapEmptyTextureName,
                      false);
        out += ' ';
        AppendMapNumber(out, FiniteOr(m_texture.shiftX, 0.0f));
        out += ' ';
        AppendMapNumber(out, FiniteOr(m_texture.shiftY, 0.0f));
        out += ' ';
        AppendMapNumber(out, FiniteOr(m_texture.rotation, 0.0f));
        out += ' ';
        AppendMapFixed6(out, FiniteOr(m_texture.scaleX, 1.0f));
        out += ' ';
        AppendMapFixed6(out, FiniteOr(m_texture.scaleY, 1.0f));
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
    float* numbers[5] = {&m_texture.shiftX, &m_texture.shiftY, &m_texture.rotation,
                         &m_texture.scaleX, &m_texture.scaleY};
    for (int i = 0; i < line.fields - 10; ++i) {
        *numbers[i] = line.numbers[i];
    }
    if (line.fields < kFaceFields) {
        stream.ParseError("a face line has fewer than 15 fields");
        return MAP_PARSE_ERROR;
    }
    return MAP_OK;
}

int CMapSolid::SerializeMAP(MapTextStream& stream, bool saving) {
    if (saving) {
        stream.Out() += "{\n";
        // A face whose polygon was clipped away (a solid thinner than the clipping
        // tolerance) still bounds the solid: every face with a plane is written.
        for (CMapFace& face : m_faces) {
            if (face.PlanePointsDefinePlane()) {
                face.SerializeMAP(stream, true);
            }
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
    FacePlanePoints& planes = stream.PlaneScratch();
    planes.clear();
    for (const CMapFace& face : m_faces) {
        planes.push_back(face.PlanePoints());
    }
    if (!CreateFromPlanes()) {
        const std::string reason =
            "a solid was not loaded: " + DescribeUnbuildableSolid(planes, *this);
        stream.ParseErrorAt(firstLine, reason.c_str());
        return MAP_PARSE_ERROR;
    }
    CalcBounds();
    // Kept as the file has it (its lines are written back unchanged), but the user is told:
    // it shows as a huge solid and will not compile.
    if (!IsClosed()) {
        stream.ParseErrorAt(firstLine,
                            "a solid's faces leave it open on some side; it was "
                            "loaded as it is and reaches out to the edge of the map",
                            ObjectId());
    }
    UpdateContentsFromTexture();
    for (CMapFace& face : m_faces) {
        face.SetDisplayColor(m_color);
    }
    m_needsRebuild = true;
    return MAP_OK;
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
        return 0;
    }

    stream.ReportProgress();
    m_bounds.ResetBounds();
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

    ShowLoadMessages(stream);
    UpdateVisibleObjects(kUseStoredFilter);
    return 0;
}
