#include "render/MeshStore3D.h"

#include "core/render/RenderTestSupport.h"
#include "gamedata/QuakeGraphic.h"
#include "session/EditorContext.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <utility>

namespace {

Vector PositionOf(const MeshVertex3D& v) {
    return {v.position[0], v.position[1], v.position[2]};
}

Vector NormalOf(const MeshVertex3D& v) {
    return {v.normal[0] / 127.0f, v.normal[1] / 127.0f, v.normal[2] / 127.0f};
}

std::uint32_t ColorOf(const MeshVertex3D& v) {
    return (std::uint32_t{v.color[0]} << 16) | (std::uint32_t{v.color[1]} << 8) | v.color[2];
}

// Every distinct vertex colour of a chunk.
std::set<std::uint32_t> Colors(const MeshChunk3D& chunk) {
    std::set<std::uint32_t> colors;
    for (const MeshVertex3D& v : chunk.vertices) {
        colors.insert(ColorOf(v));
    }
    return colors;
}

class MeshStore3DTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    MeshStore3D store;

    std::unique_ptr<CMapSolid> ShownBox(const Vector& lo, const Vector& hi) {
        std::unique_ptr<CMapSolid> solid(MakeBoxSolid(lo, hi));
        EXPECT_TRUE(solid->BuildRenderObjects(store, true));
        store.AddVisual(solid->Render3D());
        return solid;
    }
};

} // namespace

TEST_F(MeshStore3DTest, BoxBecomesSixOutwardFacingPolygonsWithTrianglesTurningCounterClockwise) {
    auto box = ShownBox({0, 0, 0}, {64, 32, 16});
    for (int i = 0; i < box->FaceCount(); ++i) {
        EXPECT_NE(box->Face(i).Render3D(), nullptr);
    }
    store.SetStyle(MeshStyle3D::Filled);
    ASSERT_EQ(store.RefreshChunks(), std::vector<int>{0});
    const MeshChunk3D& chunk = store.Chunk(0);
    EXPECT_EQ(chunk.vertices.size(), 24u);
    ASSERT_EQ(chunk.indices.size(), 36u);
    ASSERT_EQ(chunk.ranges.size(), 1u);
    EXPECT_EQ(chunk.ranges[0].texture, nullptr);
    EXPECT_EQ(chunk.ranges[0].count, 36u);
    const Vector centre{32, 16, 8};
    for (std::size_t t = 0; t < chunk.indices.size(); t += 3) {
        const MeshVertex3D& a = chunk.vertices[chunk.indices[t]];
        const MeshVertex3D& b = chunk.vertices[chunk.indices[t + 1]];
        const MeshVertex3D& c = chunk.vertices[chunk.indices[t + 2]];
        const Vector normal = NormalOf(a);
        const Vector turn =
            CrossProduct(PositionOf(b) - PositionOf(a), PositionOf(c) - PositionOf(a));
        EXPECT_GT(DotProduct(turn, normal), 0.0f) << "triangle " << t / 3;
        EXPECT_GT(DotProduct(PositionOf(a) - centre, normal), 0.0f) << "triangle " << t / 3;
    }
}

TEST_F(MeshStore3DTest, WireframeDrawsEachPolygonsOutlineOnce) {
    auto box = ShownBox({0, 0, 0}, {64, 64, 64});
    store.RefreshChunks();
    const MeshChunk3D& chunk = store.Chunk(0);
    ASSERT_EQ(chunk.indices.size(), 48u);
    // Each polygon of four points gives the four edges around it, closing edge included.
    for (std::size_t face = 0; face < 6; ++face) {
        for (std::uint32_t edge = 0; edge < 4; ++edge) {
            EXPECT_EQ(chunk.indices[face * 8 + edge * 2], face * 4 + edge);
            EXPECT_EQ(chunk.indices[face * 8 + edge * 2 + 1], face * 4 + (edge + 1) % 4);
        }
    }
}

TEST_F(MeshStore3DTest, SelectionTintsEveryFaceRedAndDeselectionRestoresTheSolidsColour) {
    auto box = ShownBox({0, 0, 0}, {64, 64, 64});
    const std::uint32_t own = box->GetColor();
    store.RefreshChunks();
    EXPECT_EQ(Colors(store.Chunk(0)), std::set<std::uint32_t>{own});
    box->SetRenderState(RENDER_SELECT, 0);
    EXPECT_TRUE(store.HasStaleChunks());
    store.RefreshChunks();
    EXPECT_EQ(Colors(store.Chunk(0)), std::set<std::uint32_t>{220u << 16});
    box->SetRenderState(RENDER_DESELECT, 0);
    store.RefreshChunks();
    EXPECT_EQ(Colors(store.Chunk(0)), std::set<std::uint32_t>{own});
    // One face selected in face mode is red on its own.
    box->Face(2).SetFaceRenderState(RENDER_SELECT);
    store.RefreshChunks();
    EXPECT_EQ(Colors(store.Chunk(0)), (std::set<std::uint32_t>{own, 220u << 16}));
}

TEST_F(MeshStore3DTest, OnlyVisualsAreDrawnAndAMeshGoingAwayLeavesTheDrawingData) {
    auto a = ShownBox({0, 0, 0}, {64, 64, 64});
    std::unique_ptr<CMapSolid> b(MakeBoxSolid({100, 0, 0}, {164, 64, 64}));
    ASSERT_TRUE(b->BuildRenderObjects(store, true));
    store.RefreshChunks();
    EXPECT_EQ(store.Chunk(0).vertices.size(), 24u);
    EXPECT_EQ(store.VisualCount(), 1u);

    store.AddVisual(b->Render3D());
    store.AddVisual(b->Render3D());
    EXPECT_EQ(store.VisualCount(), 2u);
    store.RefreshChunks();
    EXPECT_EQ(store.Chunk(0).vertices.size(), 48u);

    store.RemoveVisual(a->Render3D());
    store.RefreshChunks();
    EXPECT_EQ(store.Chunk(0).vertices.size(), 24u);
    EXPECT_FALSE(store.IsVisual(a->Render3D()));

    b.reset();
    EXPECT_EQ(store.VisualCount(), 0u);
    EXPECT_EQ(store.RefreshChunks(), std::vector<int>{0});
    EXPECT_TRUE(store.Chunk(0).vertices.empty());

    // A mesh from another store is not shown by this one.
    MeshStore3D other;
    ASSERT_TRUE(a->BuildRenderObjects(other, true));
    store.AddVisual(a->Render3D());
    EXPECT_EQ(store.VisualCount(), 0u);
    EXPECT_FALSE(store.Owns(a->Render3D()));
    EXPECT_TRUE(other.Owns(a->Render3D()));
}

TEST_F(MeshStore3DTest, MeshesOutliveTheirStoreSafely) {
    std::unique_ptr<CMapSolid> box(MakeBoxSolid({0, 0, 0}, {64, 64, 64}));
    {
        MeshStore3D shortLived;
        ASSERT_TRUE(box->BuildRenderObjects(shortLived, true));
        shortLived.AddVisual(box->Render3D());
    }
    // Colour changes and texture changes reach a mesh whose store is gone: nothing happens.
    box->SetRenderState(RENDER_SELECT, 0);
    box->Face(0).SetFaceRenderState(RENDER_SELECT);
    box->Render3D()->ClearTextures();
    // Faces dropped before their mesh, and the mesh before its faces.
    std::unique_ptr<CMapSolid> other(MakeBoxSolid({0, 0, 0}, {8, 8, 8}));
    ASSERT_TRUE(other->BuildRenderObjects(store, true));
    other->SetRender3D(nullptr);
    other->Face(0).SetFaceRenderState(RENDER_SELECT);
    box.reset();
    other.reset();
    EXPECT_EQ(store.VisualCount(), 0u);
}

TEST_F(MeshStore3DTest, TexturedStyleGroupsFacesByTextureAndKeepsTheirCoordinates) {
    auto box = ShownBox({0, 0, 0}, {64, 64, 64});
    QuakeGraphic stone;
    QuakeGraphic water;
    const TexCoord coords[4] = {{0, 0}, {1, 0}, {1, 1}, {0.25f, 0.5f}};
    box->Face(0).Render3D()->SetTexture(&water, coords, 4);
    box->Face(1).Render3D()->SetTexture(&stone, coords, 4);
    box->Face(2).Render3D()->SetTexture(&water, coords, 4);
    // Coordinates that do not match the polygon show no texture.
    box->Face(3).Render3D()->SetTexture(&stone, coords, 3);

    store.SetStyle(MeshStyle3D::Textured);
    store.RefreshChunks();
    const MeshChunk3D& chunk = store.Chunk(0);
    ASSERT_EQ(chunk.ranges.size(), 3u);
    std::map<const QuakeGraphic*, std::uint32_t> triangles;
    std::uint32_t next = 0;
    for (const MeshRange3D& range : chunk.ranges) {
        EXPECT_EQ(range.first, next);
        next += range.count;
        triangles[range.texture] += range.count / 3;
    }
    EXPECT_EQ(next, chunk.indices.size());
    EXPECT_EQ(triangles[nullptr], 6u);
    EXPECT_EQ(triangles[&water], 4u);
    EXPECT_EQ(triangles[&stone], 2u);
    std::set<std::pair<float, float>> seen;
    for (const MeshVertex3D& v : chunk.vertices) {
        seen.insert({v.texCoord[0], v.texCoord[1]});
    }
    EXPECT_TRUE(seen.count({0.25f, 0.5f}));

    // The filled style draws the same faces without textures, and cleared textures are gone.
    store.SetStyle(MeshStyle3D::Filled);
    store.RefreshChunks();
    ASSERT_EQ(store.Chunk(0).ranges.size(), 1u);
    store.SetStyle(MeshStyle3D::Textured);
    box->Render3D()->ClearTextures();
    store.RefreshChunks();
    ASSERT_EQ(store.Chunk(0).ranges.size(), 1u);
    EXPECT_EQ(store.Chunk(0).ranges[0].texture, nullptr);
}

TEST_F(MeshStore3DTest, ChangesRemakeOnlyTheChunkOfTheChangedMesh) {
    std::vector<std::unique_ptr<CMapSolid>> boxes;
    for (int i = 0; i < 400; ++i) {
        const float x = static_cast<float>(i % 20) * 80.0f;
        const float y = static_cast<float>(i / 20) * 80.0f;
        boxes.push_back(ShownBox({x, y, 0}, {x + 64, y + 64, 64}));
    }
    store.RefreshChunks();
    ASSERT_EQ(store.ChunkCount(), 2);
    const std::size_t perChunk = MeshStore3D::kChunkFaces / 6;
    EXPECT_EQ(store.Chunk(0).vertices.size(), perChunk * 24);
    EXPECT_EQ(store.Chunk(1).vertices.size(), (400 - perChunk) * 24);
    const unsigned generation0 = store.Chunk(0).generation;

    boxes.back()->SetRenderState(RENDER_SELECT, 0);
    EXPECT_EQ(store.RefreshChunks(), std::vector<int>{1});
    EXPECT_EQ(store.Chunk(0).generation, generation0);
    EXPECT_TRUE(store.RefreshChunks().empty());

    // A freed place is filled again before a new chunk is started.
    boxes[3].reset();
    boxes.push_back(ShownBox({-100, 0, 0}, {-36, 64, 64}));
    EXPECT_EQ(store.ChunkCount(), 2);
    EXPECT_EQ(store.VisualCount(), 400u);
}
