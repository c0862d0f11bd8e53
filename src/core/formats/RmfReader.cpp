#include "formats/RmfReader.h"

#include "formats/MapDialectFormats.h"
#include "formats/MapObjectAccess.h"
#include "gamedata/EntityClassDef.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapFace.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>

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

bool LooksLikeMapText(std::string_view data) {
    // A real RMF file starts with its version; one the reader takes is never MAP text.
    float version = 0.0f;
    if (data.size() >= sizeof version) {
        std::memcpy(&version, data.data(), sizeof version);
        if (version >= RmfStream::kOldestVersion && version <= RmfStream::kVersion) {
            return false;
        }
    }
    std::size_t start = 0;
    while (start < data.size() && std::isspace(static_cast<unsigned char>(data[start]))) {
        ++start;
    }
    const std::string_view text = data.substr(start);
    return text.starts_with('{') || text.starts_with("//");
}

RmfReader::RmfReader(std::string_view data) : m_stream(data, "") {}

FileResult RmfReader::Read(CMapWorld& world, std::string_view data) {
    if (LooksLikeMapText(data)) {
        FileResult result;
        result.Add(FileDiagnosticKind::NotRmfButMapText);
        return result;
    }
    RmfReader reader(data);
    if (const std::optional<FileDiagnosticKind> failure = reader.ReadWorld(world)) {
        reader.m_result.Add(*failure).number = reader.m_version;
    }
    return std::move(reader.m_result);
}

std::optional<FileDiagnosticKind> RmfReader::ReadWorld(CMapWorld& world) {
    if (!m_stream.ReadFloat(m_version)) {
        return FileDiagnosticKind::Corrupt;
    }
    if (!(m_version >= RmfStream::kOldestVersion && m_version <= RmfStream::kVersion)) {
        return FileDiagnosticKind::UnknownVersion;
    }
    m_stream.version = m_version;
    char magic[3] = {};
    if (m_version >= RmfStream::kMagicVersion &&
        (!m_stream.ReadBytes(magic, sizeof magic) || std::memcmp(magic, "RMF", 3) != 0)) {
        return m_stream.Corrupt() ? FileDiagnosticKind::Corrupt : FileDiagnosticKind::NotAMap;
    }
    MapObjectAccess::ResetBounds(world);
    std::string type;
    if (!m_stream.ReadString(type, RmfStream::kMaxString) || type != kTypeMapWorld) {
        return m_stream.Corrupt() ? FileDiagnosticKind::Corrupt : FileDiagnosticKind::NotAMap;
    }
    std::int32_t visGroupCount = 0;
    bool read = ReadObject(world) && ReadKeyValues(world, MapObjectAccess::Pairs(world), true) &&
                m_stream.ReadCount(visGroupCount, INT32_MAX);
    if (read &&
        static_cast<std::size_t>(visGroupCount) > m_stream.Remaining() / kVisGroupRecordSize) {
        m_stream.MarkCorrupt();
        read = false;
    }
    for (std::int32_t i = 0; read && i < visGroupCount; ++i) {
        VisGroup group;
        read = ReadVisGroup(m_stream, group);
        if (read) {
            world.AddVisGroup(group);
        }
    }
    world.SetDialect(MapDialect::Standard);
    if (read && m_version >= kExactFacesFrom) {
        std::uint8_t dialect = 0;
        read = m_stream.ReadByte(dialect) && IsKnownMapDialect(dialect);
        if (read) {
            world.SetDialect(static_cast<MapDialect>(dialect));
        }
    }
    if (!read) {
        return FileDiagnosticKind::Corrupt;
    }
    world.UpdateVisibleObjects(CMapWorld::kUseStoredFilter);
    return std::nullopt;
}

bool RmfReader::ReadObject(CMapClass& object) {
    std::int32_t visGroupBytes = 0;
    std::uint8_t bytes[kVisGroupBytes] = {};
    std::uint8_t rgb[3] = {};
    std::int32_t childCount = 0;
    if (!m_stream.ReadCount(visGroupBytes, kVisGroupBytes) ||
        !m_stream.ReadBytes(bytes, static_cast<std::size_t>(visGroupBytes)) ||
        !m_stream.ReadBytes(rgb, sizeof rgb) || !m_stream.ReadCount(childCount, INT32_MAX)) {
        return false;
    }
    VisGroupIds ids{};
    std::size_t slot = 0;
    for (std::uint8_t id : bytes) {
        if (id != 0) {
            ids[slot++] = id;
        }
    }
    MapObjectAccess::StoreVisGroups(object, ids);
    object.SetRenderState(RENDER_SET_COLOR, (std::uint32_t{rgb[0]} << 16) |
                                                (std::uint32_t{rgb[1]} << 8) |
                                                std::uint32_t{rgb[2]});
    if (childCount > 0 && m_stream.depth >= RmfStream::kMaxDepth) {
        m_stream.MarkCorrupt();
        return false;
    }
    ++m_stream.depth;
    bool read = true;
    for (std::int32_t i = 0; read && i < childCount; ++i) {
        std::string type;
        if (!m_stream.ReadString(type, RmfStream::kMaxString)) {
            read = false;
            break;
        }
        std::unique_ptr<CMapClass> child = NewChildOfType(type);
        if (!child) {
            m_stream.MarkCorrupt();
            read = false;
            break;
        }
        if (type == kTypeMapSolid) {
            read = ReadSolid(static_cast<CMapSolid&>(*child));
        } else if (type == kTypeMapEntity) {
            read = ReadEntity(static_cast<CMapEntity&>(*child));
        } else {
            read = ReadObject(*child);
        }
        if (read) {
            object.AddChild(child.release());
        }
    }
    --m_stream.depth;
    return read;
}

bool RmfReader::ReadSolid(CMapSolid& solid) {
    if (!ReadObject(solid)) {
        return false;
    }
    std::int32_t count = 0;
    if (!m_stream.ReadCount(count, CMapSolid::kMaxFaces)) {
        return false;
    }
    std::vector<CMapFace> faces;
    faces.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        CMapFace face = m_stream.Faces().Blank();
        if (!ReadFace(face)) {
            return false;
        }
        faces.push_back(std::move(face));
    }
    MapObjectAccess::StoreFaces(solid, faces);
    solid.CalcBounds();
    solid.UpdateContentsFromTexture();
    for (int i = 0; i < solid.FaceCount(); ++i) {
        solid.Face(i).SetDisplayColor(solid.GetColor());
    }
    solid.SetNeedsRebuild(true);
    return true;
}

bool RmfReader::ReadFace(CMapFace& face) {
    char name[FaceTextureInfo::kNameSize];
    float numbers[5];
    std::int32_t count = 0;
    if (!m_stream.ReadBytes(name, sizeof name) || !m_stream.ReadBytes(numbers, sizeof numbers) ||
        (m_version < kExtraFaceBytesBefore && !m_stream.Skip(4)) ||
        !m_stream.ReadCount(count, CMapFace::kMaxPoints)) {
        return false;
    }
    Vector points[CMapFace::kMaxPoints];
    for (std::int32_t i = 0; i < count; ++i) {
        if (!m_stream.ReadVector(points[i])) {
            return false;
        }
        if (m_version < kNegatedZBefore) {
            points[i].z = -points[i].z;
        }
    }
    // The name as SetTextureName applies it, with its texture.
    face = m_stream.Faces().WithTexture(std::string_view(name, sizeof name));
    MapObjectAccess::StoreRotation(face, numbers[0]);
    face.SetShift(numbers[1], numbers[2]);
    face.SetScale(numbers[3], numbers[4]);
    face.SetPoints(points, count);
    if (m_version < kNoPlanePointsBefore) {
        return true;
    }
    std::array<Vector3d, 3> planePoints;
    for (Vector3d& point : planePoints) {
        Vector single;
        if (!m_stream.ReadVector(single)) {
            return false;
        }
        point = single;
    }
    if (m_version >= kExactFacesFrom) {
        std::uint8_t ownAxes = 0;
        std::uint8_t extraPresent = 0;
        TextureAxes axes;
        double rotation = 0.0;
        double shift[2] = {};
        double scale[2] = {};
        FaceExtraFields extra;
        for (Vector3d& point : planePoints) {
            if (!m_stream.ReadVector3d(point)) {
                return false;
            }
        }
        if (!m_stream.ReadDouble(rotation) || !m_stream.ReadDouble(shift[0]) ||
            !m_stream.ReadDouble(shift[1]) || !m_stream.ReadDouble(scale[0]) ||
            !m_stream.ReadDouble(scale[1]) || !m_stream.ReadByte(ownAxes) ||
            (ownAxes != 0 && (!m_stream.ReadVector3d(axes.u) || !m_stream.ReadVector3d(axes.v))) ||
            !m_stream.ReadByte(extraPresent) ||
            (extraPresent != 0 &&
             (!m_stream.ReadInt64(extra.contents) || !m_stream.ReadInt64(extra.surface) ||
              !m_stream.ReadInt64(extra.value)))) {
            return false;
        }
        if (ownAxes > 1 || extraPresent > 1) {
            m_stream.MarkCorrupt();
            return false;
        }
        MapObjectAccess::StoreRotation(face, rotation);
        face.SetShift(shift[0], shift[1]);
        face.SetScale(scale[0], scale[1]);
        extra.present = extraPresent != 0;
        face.SetExtraFields(extra);
        if (ownAxes != 0) {
            face.SetAxes(axes);
        }
    }
    // Plane points of the file that span no plane give way to those of the polygon.
    const std::array<Vector3d, 3> fromPolygon = face.PlanePoints();
    face.MutablePlanePoints() = planePoints;
    if (!face.PlanePointsDefinePlane()) {
        face.MutablePlanePoints() = fromPolygon;
        if (!face.PlanePointsDefinePlane()) {
            face.MutablePlanePoints() = planePoints;
        }
    }
    face.CalcPlane();
    return true;
}

bool RmfReader::ReadEntity(CMapEntity& entity) {
    if (!ReadObject(entity)) {
        return false;
    }
    entity.SetReserved(0);
    std::uint16_t flags = 0;
    Vector origin;
    std::int32_t reserved = 0;
    if (!ReadKeyValues(entity, MapObjectAccess::Pairs(entity), false) ||
        !m_stream.ReadShort(flags) || !m_stream.ReadVector(origin) || !m_stream.ReadInt(reserved)) {
        return false;
    }
    entity.SetFlags(flags);
    if (const EntityClassDef* gameClass = entity.GameClass()) {
        if (gameClass->IsSolidClass()) {
            entity.SetPointEntity(false);
        } else if (gameClass->IsPointClass()) {
            entity.SetPointEntity(true);
        }
    }
    if (!entity.IsPointEntity()) {
        origin = Vector{0, 0, 0};
    }
    if (m_version < kNegatedZBefore) {
        origin.z = -origin.z;
    }
    entity.SetOrigin(origin);
    entity.SetNeedsRebuild(true);
    return true;
}

bool RmfReader::ReadKeyValues(CEditGameClass& object, std::vector<CEditGameClass::KeyValue>& pairs,
                              bool isWorld) {
    std::string className;
    std::int32_t angle = 0;
    std::int32_t spawnFlags = 0;
    std::int32_t count = 0;
    if (!m_stream.ReadString(className, CEditGameClass::kMaxClassName) ||
        !m_stream.ReadInt(angle) || !m_stream.ReadInt(spawnFlags) ||
        !m_stream.ReadCount(count, INT32_MAX)) {
        return false;
    }
    object.SetClass(className);
    object.SetAngle(angle);
    object.SetSpawnFlags(static_cast<std::uint32_t>(spawnFlags));
    pairs.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        CEditGameClass::KeyValue pair;
        if (!m_stream.ReadString(pair.key, CEditGameClass::kMaxKey) ||
            !m_stream.ReadString(pair.value, CEditGameClass::kMaxValue)) {
            return false;
        }
        if (isWorld && EqualsIgnoreCase(pair.key, "origin")) {
            // The world has no position: its "origin" is a pair like any other, as MAP text
            // gives it, and stays one.
            auto same = std::find_if(pairs.begin(), pairs.end(), [&pair](const auto& kept) {
                return EqualsIgnoreCase(kept.key, pair.key);
            });
            if (same != pairs.end()) {
                same->value = std::move(pair.value);
            } else {
                pairs.push_back(std::move(pair));
            }
            continue;
        }
        // A key held twice keeps its last value; a pair named like one of the fields (as
        // older files may hold "angle" beside the angle) sets that field, as it did in the
        // game when exported after it.
        object.SetKeyValue(pair.key, pair.value);
    }
    return true;
}
