#include "formats/RmfWriter.h"

#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kVisGroupBytes = 8;
constexpr std::size_t kVisGroupRecordSize = 136;
constexpr std::size_t kVisGroupNameSize = 128;

void WriteVisGroup(RmfStream& stream, const VisGroup& group) {
    char record[kVisGroupRecordSize] = {};
    std::memcpy(record, group.name.data(), std::min(group.name.size(), VisGroup::kMaxName));
    const std::uint32_t color = group.color & 0xFFFFFFu;
    std::memcpy(record + kVisGroupNameSize, &color, sizeof color);
    record[132] = static_cast<char>(group.id);
    record[133] = group.visible ? 1 : 0;
    stream.WriteBytes(record, sizeof record);
}
} // namespace

RmfWriter::RmfWriter(OutputBuffer::Sink sink) : m_stream(std::move(sink), "") {}

FileResult RmfWriter::Write(const CMapWorld& world, OutputBuffer::Sink sink) {
    RmfWriter writer(std::move(sink));
    writer.WriteWorld(world);
    if (!writer.m_stream.Flush()) {
        writer.m_result.Add(FileDiagnosticKind::WriteFailed);
    }
    return std::move(writer.m_result);
}

void RmfWriter::WriteWorld(const CMapWorld& world) {
    m_stream.WriteFloat(RmfStream::kVersion);
    m_stream.WriteBytes("RMF", 3);
    m_stream.WriteString(kTypeMapWorld);
    if (!WriteObject(world)) {
        return;
    }
    WriteKeyValues(world);
    m_stream.WriteInt(world.VisGroupCount());
    for (const VisGroup& group : world.VisGroups()) {
        WriteVisGroup(m_stream, group);
    }
    m_stream.WriteByte(static_cast<std::uint8_t>(world.Dialect()));
}

bool RmfWriter::WriteObject(const CMapClass& object) {
    const VisGroupIds& visGroups = object.OwnVisGroups();
    const std::uint32_t color = object.GetColor();
    m_stream.WriteInt(kVisGroupBytes);
    m_stream.WriteBytes(visGroups.data(), visGroups.size());
    m_stream.WriteByte(static_cast<std::uint8_t>(color >> 16));
    m_stream.WriteByte(static_cast<std::uint8_t>(color >> 8));
    m_stream.WriteByte(static_cast<std::uint8_t>(color));
    m_stream.WriteInt(static_cast<std::int32_t>(object.Children().size()));
    for (const CMapClass* child : object.Children()) {
        m_stream.WriteString(child->GetType());
        if (!WriteChild(*child)) {
            return false;
        }
    }
    return !m_stream.Failed();
}

bool RmfWriter::WriteChild(const CMapClass& child) {
    if (!WriteObject(child)) {
        return false;
    }
    if (child.IsType(kTypeMapSolid)) {
        const auto& solid = static_cast<const CMapSolid&>(child);
        m_stream.WriteInt(solid.FaceCount());
        for (const CMapFace& face : solid.Faces()) {
            WriteFace(face);
        }
        return m_stream.EndObject();
    }
    if (child.IsType(kTypeMapEntity)) {
        const auto& entity = static_cast<const CMapEntity&>(child);
        WriteKeyValues(entity);
        m_stream.WriteShort(entity.Flags());
        m_stream.WriteVector(entity.Origin());
        m_stream.WriteInt(entity.Reserved() != 0 ? 1 : 0);
        return m_stream.EndObject();
    }
    return true;
}

void RmfWriter::WriteFace(const CMapFace& face) {
    const FaceTextureInfo info = face.TextureInfo();
    m_stream.WriteBytes(info.name, sizeof info.name);
    m_stream.WriteFloat(info.rotation);
    m_stream.WriteFloat(info.shiftX);
    m_stream.WriteFloat(info.shiftY);
    m_stream.WriteFloat(info.scaleX);
    m_stream.WriteFloat(info.scaleY);
    m_stream.WriteInt(face.PointCount());
    for (int i = 0; i < face.PointCount(); ++i) {
        m_stream.WriteVector(face.Point(i));
    }
    for (const Vector3d& point : face.PlanePoints()) {
        m_stream.WriteVector(point.ToFloat());
    }
    // The exact numbers.
    for (const Vector3d& point : face.PlanePoints()) {
        m_stream.WriteVector3d(point);
    }
    m_stream.WriteDouble(face.Rotation());
    m_stream.WriteDouble(face.ShiftX());
    m_stream.WriteDouble(face.ShiftY());
    m_stream.WriteDouble(face.ScaleX());
    m_stream.WriteDouble(face.ScaleY());
    m_stream.WriteByte(face.HasOwnAxes() ? 1 : 0);
    if (face.HasOwnAxes()) {
        const TextureAxes axes = face.Axes();
        m_stream.WriteVector3d(axes.u);
        m_stream.WriteVector3d(axes.v);
    }
    const FaceExtraFields& extra = face.ExtraFields();
    m_stream.WriteByte(extra.present ? 1 : 0);
    if (extra.present) {
        m_stream.WriteInt64(extra.contents);
        m_stream.WriteInt64(extra.surface);
        m_stream.WriteInt64(extra.value);
    }
}

void RmfWriter::WriteKeyValues(const CEditGameClass& object) {
    m_stream.WriteString(object.ClassName());
    m_stream.WriteInt(object.Angle());
    m_stream.WriteInt(static_cast<std::int32_t>(object.SpawnFlags()));
    m_stream.WriteInt(object.KeyValueCount());
    for (const CEditGameClass::KeyValue& pair : object.KeyValues()) {
        m_stream.WriteString(pair.key);
        if (pair.value.size() > RmfStream::kMaxString) {
            m_result.Add(FileDiagnosticKind::ValueCut, 0, 0, pair.key).owner = object.ClassName();
        }
        m_stream.WriteString(pair.value);
    }
}
