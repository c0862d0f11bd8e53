#pragma once

#include "geometry/BoundBox.h"
#include "geometry/Vector.h"
#include "mapobjects/RenderObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CMapClass;
class CMapSolid;
class QuakeGraphic;
struct MeshRecord3D;

// One point of the drawing data: position in map units, texture coordinates, colour (red,
// green, blue, alpha) and the face normal scaled to +-127.
struct MeshVertex3D {
    float position[3];
    float texCoord[2];
    std::uint8_t color[4];
    std::int8_t normal[4];
};
static_assert(sizeof(MeshVertex3D) == 28, "vertices are packed for the vertex buffer");

// A run of indices drawn with one texture (null: no texture).
struct MeshRange3D {
    QuakeGraphic* texture = nullptr;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// How faces become drawing data: polygon outlines (wireframe) or filled triangles, and in the
// textured form grouped by texture.
enum class MeshStyle3D { Outlines, Filled, Textured };

// The drawing data of a group of meshes: one vertex array with indices in runs per texture.
// A chunk holds a bounded number of faces, so a change to one mesh re-makes and re-sends only
// the data of its chunk.
struct MeshChunk3D {
    std::vector<MeshVertex3D> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<MeshRange3D> ranges;
    // The box around every point of the chunk (empty when it draws nothing).
    BoundBox bounds;
    // Grows each time the data is re-made.
    unsigned generation = 0;

    // Internal bookkeeping of the store.
    std::vector<MeshRecord3D*> members;
    std::size_t faceCount = 0;
    bool stale = false;
};

// The meshes of one 3D view: makes a mesh for each solid it is asked for (the map object owns
// it), keeps the set of meshes currently shown (the visuals) and turns the shown meshes into
// drawing data chunk by chunk. Meshes outlive the store safely, and the store outlives meshes
// safely: whichever goes first detaches the other.
class MeshStore3D : public RenderFrame {
public:
    // Faces a chunk is filled to before a new one is started.
    static constexpr std::size_t kChunkFaces = 2048;

    MeshStore3D();
    ~MeshStore3D() override;
    MeshStore3D(const MeshStore3D&) = delete;
    MeshStore3D& operator=(const MeshStore3D&) = delete;

    std::unique_ptr<RenderObject> CreateSolidMesh(CMapSolid& shape, CMapClass& owner) override;

    // The visuals: meshes made by this store that are drawn. Adding a mesh that is already
    // shown, or one from elsewhere, does nothing.
    void AddVisual(RenderObject* mesh);
    void RemoveVisual(RenderObject* mesh);
    void ClearVisuals();
    bool IsVisual(const RenderObject* mesh) const;
    std::size_t VisualCount() const { return m_visualCount; }
    // Whether mesh was made by this store and still belongs to it.
    bool Owns(const RenderObject* mesh) const;

    // Changing the style re-makes every chunk's data.
    void SetStyle(MeshStyle3D style);
    MeshStyle3D Style() const { return m_style; }

    // Re-makes the data of every chunk whose meshes changed since the last call and returns
    // the indices of those chunks.
    std::vector<int> RefreshChunks();
    int ChunkCount() const { return static_cast<int>(m_chunks.size()); }
    const MeshChunk3D& Chunk(int index) const { return *m_chunks[static_cast<std::size_t>(index)]; }
    // Chunks waiting to be re-made.
    bool HasStaleChunks() const;

    // How many meshes this store has made (each CreateSolidMesh call).
    std::size_t MeshesMade() const { return m_meshesMade; }

    // Called by meshes: the mesh's data changed, or the mesh is going away.
    void MeshChanged(MeshRecord3D& record);
    void MeshReleased(MeshRecord3D& record);

private:
    void Place(MeshRecord3D& record);
    void Unplace(MeshRecord3D& record);
    void Rebuild(MeshChunk3D& chunk);
    MeshRecord3D* RecordOf(const RenderObject* mesh) const;

    std::vector<std::unique_ptr<MeshChunk3D>> m_chunks;
    std::vector<MeshRecord3D*> m_records;
    std::size_t m_fillChunk = 0;
    std::size_t m_visualCount = 0;
    std::size_t m_meshesMade = 0;
    MeshStyle3D m_style = MeshStyle3D::Outlines;
};
