// The RMF forms of map objects: the record body every object shares, faces, solids,
// entities and the world (which reads and writes whole files).

#include "common/EditorContext.h"
#include "formats/RmfStream.h"
#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
constexpr int kVisGroupBytes = 8;
constexpr std::size_t kVisGroupRecordSize = 136;
constexpr std::size_t kVisGroupNameSize = 128;
constexpr float kNoPlanePointsBefore = 0.7f;
constexpr float kExtraFaceBytesBefore = 0.6f;
constexpr float kNegatedZBefore = 0.5f;
constexpr float kExactFacesFrom = 0.9f;

std::unique_ptr<CMapClass> NewChildOfType(const std::string& type) {
    if (type == kTypeMapSolid) {
        return std::make_unique<CMapSolid>();
    }
    if (type == kTypeMapEntity) {
        return std::make_unique<CMapEntity>();
    }
    if (type == kTypeMapGroup) {
        return std::make_unique<CMapGroup>();
    }
    // A world is the root of a file and never a child; anything else is unknown.
    return nullptr;
}

void WriteKeyValueBlock(RmfStream& stream, const CEditGameClass& object) {
    stream.WriteString(object.ClassName());
    stream.WriteInt(object.Angle());
    stream.WriteInt(static_cast<std::int32_t>(object.SpawnFlags()));
    stream.WriteInt(object.KeyValueCount());
    for (const CEditGameClass::KeyValue& pair : object.KeyValues()) {
        stream.WriteString(pair.key);
        if (pair.value.size() > RmfStream::kMaxString) {
            Editor().messages.AddLine(
                MessageLog::Error,
                "The value of \"%s\" of %s was cut to %zu characters: RMF holds no more.",
                pair.key.c_str(), object.ClassName().c_str(), RmfStream::kMaxString);
        }
        stream.WriteString(pair.value);
    }
}

// The class name goes through SetClass of object (an entity's class change); angle, spawn
// flags and pairs are stored as read, the pairs through SetKeyValue.
bool ReadKeyValueBlock(RmfStream& stream, CEditGameClass& object,
                       std::vector<CEditGameClass::KeyValue>& pairs) {
    std::string className;
    std::int32_t angle = 0;
    std::int32_t spawnFlags = 0;
    std::int32_t count = 0;
    if (!stream.ReadString(className, CEditGameClass::kMaxClassName) || !stream.ReadInt(angle) ||
        !stream.ReadInt(spawnFlags) || !stream.ReadCount(count, INT32_MAX)) {
        return false;
    }
    object.SetClass(className);
    object.SetAngle(angle);
    object.SetSpawnFlags(static_cast<std::uint32_t>(spawnFlags));
    pairs.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        CEditGameClass::KeyValue pair;
        if (!stream.ReadString(pair.key, CEditGameClass::kMaxKey) ||
            !stream.ReadString(pair.value, CEditGameClass::kMaxValue)) {
            return false;
        }
        // A key held twice keeps its last value; a pair named like one of the fields (as
        // older files may hold "angle" beside the angle) sets that field, as it did in the
        // game when exported after it.
        object.SetKeyValue(pair.key, pair.value);
    }
    return true;
}

void ShowMessage(const char* text) {
    Editor().GetPrompts().Message(text, Prompts::Icon::Error);
}

void ShowOsError(const char* action, const std::string& name) {
    char text[600];
    std::snprintf(text, sizeof text, "The OS reported an error %s the file: %s", action,
                  name.c_str());
    ShowMessage(text);
}

void WriteVisGroup(RmfStream& stream, const VisGroup& group) {
    char record[kVisGroupRecordSize] = {};
    std::memcpy(record, group.name.data(), std::min(group.name.size(), VisGroup::kMaxName));
    const std::uint32_t color = group.color & 0xFFFFFFu;
    std::memcpy(record + kVisGroupNameSize, &color, sizeof color);
    record[132] = static_cast<char>(group.id);
    record[133] = group.visible ? 1 : 0;
    stream.WriteBytes(record, sizeof record);
}

bool ReadVisGroup(RmfStream& stream, VisGroup& group) {
    unsigned char record[kVisGroupRecordSize];
    if (!stream.ReadBytes(record, sizeof record)) {
        return false;
    }
    const void* end = std::memchr(record, 0, kVisGroupNameSize);
    if (!end) {
        stream.MarkCorrupt();
        return false;
    }
    group.name.assign(reinterpret_cast<const char*>(record),
                      static_cast<std::size_t>(static_cast<const unsigned char*>(end) - record));
    std::uint32_t color = 0;
    std::memcpy(&color, record + kVisGroupNameSize, sizeof color);
    group.color = color & 0xFFFFFFu;
    group.id = record[132];
    group.visible = record[133] != 0;
    return true;
}
} // namespace

int CMapClass::SerializeRMF(RmfStream& stream, bool saving) {
    if (saving) {
        stream.WriteInt(kVisGroupBytes);
        stream.WriteBytes(m_visGroups.data(), m_visGroups.size());
        stream.WriteByte(static_cast<std::uint8_t>(m_color >> 16));
        stream.WriteByte(static_cast<std::uint8_t>(m_color >> 8));
        stream.WriteByte(static_cast<std::uint8_t>(m_color));
        stream.WriteInt(static_cast<std::int32_t>(m_children.size()));
        for (CMapClass* child : m_children) {
            stream.WriteString(child->GetType());
            if (child->SerializeRMF(stream, true) != 0) {
                return -1;
            }
        }
        return stream.Failed() ? -1 : 0;
    }

    std::int32_t visGroupBytes = 0;
    std::uint8_t bytes[kVisGroupBytes] = {};
    std::uint8_t rgb[3] = {};
    std::int32_t childCount = 0;
    if (!stream.ReadCount(visGroupBytes, kVisGroupBytes) ||
        !stream.ReadBytes(bytes, static_cast<std::size_t>(visGroupBytes)) ||
        !stream.ReadBytes(rgb, sizeof rgb) || !stream.ReadCount(childCount, INT32_MAX)) {
        return -1;
    }
    VisGroupIds ids{};
    std::size_t slot = 0;
    for (std::uint8_t id : bytes) {
        if (id != 0) {
            ids[slot++] = id;
        }
    }
    m_visGroups = ids;
    SetRenderState(RENDER_SET_COLOR, (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) |
                                         std::uint32_t{rgb[2]});
    if (childCount > 0 && stream.depth >= RmfStream::kMaxDepth) {
        stream.MarkCorrupt();
        return -1;
    }
    ++stream.depth;
    int result = 0;
    for (std::int32_t i = 0; i < childCount; ++i) {
        std::string type;
        if (!stream.ReadString(type, RmfStream::kMaxString)) {
            result = -1;
            break;
        }
        std::unique_ptr<CMapClass> child = NewChildOfType(type);
        if (!child) {
            stream.MarkCorrupt();
            result = -1;
            break;
        }
        if (child->SerializeRMF(stream, false) != 0) {
            result = -1;
            break;
        }
        AddChild(child.release());
    }
    --stream.depth;
    return result;
}

int CMapFace::SerializeRMF(RmfStream& stream, bool saving) {
    if (saving) {
        const FaceTextureInfo info = TextureInfo();
        stream.WriteBytes(info.name, sizeof info.name);
        stream.WriteFloat(info.rotation);
        stream.WriteFloat(info.shiftX);
        stream.WriteFloat(info.shiftY);
        stream.WriteFloat(info.scaleX);
        stream.WriteFloat(info.scaleY);
        stream.WriteInt(PointCount());
        for (const Vector& point : m_points) {
            stream.WriteVector(point);
        }
        for (const Vector3d& point : m_planePoints) {
            stream.WriteVector(point.ToFloat());
        }
        // The exact numbers.
        for (const Vector3d& point : m_planePoints) {
            stream.WriteVector3d(point);
        }
        stream.WriteDouble(m_rotation);
        stream.WriteDouble(m_shiftX);
        stream.WriteDouble(m_shiftY);
        stream.WriteDouble(m_scaleX);
        stream.WriteDouble(m_scaleY);
        stream.WriteByte(m_ownAxes ? 1 : 0);
        if (m_ownAxes) {
            stream.WriteVector3d(m_axes.u);
            stream.WriteVector3d(m_axes.v);
        }
        stream.WriteByte(m_extra.present ? 1 : 0);
        if (m_extra.present) {
            stream.WriteInt64(m_extra.contents);
            stream.WriteInt64(m_extra.surface);
            stream.WriteInt64(m_extra.value);
        }
        return 0;
    }

    char name[FaceTextureInfo::kNameSize];
    float numbers[5];
    std::int32_t count = 0;
    if (!stream.ReadBytes(name, sizeof name) || !stream.ReadBytes(numbers, sizeof numbers) ||
        (stream.version < kExtraFaceBytesBefore && !stream.Skip(4)) ||
        !stream.ReadCount(count, kMaxPoints)) {
        return -1;
    }
    Vector points[kMaxPoints];
    for (std::int32_t i = 0; i < count; ++i) {
        if (!stream.ReadVector(points[i])) {
            return -1;
        }
        if (stream.version < kNegatedZBefore) {
            points[i].z = -points[i].z;
        }
    }
    // The name as SetTextureName applies it, with its texture.
    *this = stream.Faces().WithTexture(std::string_view(name, sizeof name));
    m_rotation = numbers[0];
    m_shiftX = numbers[1];
    m_shiftY = numbers[2];
    m_scaleX = numbers[3];
    m_scaleY = numbers[4];
    SetPoints(points, count);
    if (stream.version >= kNoPlanePointsBefore) {
        std::array<Vector3d, 3> planePoints;
        for (Vector3d& point : planePoints) {
            Vector single;
            if (!stream.ReadVector(single)) {
                return -1;
            }
            point = single;
        }
        if (stream.version >= kExactFacesFrom) {
            std::uint8_t ownAxes = 0;
            std::uint8_t extra = 0;
            TextureAxes axes;
            for (Vector3d& point : planePoints) {
                if (!stream.ReadVector3d(point)) {
                    return -1;
                }
            }
            if (!stream.ReadDouble(m_rotation) || !stream.ReadDouble(m_shiftX) ||
                !stream.ReadDouble(m_shiftY) || !stream.ReadDouble(m_scaleX) ||
                !stream.ReadDouble(m_scaleY) || !stream.ReadByte(ownAxes) ||
                (ownAxes != 0 && (!stream.ReadVector3d(axes.u) || !stream.ReadVector3d(axes.v))) ||
                !stream.ReadByte(extra) ||
                (extra != 0 &&
                 (!stream.ReadInt64(m_extra.contents) || !stream.ReadInt64(m_extra.surface) ||
                  !stream.ReadInt64(m_extra.value)))) {
                return -1;
            }
            if (ownAxes > 1 || extra > 1) {
                stream.MarkCorrupt();
                return -1;
            }
            m_extra.present = extra != 0;
            if (ownAxes != 0) {
                SetAxes(axes);
            }
        }
        // Plane points of the file that span no plane give way to those of the polygon.
        const std::array<Vector3d, 3> fromPolygon = m_planePoints;
        m_planePoints = planePoints;
        if (!PlanePointsDefinePlane()) {
            m_planePoints = fromPolygon;
            if (!PlanePointsDefinePlane()) {
                m_planePoints = planePoints;
            }
        }
        CalcPlane();
    }
    return 0;
}

int CMapSolid::SerializeRMF(RmfStream& stream, bool saving) {
    if (CMapClass::SerializeRMF(stream, saving) != 0) {
        return -1;
    }
    if (saving) {
        stream.WriteInt(FaceCount());
        for (CMapFace& face : m_faces) {
            face.SerializeRMF(stream, true);
        }
        return stream.EndObject() ? 0 : -1;
    }

    std::int32_t count = 0;
    if (!stream.ReadCount(count, kMaxFaces)) {
        return -1;
    }
    m_faces.clear();
    m_faces.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        CMapFace face = stream.Faces().Blank();
        if (face.SerializeRMF(stream, false) != 0) {
            return -1;
        }
        m_faces.push_back(std::move(face));
    }
    AdoptFaces();
    CalcBounds();
    UpdateContentsFromTexture();
    for (CMapFace& face : m_faces) {
        face.SetDisplayColor(m_color);
    }
    m_needsRebuild = true;
    return 0;
}

int CMapEntity::SerializeRMF(RmfStream& stream, bool saving) {
    if (CMapClass::SerializeRMF(stream, saving) != 0) {
        return -1;
    }
    if (saving) {
        WriteKeyValueBlock(stream, *this);
        stream.WriteShort(m_flags);
        stream.WriteVector(m_origin);
        stream.WriteInt(m_reserved != 0 ? 1 : 0);
        return stream.EndObject() ? 0 : -1;
    }

    m_reserved = 0;
    std::uint16_t flags = 0;
    Vector origin;
    std::int32_t reserved = 0;
    if (!ReadKeyValueBlock(stream, *this, m_keyValues) || !stream.ReadShort(flags) ||
        !stream.ReadVector(origin) || !stream.ReadInt(reserved)) {
        return -1;
    }
    m_flags = flags;
    if (const EntityClassDef* gameClass = GameClass()) {
        if (gameClass->IsSolidClass()) {
            SetPointEntity(false);
        } else if (gameClass->IsPointClass()) {
            SetPointEntity(true);
        }
    }
    if (!IsPointEntity()) {
        origin = Vector{0, 0, 0};
    }
    if (stream.version < kNegatedZBefore) {
        origin.z = -origin.z;
    }
    SetOrigin(origin);
    m_needsRebuild = true;
    return 0;
}

int CMapWorld::SerializeRMF(RmfStream& stream, bool saving) {
    if (saving) {
        stream.WriteFloat(RmfStream::kVersion);
        stream.WriteBytes("RMF", 3);
        stream.WriteString(kTypeMapWorld);
        if (CMapClass::SerializeRMF(stream, true) == 0) {
            WriteKeyValueBlock(stream, *this);
            stream.WriteInt(VisGroupCount());
            for (const VisGroup& group : m_visGroupTable) {
                WriteVisGroup(stream, group);
            }
            stream.WriteByte(static_cast<std::uint8_t>(m_dialect));
        }
        if (!stream.Flush()) {
            ShowOsError("saving", stream.DisplayName());
            return -1;
        }
        return 0;
    }

    float version = 0.0f;
    if (!stream.ReadFloat(version)) {
        ShowMessage("The file is corrupt.");
        return -1;
    }
    if (!(version >= RmfStream::kOldestVersion && version <= RmfStream::kVersion)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Oops! SerializeRMF() v%1.1f tried to load a file v%1.1f. Aborting.",
                      static_cast<double>(RmfStream::kVersion), static_cast<double>(version));
        ShowMessage(text);
        return -1;
    }
    stream.version = version;
    char magic[3] = {};
    if (version >= RmfStream::kMagicVersion &&
        (!stream.ReadBytes(magic, sizeof magic) || std::memcmp(magic, "RMF", 3) != 0)) {
        ShowMessage(stream.Corrupt() ? "The file is corrupt." : "Invalid file type.");
        return -1;
    }
    m_bounds.ResetBounds();
    std::string type;
    if (!stream.ReadString(type, RmfStream::kMaxString) || type != kTypeMapWorld) {
        ShowMessage(stream.Corrupt() ? "The file is corrupt." : "Invalid file type.");
        return -1;
    }
    std::int32_t visGroupCount = 0;
    bool read = CMapClass::SerializeRMF(stream, false) == 0 &&
                ReadKeyValueBlock(stream, *this, m_keyValues) &&
                stream.ReadCount(visGroupCount, INT32_MAX);
    if (read &&
        static_cast<std::size_t>(visGroupCount) > stream.Remaining() / kVisGroupRecordSize) {
        stream.MarkCorrupt();
        read = false;
    }
    for (std::int32_t i = 0; read && i < visGroupCount; ++i) {
        VisGroup group;
        read = ReadVisGroup(stream, group);
        if (read) {
            AddVisGroup(group);
        }
    }
    m_dialect = MapDialect::Standard;
    if (read && version >= kExactFacesFrom) {
        std::uint8_t dialect = 0;
        read = stream.ReadByte(dialect) && dialect <= 1;
        m_dialect = dialect == 1 ? MapDialect::TextureAxes : MapDialect::Standard;
    }
    if (!read) {
        ShowMessage("The file is corrupt.");
        return -1;
    }
    UpdateVisibleObjects(kUseStoredFilter);
    return 0;
}
