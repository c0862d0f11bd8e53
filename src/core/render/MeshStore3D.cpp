#include "render/MeshStore3D.h"

#include "mapobjects/MapSolid.h"
#include "render/MeshRecord3D.h"

#include <algorithm>
#include <cmath>
#include <functional>

void MeshRecord3D::Changed() {
    if (store) {
        store->MeshChanged(*this);
    }
}

namespace {

class SolidMesh3D : public RenderObject {
public:
    explicit SolidMesh3D(std::shared_ptr<MeshRecord3D> record) : m_record(std::move(record)) {}
    ~SolidMesh3D() override {
        if (m_record->store) {
            m_record->store->MeshReleased(*m_record);
        }
    }
    void SetColor(std::uint32_t rgb) override {
        for (MeshFace3D& face : m_record->faces) {
            face.color = rgb & 0xFFFFFFu;
        }
        m_record->Changed();
    }
    void ClearTextures() override {
        for (MeshFace3D& face : m_record->faces) {
            face.texture = nullptr;
        }
        m_record->Changed();
    }
    MeshRecord3D& Record() const { return *m_record; }

private:
    std::shared_ptr<MeshRecord3D> m_record;
};

class FaceHandle3D : public RenderFace {
public:
    FaceHandle3D(std::shared_ptr<MeshRecord3D> record, std::size_t index)
        : m_record(std::move(record)), m_index(index) {}
    void SetColor(std::uint32_t rgb) override {
        Face().color = rgb & 0xFFFFFFu;
        m_record->Changed();
    }
    void SetTexture(QuakeGraphic* texture, const TexCoord* coords, int count) override {
        MeshFace3D& face = Face();
        // Coordinates must match the polygon point for point; anything else shows no texture.
        if (texture && coords && count == static_cast<int>(face.count)) {
            std::vector<TexCoord>& all = m_record->coords;
            all.resize(m_record->points.size());
            std::copy(coords, coords + count, all.begin() + face.first);
            face.texture = texture;
        } else {
            face.texture = nullptr;
        }
        m_record->Changed();
    }

private:
    MeshFace3D& Face() { return m_record->faces[m_index]; }

    std::shared_ptr<MeshRecord3D> m_record;
    std::size_t m_index;
};

constexpr std::uint32_t kWhite = 0xFFFFFFu;

// The colour an unselected object shows when not textured: a member of a group or entity
// takes its parent's colour.
std::uint32_t FilledColor(const CMapClass& object) {
    const CMapClass* parent = object.Parent();
    return (parent && !parent->IsWorld()) ? parent->GetColor() : object.GetColor();
}

std::int8_t PackNormal(float value) {
    return static_cast<std::int8_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 127.0f));
}

// The polygon's normal from its points (Newell's method), not normalised.
Vector PolygonNormal(const Vector* points, std::size_t count) {
    Vector n;
    for (std::size_t i = 0; i < count; ++i) {
        const Vector& a = points[i];
        const Vector& b = points[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

} // namespace

MeshStore3D::MeshStore3D() = default;

MeshStore3D::~MeshStore3D() {
    for (MeshRecord3D* record : m_records) {
        record->store = nullptr;
        record->chunk = -1;
        record->visual = false;
    }
}

std::unique_ptr<RenderObject> MeshStore3D::CreateSolidMesh(CMapSolid& shape, CMapClass& owner) {
    auto record = std::make_shared<MeshRecord3D>();
    record->store = this;
    record->owner = &owner;
    record->faces.reserve(static_cast<std::size_t>(shape.FaceCount()));
    std::size_t pointCount = 0;
    for (int i = 0; i < shape.FaceCount(); ++i) {
        pointCount += static_cast<std::size_t>(shape.Face(i).PointCount());
    }
    record->points.reserve(pointCount);
    for (int i = 0; i < shape.FaceCount(); ++i) {
        CMapFace& face = shape.Face(i);
        if (face.PointCount() <= 0) {
            continue;
        }
        MeshFace3D meshFace;
        meshFace.faceIndex = i;
        meshFace.first = static_cast<std::uint32_t>(record->points.size());
        meshFace.count = static_cast<std::uint32_t>(face.PointCount());
        record->points.insert(record->points.end(), face.Points(),
                              face.Points() + face.PointCount());
        for (int p = 0; p < face.PointCount(); ++p) {
            record->bounds.UpdateBounds(face.Point(p));
        }
        Vector normal = face.GetPlane().normal;
        if (VectorLength(normal) == 0.0f) {
            normal = PolygonNormal(face.Points(), meshFace.count);
            if (VectorLength(normal) > 0.0f) {
                VectorNormalize(normal);
            }
        }
        meshFace.normal = normal;
        record->faces.push_back(std::move(meshFace));
        face.SetRender3D(std::make_unique<FaceHandle3D>(record, record->faces.size() - 1));
    }
    record->recordIndex = m_records.size();
    m_records.push_back(record.get());
    ++m_meshesMade;
    return std::make_unique<SolidMesh3D>(std::move(record));
}

MeshRecord3D* MeshStore3D::RecordOf(const RenderObject* mesh) const {
    const auto* solidMesh = dynamic_cast<const SolidMesh3D*>(mesh);
    if (!solidMesh || solidMesh->Record().store != this) {
        return nullptr;
    }
    return &solidMesh->Record();
}

bool MeshStore3D::Owns(const RenderObject* mesh) const {
    return RecordOf(mesh) != nullptr;
}

void MeshStore3D::AddVisual(RenderObject* mesh) {
    MeshRecord3D* record = RecordOf(mesh);
    if (!record || record->visual) {
        return;
    }
    record->visual = true;
    ++m_visualCount;
    Place(*record);
}

void MeshStore3D::RemoveVisual(RenderObject* mesh) {
    MeshRecord3D* record = RecordOf(mesh);
    if (!record || !record->visual) {
        return;
    }
    record->visual = false;
    --m_visualCount;
    Unplace(*record);
}

void MeshStore3D::ClearVisuals() {
    for (auto& chunk : m_chunks) {
        for (MeshRecord3D* record : chunk->members) {
            record->visual = false;
            record->chunk = -1;
        }
        chunk->members.clear();
        chunk->faceCount = 0;
        chunk->stale = true;
    }
    m_visualCount = 0;
    m_fillChunk = 0;
}

bool MeshStore3D::IsVisual(const RenderObject* mesh) const {
    const MeshRecord3D* record = RecordOf(mesh);
    return record && record->visual;
}

void MeshStore3D::Place(MeshRecord3D& record) {
    const std::size_t faces = record.faces.size();
    auto fits = [&](std::size_t index) {
        const MeshChunk3D& chunk = *m_chunks[index];
        return chunk.members.empty() || chunk.faceCount + faces <= kChunkFaces;
    };
    if (m_fillChunk >= m_chunks.size() || !fits(m_fillChunk)) {
        std::size_t index = 0;
        while (index < m_chunks.size() && !fits(index)) {
            ++index;
        }
        if (index == m_chunks.size()) {
            m_chunks.push_back(std::make_unique<MeshChunk3D>());
        }
        m_fillChunk = index;
    }
    MeshChunk3D& chunk = *m_chunks[m_fillChunk];
    record.chunk = static_cast<int>(m_fillChunk);
    record.slot = chunk.members.size();
    chunk.members.push_back(&record);
    chunk.faceCount += faces;
    chunk.stale = true;
}

void MeshStore3D::Unplace(MeshRecord3D& record) {
    if (record.chunk < 0) {
        return;
    }
    MeshChunk3D& chunk = *m_chunks[static_cast<std::size_t>(record.chunk)];
    MeshRecord3D* last = chunk.members.back();
    chunk.members[record.slot] = last;
    last->slot = record.slot;
    chunk.members.pop_back();
    chunk.faceCount -= record.faces.size();
    chunk.stale = true;
    record.chunk = -1;
}

void MeshStore3D::MeshChanged(MeshRecord3D& record) {
    if (record.chunk >= 0) {
        m_chunks[static_cast<std::size_t>(record.chunk)]->stale = true;
    }
}

void MeshStore3D::MeshReleased(MeshRecord3D& record) {
    if (record.visual) {
        record.visual = false;
        --m_visualCount;
        Unplace(record);
    }
    MeshRecord3D* last = m_records.back();
    m_records[record.recordIndex] = last;
    last->recordIndex = record.recordIndex;
    m_records.pop_back();
    record.store = nullptr;
}

void MeshStore3D::SetStyle(MeshStyle3D style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    for (auto& chunk : m_chunks) {
        chunk->stale = true;
    }
}

bool MeshStore3D::HasStaleChunks() const {
    return std::any_of(m_chunks.begin(), m_chunks.end(),
                       [](const auto& chunk) { return chunk->stale; });
}

std::vector<int> MeshStore3D::RefreshChunks() {
    std::vector<int> refreshed;
    for (std::size_t i = 0; i < m_chunks.size(); ++i) {
        if (m_chunks[i]->stale) {
            Rebuild(*m_chunks[i]);
            refreshed.push_back(static_cast<int>(i));
        }
    }
    return refreshed;
}

void MeshStore3D::Rebuild(MeshChunk3D& chunk) {
    struct Entry {
        QuakeGraphic* texture;
        const MeshFace3D* face;
        const MeshRecord3D* record;
    };
    std::vector<Entry> entries;
    entries.reserve(chunk.faceCount);
    const bool textured = m_style == MeshStyle3D::Textured;
    for (const MeshRecord3D* record : chunk.members) {
        for (const MeshFace3D& face : record->faces) {
            if (face.count < 3) {
                continue;
            }
            entries.push_back({textured ? face.texture : nullptr, &face, record});
        }
    }
    if (textured) {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return std::less<const QuakeGraphic*>()(a.texture, b.texture);
        });
    }

    chunk.vertices.clear();
    chunk.indices.clear();
    chunk.ranges.clear();
    chunk.bounds.ResetBounds();
    const bool outlines = m_style == MeshStyle3D::Outlines;
    for (const Entry& entry : entries) {
        const MeshFace3D& face = *entry.face;
        if (chunk.ranges.empty() || chunk.ranges.back().texture != entry.texture) {
            chunk.ranges.push_back(
                {entry.texture, static_cast<std::uint32_t>(chunk.indices.size()), 0});
        }
        const auto base = static_cast<std::uint32_t>(chunk.vertices.size());
        const std::size_t n = face.count;
        const Vector* points = entry.record->points.data() + face.first;
        const TexCoord* coords = entry.texture ? entry.record->coords.data() + face.first : nullptr;
        const bool withCoords = coords != nullptr;
        // Shown textured, a face is white so its texture shows unchanged; one whose texture
        // has no picture (a name no loaded WAD file holds) would be a blank white shape, so
        // it shows its solid's colour as in the filled mode.
        std::uint32_t color = face.color;
        if (textured && !withCoords && color == kWhite && entry.record->owner) {
            color = FilledColor(*entry.record->owner);
        }
        const std::uint8_t r = static_cast<std::uint8_t>(color >> 16);
        const std::uint8_t g = static_cast<std::uint8_t>(color >> 8);
        const std::uint8_t b = static_cast<std::uint8_t>(color);
        const std::int8_t nx = PackNormal(face.normal.x);
        const std::int8_t ny = PackNormal(face.normal.y);
        const std::int8_t nz = PackNormal(face.normal.z);
        for (std::size_t i = 0; i < n; ++i) {
            const Vector& p = points[i];
            chunk.bounds.UpdateBounds(p);
            MeshVertex3D v{{p.x, p.y, p.z},
                           {withCoords ? coords[i].s : 0.0f, withCoords ? coords[i].t : 0.0f},
                           {r, g, b, 255},
                           {nx, ny, nz, 0}};
            chunk.vertices.push_back(v);
        }
        const auto count = static_cast<std::uint32_t>(n);
        if (outlines) {
            for (std::uint32_t i = 0; i < count; ++i) {
                chunk.indices.push_back(base + i);
                chunk.indices.push_back(base + (i + 1) % count);
            }
        } else {
            // Triangles turn counter-clockwise seen from the side the face looks to, so the
            // back sides can be culled.
            const bool reversed = DotProduct(PolygonNormal(points, n), face.normal) < 0.0f;
            for (std::uint32_t i = 1; i + 1 < count; ++i) {
                chunk.indices.push_back(base);
                chunk.indices.push_back(base + (reversed ? i + 1 : i));
                chunk.indices.push_back(base + (reversed ? i : i + 1));
            }
        }
        chunk.ranges.back().count =
            static_cast<std::uint32_t>(chunk.indices.size()) - chunk.ranges.back().first;
    }
    ++chunk.generation;
    chunk.stale = false;
}
