#include "render/View3DModel.h"

#include "core/render/RenderTestSupport.h"
#include "document/MapDoc.h"
#include "document/MapDocView.h"
#include "document/MapFiles.h"
#include "document/UpdateHint.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>

namespace {

// Hands the document's updates to the model, as the 3D view widget does.
class ModelView : public MapDocView {
public:
    explicit ModelView(View3DModel& model) : m_model(model) {}
    void OnDocumentUpdate(int flags, const CUpdateHint* hint) override {
        m_model.OnDocumentUpdate(flags, hint);
    }
    bool Is3D() const override { return true; }

private:
    View3DModel& m_model;
};

// A solid whose mesh cannot be made.
class UnbuildableSolid : public CMapSolid {
public:
    bool BuildRenderObjects(RenderFrame&, bool) override { return false; }
};

// The smallest x of every drawn point of the solids (one value per solid here).
std::set<float> DrawnLeftEdges(MeshStore3D& meshes) {
    meshes.RefreshChunks();
    std::set<float> edges;
    for (int i = 0; i < meshes.ChunkCount(); ++i) {
        const MeshChunk3D& chunk = meshes.Chunk(i);
        for (std::size_t v = 0; v < chunk.vertices.size(); v += 24) {
            float least = chunk.vertices[v].position[0];
            for (std::size_t k = v; k < v + 24 && k < chunk.vertices.size(); ++k) {
                least = std::min(least, chunk.vertices[k].position[0]);
            }
            edges.insert(least);
        }
    }
    return edges;
}

std::set<std::uint32_t> DrawnColors(MeshStore3D& meshes) {
    meshes.RefreshChunks();
    std::set<std::uint32_t> colors;
    for (int i = 0; i < meshes.ChunkCount(); ++i) {
        for (const MeshVertex3D& v : meshes.Chunk(i).vertices) {
            colors.insert((std::uint32_t{v.color[0]} << 16) | (std::uint32_t{v.color[1]} << 8) |
                          v.color[2]);
        }
    }
    return colors;
}

class View3DModelTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeStatusPanes panes;
    std::unique_ptr<CMapDoc> doc;
    CMapSolid* a = nullptr;
    CMapSolid* b = nullptr;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().statusPanes = &panes;
        doc = std::make_unique<CMapDoc>();
        a = MakeBoxSolid({0, 0, 0}, {64, 64, 64});
        b = MakeBoxSolid({1000, 0, 0}, {1064, 64, 64});
        World().AddChild(a);
        World().AddChild(b);
        World().CalcBounds(true);
        World().UpdateVisibleObjects();
    }
    CMapWorld& World() { return *doc->World(); }
    int ErrorLines() {
        int count = 0;
        for (const auto& line : context.Context().messages.Lines()) {
            count += line.kind == MessageLog::Error ? 1 : 0;
        }
        return count;
    }
};

} // namespace

TEST_F(View3DModelTest, StartBuildsEveryVisibleMeshAndPlacesTheCameraOverTheWorldsCentre) {
    View3DModel model(*doc);
    EXPECT_EQ(model.RenderMode(), View3DModel::kWireframe);
    // Nothing happens before the view is ready.
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, nullptr);
    EXPECT_FALSE(model.PressKey(Camera3D::Key::Forward, false, false));
    EXPECT_FALSE(model.PressViewportKey(1));
    EXPECT_EQ(model.Meshes().MeshesMade(), 0u);
    EXPECT_FALSE(model.IsDirty());

    model.Start();
    EXPECT_TRUE(model.IsReady());
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_FALSE(model.TakeDirty());
    EXPECT_EQ(model.Meshes().MeshesMade(), 2u);
    EXPECT_EQ(model.Meshes().VisualCount(), 2u);
    EXPECT_EQ(model.Meshes().Style(), MeshStyle3D::Outlines);
    EXPECT_EQ(model.Camera().Position().x, 532.0f);
    EXPECT_EQ(model.Camera().Position().y, 32.0f);
    EXPECT_EQ(model.Camera().Position().z, 2000.0f);
    EXPECT_FALSE(World().TexturesShown());
}

TEST_F(View3DModelTest, UpdateFlagsDecideBetweenNothingANewFrameAndRebuilding) {
    View3DModel model(*doc);
    model.Start();
    model.TakeDirty();
    const std::size_t made = model.Meshes().MeshesMade();
    EXPECT_EQ(DrawnLeftEdges(model.Meshes()), (std::set<float>{0, 1000}));

    // 2D-only updates never reach the 3D view, whatever else they say.
    a->TransMove({8, 0, 0});
    model.OnDocumentUpdate(UPDATE_2D_ONLY | UPDATE_OBJECTS | UPDATE_REDRAW, nullptr);
    EXPECT_FALSE(model.IsDirty());
    EXPECT_EQ(model.Meshes().MeshesMade(), made);
    // Flag 4 alone asks for nothing.
    model.OnDocumentUpdate(UPDATE_3D_ONLY, nullptr);
    EXPECT_FALSE(model.IsDirty());
    // 5 (a selection change) asks for a frame and rebuilds nothing.
    model.OnDocumentUpdate(UPDATE_3D_ONLY | UPDATE_REDRAW, nullptr);
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_EQ(model.Meshes().MeshesMade(), made);
    // 6 rebuilds what changed: only the moved solid gets a new mesh.
    const RenderObject* meshB = b->Render3D();
    model.OnDocumentUpdate(UPDATE_3D_ONLY | UPDATE_OBJECTS, nullptr);
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_EQ(model.Meshes().MeshesMade(), made + 1);
    EXPECT_EQ(b->Render3D(), meshB);
    EXPECT_EQ(model.Meshes().VisualCount(), 2u);
    EXPECT_EQ(DrawnLeftEdges(model.Meshes()), (std::set<float>{8, 1000}));
}

TEST_F(View3DModelTest, HintedUpdateRebuildsOnlyTheNamedObjects) {
    View3DModel model(*doc);
    model.Start();
    const std::size_t made = model.Meshes().MeshesMade();
    // Both solids changed, but the hint names only b: a keeps its old mesh until it is named.
    a->TransMove({16, 0, 0});
    b->TransMove({16, 0, 0});
    const RenderObject* meshA = a->Render3D();
    CUpdateHint hint;
    hint.objects = {b};
    model.OnDocumentUpdate(UPDATE_OBJECTS, &hint);
    EXPECT_EQ(model.Meshes().MeshesMade(), made + 1);
    EXPECT_EQ(a->Render3D(), meshA);
    EXPECT_TRUE(model.Meshes().IsVisual(a->Render3D()));
    EXPECT_TRUE(model.Meshes().IsVisual(b->Render3D()));
    EXPECT_EQ(DrawnLeftEdges(model.Meshes()), (std::set<float>{0, 1016}));
    // An empty hint counts as no hint: everything that changed is rebuilt.
    CUpdateHint empty;
    model.OnDocumentUpdate(UPDATE_OBJECTS, &empty);
    EXPECT_EQ(model.Meshes().MeshesMade(), made + 2);
    EXPECT_EQ(DrawnLeftEdges(model.Meshes()), (std::set<float>{16, 1016}));
}

TEST_F(View3DModelTest, NamedObjectsThatLeftTheMapOrAreHiddenAreNoLongerDrawn) {
    View3DModel model(*doc);
    model.Start();
    // Deleted: the object left the tree (the undo history holds it).
    World().RemoveChild(a);
    std::unique_ptr<CMapSolid> removed(a);
    CUpdateHint hint;
    hint.objects = {a};
    model.OnDocumentUpdate(UPDATE_OBJECTS, &hint);
    EXPECT_FALSE(model.Meshes().IsVisual(a->Render3D()));
    EXPECT_TRUE(model.Meshes().IsVisual(b->Render3D()));
    EXPECT_EQ(model.Meshes().VisualCount(), 1u);

    // Put back (undo) and announced without a hint: drawn again, with the mesh it kept.
    const RenderObject* kept = a->Render3D();
    World().AddChild(removed.release());
    World().UpdateVisibleObjects();
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, nullptr);
    EXPECT_EQ(a->Render3D(), kept);
    EXPECT_EQ(model.Meshes().VisualCount(), 2u);

    // Hidden objects named in a hint are taken out of the picture.
    b->SetShown(false);
    hint.objects = {b};
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, &hint);
    EXPECT_FALSE(model.Meshes().IsVisual(b->Render3D()));
    EXPECT_EQ(model.Meshes().VisualCount(), 1u);
}

TEST_F(View3DModelTest, SelectedSolidsAreRedInEveryMode) {
    View3DModel model(*doc);
    ModelView view(model);
    doc->AddView(&view);
    model.Start();
    model.TakeDirty();
    const std::uint32_t red = 220u << 16;
    for (int mode : {1, 2, 3}) {
        model.SetRenderMode(mode);
        doc->SelectObject(a, SELECT_ADD | SELECT_UPDATE);
        EXPECT_TRUE(model.TakeDirty());
        const std::set<std::uint32_t> colors = DrawnColors(model.Meshes());
        EXPECT_TRUE(colors.count(red)) << "mode " << mode;
        EXPECT_EQ(colors.size(), 2u) << "mode " << mode;
        doc->SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
        EXPECT_FALSE(DrawnColors(model.Meshes()).count(red)) << "mode " << mode;
    }
    // Unselected solids show their own colours; textured, faces whose texture has no picture
    // (no WAD file here) keep them too.
    model.SetRenderMode(2);
    const std::set<std::uint32_t> own{a->GetColor(), b->GetColor()};
    EXPECT_EQ(DrawnColors(model.Meshes()), own);
    model.SetRenderMode(3);
    EXPECT_EQ(DrawnColors(model.Meshes()), own);
    doc->RemoveView(&view);
}

TEST_F(View3DModelTest, TexturedModeSetsTheWorldsFlagAndDrawsTheFacesTextureCoordinates) {
    Wad2Writer writer;
    writer.AddTexture("STONE", 64, 32, {std::vector<std::uint8_t>(64 * 32, 7)});
    TextureManager& textures = context.Context().TextureCatalogue();
    ASSERT_NE(textures.AddWadFromMemory("t.wad", writer.Build()), 0);
    textures.SortAllTextures();
    context.Context().textures = &textures;
    a->SetTexture("stone");
    ASSERT_NE(a->Face(0).Texture(), nullptr);

    View3DModel model(*doc);
    model.SetRenderMode(3);
    EXPECT_FALSE(World().TexturesShown()); // not ready: the mode waits
    model.Start();
    EXPECT_TRUE(World().TexturesShown());
    EXPECT_EQ(model.Meshes().Style(), MeshStyle3D::Textured);

    MeshStore3D& meshes = model.Meshes();
    meshes.RefreshChunks();
    const MeshChunk3D& chunk = meshes.Chunk(0);
    std::uint32_t stoneIndices = 0;
    for (const MeshRange3D& range : chunk.ranges) {
        if (range.texture == a->Face(0).Texture()) {
            stoneIndices += range.count;
        }
    }
    EXPECT_EQ(stoneIndices, 36u);
    // Textured faces are white (the texture shows unchanged); b's faces have no picture and
    // show b's colour.
    EXPECT_EQ(DrawnColors(meshes), (std::set<std::uint32_t>{0xFFFFFFu, b->GetColor()}));
    // The coordinates drawn are the face's own.
    const std::vector<TexCoord>& coords = a->Face(0).TextureCoordinates();
    ASSERT_EQ(coords.size(), 4u);
    std::set<std::pair<float, float>> drawn;
    for (const MeshVertex3D& v : chunk.vertices) {
        drawn.insert({v.texCoord[0], v.texCoord[1]});
    }
    for (const TexCoord& c : coords) {
        EXPECT_TRUE(drawn.count({c.s, c.t})) << c.s << ", " << c.t;
    }

    model.SetRenderMode(2);
    EXPECT_FALSE(World().TexturesShown());
    meshes.RefreshChunks();
    EXPECT_EQ(meshes.Chunk(0).ranges.size(), 1u);
    model.SetRenderMode(9);
    EXPECT_EQ(model.RenderMode(), 2);
}

TEST_F(View3DModelTest, AMapOpenedIntoATexturedViewIsShownTextured) {
    Wad2Writer writer;
    writer.AddTexture("STONE", 64, 64, {std::vector<std::uint8_t>(64 * 64, 7)});
    TextureManager& textures = context.Context().TextureCatalogue();
    ASSERT_NE(textures.AddWadFromMemory("t.wad", writer.Build()), 0);
    textures.SortAllTextures();
    context.Context().textures = &textures;
    a->SetTexture("STONE");
    std::string text;
    ASSERT_EQ(WriteMapData(World(), text), 0);
    const std::string path = ::testing::TempDir() + "view3d-textured.map";
    {
        std::ofstream file(path, std::ios::binary);
        file << text;
    }

    View3DModel model(*doc);
    ModelView view(model);
    doc->AddView(&view);
    model.SetRenderMode(3);
    model.Start();
    ASSERT_TRUE(doc->OpenDocument(path));
    EXPECT_TRUE(World().TexturesShown());
    EXPECT_EQ(model.Meshes().VisualCount(), 2u);
    model.Meshes().RefreshChunks();
    std::size_t textured = 0;
    for (const MeshRange3D& range : model.Meshes().Chunk(0).ranges) {
        textured += range.texture ? range.count : 0;
    }
    EXPECT_EQ(textured, 36u);
    doc->RemoveView(&view);
    std::remove(path.c_str());
}

TEST_F(View3DModelTest, AMeshThatCannotBeMadeStopsTheBuildWithAnErrorLine) {
    auto* broken = new UnbuildableSolid;
    World().RemoveChild(b);
    World().AddChild(broken);
    World().AddChild(b);
    World().UpdateVisibleObjects();
    View3DModel model(*doc);
    model.Start();
    EXPECT_EQ(ErrorLines(), 1);
    EXPECT_EQ(context.Context().messages.Lines().back().text, "Error creating meshes!");
    EXPECT_TRUE(model.Meshes().IsVisual(a->Render3D()));
    EXPECT_EQ(b->Render3D(), nullptr);
    EXPECT_TRUE(model.IsReady());
}

TEST_F(View3DModelTest, KeysMoveTheCameraOnlyWhenReadyAndAskForAFrame) {
    View3DModel model(*doc);
    model.Start();
    model.TakeDirty();
    EXPECT_TRUE(model.PressKey(Camera3D::Key::Forward, false, false));
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_EQ(model.Camera().Position().z, 1950.0f);
    EXPECT_TRUE(model.PressViewportKey(1));
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_EQ(model.Camera().Back(), 4000.0f);
    EXPECT_FALSE(model.PressViewportKey(8));
    EXPECT_FALSE(model.IsDirty());
    // The camera tool's placement; updates leave it where it was put.
    model.TakeCamera({0, -500, 100}, {0, 0, 100});
    EXPECT_TRUE(model.TakeDirty());
    EXPECT_EQ(model.Camera().Position().y, -500.0f);
    EXPECT_NEAR(model.Camera().Forward().y, 1.0f, 1e-5f);
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, nullptr);
    EXPECT_EQ(model.Camera().Position().y, -500.0f);
}

TEST_F(View3DModelTest, ACameraStartedOverAnEmptyWorldMovesOverTheMapWhenItArrives) {
    CMapDoc empty;
    View3DModel model(empty);
    model.Start();
    EXPECT_EQ(model.Camera().Position().x, 0.0f);
    empty.World()->AddChild(MakeBoxSolid({2000, 2000, 0}, {2064, 2064, 64}));
    empty.World()->CalcBounds(true);
    empty.World()->UpdateVisibleObjects();
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, nullptr);
    EXPECT_EQ(model.Camera().Position().x, 2032.0f);
    EXPECT_EQ(model.Meshes().VisualCount(), 1u);
    // Once the user moved the camera, updates leave it alone.
    model.PressKey(Camera3D::Key::Left, true, false);
    empty.World()->AddChild(MakeBoxSolid({-4000, 0, 0}, {-3936, 64, 64}));
    empty.World()->CalcBounds(true);
    empty.World()->UpdateVisibleObjects();
    model.OnDocumentUpdate(UPDATE_REDRAW | UPDATE_OBJECTS, nullptr);
    EXPECT_EQ(model.Camera().Position().x, 1982.0f);
}

TEST_F(View3DModelTest, AClosedViewTakesItsMeshesBackSoTheNextViewBuildsItsOwn) {
    {
        View3DModel first(*doc);
        first.Start();
        ASSERT_NE(a->Render3D(), nullptr);
    }
    EXPECT_EQ(a->Render3D(), nullptr);
    EXPECT_EQ(a->Face(0).Render3D(), nullptr);
    View3DModel second(*doc);
    second.Start();
    EXPECT_EQ(second.Meshes().VisualCount(), 2u);
}
