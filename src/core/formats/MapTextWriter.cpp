#include "formats/MapTextWriter.h"

#include "formats/FaceLineWriter.h"
#include "formats/MapDialectFormats.h"
#include "formats/MapNumbers.h"
#include "formats/MapTextParts.h"
#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/VisibilityTest.h"

#include <string_view>

namespace {
void AppendKeyValueLine(std::string& out, std::string_view key, std::string_view value) {
    AppendMapText(out, key, true);
    out += ' ';
    AppendMapText(out, value, true);
    out += '\n';
}
} // namespace

MapTextWriter::MapTextWriter(const CMapWorld& world, OutputBuffer::Sink sink,
                             const MapWriteOptions& options)
    : m_world(world), m_options(options), m_dialect(options.dialect.value_or(world.Dialect())),
      m_faceWriter(MapDialectFormatOf(m_dialect).writer), m_stream(std::move(sink), "") {}

FileResult MapTextWriter::Write(const CMapWorld& world, OutputBuffer::Sink sink,
                                const MapWriteOptions& options) {
    MapTextWriter writer(world, std::move(sink), options);
    if (!writer.WriteWorld()) {
        // Nothing of a map that was not written is worth telling but that.
        FileResult failed;
        failed.Add(FileDiagnosticKind::WriteFailed);
        return failed;
    }
    return std::move(writer.m_result);
}

bool MapTextWriter::WriteWorld() {
    if (!m_options.header.empty()) {
        m_stream.Out() += m_options.header + "\n";
    }
    m_stream.Out() += "{\n";
    WriteKeyValues(m_world, true, nullptr);
    bool written = WriteSolidsOf(m_world);
    if (written) {
        m_stream.Out() += "}\n";
        written = WriteEntitiesOf(m_world);
    }
    return written && m_stream.Flush();
}

bool MapTextWriter::WriteSolid(const CMapSolid& solid) {
    m_stream.Out() += "{\n";
    // A face whose polygon was clipped away (a solid thinner than the clipping tolerance)
    // still bounds the solid: every face with a plane is written.
    for (int i = 0; i < solid.FaceCount(); ++i) {
        if (solid.Face(i).PlanePointsDefinePlane()) {
            WriteFace(solid.Face(i), i, solid.ObjectId());
        }
    }
    m_stream.Out() += "}\n";
    return m_stream.EndObject();
}

void MapTextWriter::WriteFace(const CMapFace& face, int index, std::uint32_t solidId) {
    std::string& out = m_stream.Out();
    for (const Vector3d& p : face.PlanePoints()) {
        AppendMapPoint(out, p);
    }
    // Every field must read back as itself: a name (never empty) and numbers that are
    // numbers (a value that is none reads as the setting of a new face).
    const char* name = face.TextureName();
    AppendMapText(out, name[0] != '\0' ? name : kMapEmptyTextureName, false);
    out += ' ';
    m_faceWriter.Write(out, face, FacePosition{solidId, index}, m_result);
    const FaceExtraFields& extra = face.ExtraFields();
    if (extra.present) {
        out += ' ';
        out += std::to_string(extra.contents);
        out += ' ';
        out += std::to_string(extra.surface);
        out += ' ';
        out += std::to_string(extra.value);
    }
    out += '\n';
}

bool MapTextWriter::WriteEntity(const CMapEntity& entity) {
    m_stream.Out() += "{\n";
    const EntityClassDef* gameClass = entity.GameClass();
    const bool writeOrigin = entity.IsPointEntity() && !(gameClass && gameClass->IsSolidClass());
    WriteKeyValues(entity, false, writeOrigin ? &entity : nullptr);
    if (!entity.IsPointEntity() && !WriteSolidsOf(entity)) {
        return false;
    }
    m_stream.Out() += "}\n";
    return m_stream.EndObject();
}

void MapTextWriter::WriteKeyValues(const CEditGameClass& object, bool isWorld,
                                   const CMapEntity* pointEntity) {
    std::string& out = m_stream.Out();
    AppendKeyValueLine(out, "classname", object.ClassName());
    if (object.Angle() != 0) {
        AppendKeyValueLine(out, "angle", std::to_string(object.Angle()));
    }
    if (object.SpawnFlags() != 0) {
        AppendKeyValueLine(out, "spawnflags",
                           std::to_string(static_cast<std::int32_t>(object.SpawnFlags())));
    }
    // The world's own "wad" pair is written in its place; a world without one gets the line
    // after its other pairs. The world's "mapversion" says which dialect its face lines are
    // in; a map written in a dialect without one keeps whatever its file had, unless the map
    // came in a dialect that has one.
    bool wadWritten = false;
    constexpr std::string_view kMapVersion = "mapversion";
    const std::string_view version = MapDialectFormatOf(m_dialect).mapVersion;
    const bool readWithVersion = !MapDialectFormatOf(m_world.Dialect()).mapVersion.empty();
    if (isWorld && !version.empty() && !object.GetKeyValue(std::string(kMapVersion))) {
        AppendKeyValueLine(out, kMapVersion, version);
    }
    for (const CEditGameClass::KeyValue& pair : object.KeyValues()) {
        if (pair.key.empty()) {
            continue;
        }
        if (isWorld && EqualsIgnoreCase(pair.key, "wad")) {
            if (!wadWritten) {
                AppendKeyValueLine(out, "wad", m_options.wad);
                wadWritten = true;
            }
            continue;
        }
        if (isWorld && pair.key == kMapVersion) {
            if (!version.empty()) {
                AppendKeyValueLine(out, kMapVersion, version);
                continue;
            }
            if (readWithVersion) {
                continue;
            }
        }
        AppendKeyValueLine(out, pair.key, pair.value);
    }
    if (isWorld && !wadWritten) {
        AppendKeyValueLine(out, "wad", m_options.wad);
    }
    if (pointEntity) {
        const Vector& origin = pointEntity->Origin();
        std::string text;
        AppendMapNumber(text, origin.x);
        text += ' ';
        AppendMapNumber(text, origin.y);
        text += ' ';
        AppendMapNumber(text, origin.z);
        AppendKeyValueLine(out, "origin", text);
    }
}

bool MapTextWriter::ShouldWrite(const CMapClass& object) const {
    return !m_options.visibleOnly ||
           PassesVisibilityTest(object, m_world, m_world.DisplayFilterFlags());
}

bool MapTextWriter::WriteSolidsOf(const CMapClass& parent) {
    for (const CMapClass* child : parent.Children()) {
        if (child->IsType(kTypeMapEntity) || !ShouldWrite(*child)) {
            continue;
        }
        if (child->IsType(kTypeMapSolid)) {
            if (!WriteSolid(*static_cast<const CMapSolid*>(child))) {
                return false;
            }
        } else if (child->IsType(kTypeMapGroup) && !WriteSolidsOf(*child)) {
            return false;
        }
    }
    return true;
}

bool MapTextWriter::WriteEntitiesOf(const CMapClass& parent) {
    for (const CMapClass* child : parent.Children()) {
        if (!ShouldWrite(*child)) {
            continue;
        }
        if (child->IsType(kTypeMapEntity)) {
            if (!WriteEntity(*static_cast<const CMapEntity*>(child))) {
                return false;
            }
        } else if (child->IsType(kTypeMapGroup) && !WriteEntitiesOf(*child)) {
            return false;
        }
    }
    return true;
}
