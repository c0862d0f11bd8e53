#include "ShapingTestSupport.h"

#include "mapobjects/ShapeTemplate.h"
#include "shaping/VertexEdit.h"
#include "support/SolidBuilders.h"

#include <random>

namespace {

class VertexEditTest : public EditingTest {
protected:
    // The handle of solid at position, of the kind asked; -1 when there is none.
    static int HandleAt(const CMapSolid& solid, const Vector3d& position,
                        HandleKind kind = HandleKind::Corner) {
        const std::vector<VertexHandle> handles = VertexHandles(solid);
        for (std::size_t i = 0; i < handles.size(); ++i) {
            if (handles[i].kind == kind && Length(handles[i].position - position) < 1e-3) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // Moves the handles of solid at positions by delta as the command does.
    VertexMoveOutcome Move(CMapSolid* solid, const std::vector<Vector3d>& positions,
                           const Vector3d& delta, HandleKind kind = HandleKind::Corner) {
        SolidVertexMove move{solid, {}};
        for (const Vector3d& p : positions) {
            move.handles.push_back(HandleAt(*solid, p, kind));
            EXPECT_GE(move.handles.back(), 0) << p.x << " " << p.y << " " << p.z;
        }
        return OnVertexMove(*doc, {move}, delta);
    }

    // The faces of solid whose plane points and texture settings are those of one of before.
    static int KeptFaces(const CMapSolid& solid, const FaceList& before) {
        int kept = 0;
        for (const CMapFace& face : solid.Faces()) {
            kept += std::any_of(before.begin(), before.end(), [&face](const CMapFace& old) {
                return old.PlanePoints() == face.PlanePoints() &&
                       old.TextureInfo().shiftX == face.TextureInfo().shiftX &&
                       std::string(old.TextureName()) == face.TextureName();
            });
        }
        return kept;
    }
};

// The cube's corner pulled outward along the diagonal: the three faces at the corner fold
// into two triangles each; pulled inward it becomes a shallow pyramid, cut off flat on the
// plane of its neighbours, and refused past it. Each result is closed, keeps the untouched
// faces as they were, reads back from MAP text, and undoes to the exact file bytes.
TEST_F(VertexEditTest, ACubeCornerPulledAlongTheDiagonal) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    {
        RecordingPause pause;
        for (int f = 0; f < cube->FaceCount(); ++f) {
            cube->Face(f).SetShift(f, 2 * f);
        }
    }
    const FaceList faces = cube->Faces();
    const std::string before = RmfBytes(World());
    const std::string snapshot = Snapshot();
    Select({cube});
    const double cubeVolume = 64.0 * 64 * 64;

    struct Case {
        Vector3d delta;
        int faces;
        int kept;
        double volume;
    };
    const Case cases[] = {
        // Outward: three pyramids of height 16 on the corner's faces.
        {{16, 16, 16}, 9, 3, cubeVolume + 3 * 4096.0 * 16 / 3},
        // Inward: the corner's tetrahedron less a flat one under the moved corner.
        {{-16, -16, -16}, 9, 6, cubeVolume - 64.0 * 64 * 64 / 6 + 64.0 * 64 * 16 / 6},
        // Onto the plane of the neighbours: the corner is cut off by one triangle.
        {{-16, -16, -32}, 7, 6, cubeVolume - 64.0 * 64 * 64 / 6},
    };
    for (const Case& c : cases) {
        const VertexMovePreview preview =
            PreviewVertexMove(*cube, {HandleAt(*cube, {64, 64, 64})}, c.delta);
        ASSERT_EQ(preview.result, VertexMoveResult::Moved);
        EXPECT_EQ(preview.faces.size(), static_cast<std::size_t>(c.faces));
        EXPECT_EQ(SnapshotDifference(snapshot, Snapshot()), "");

        const VertexMoveOutcome outcome = Move(cube, {{64, 64, 64}}, c.delta);
        ASSERT_EQ(outcome.result, VertexMoveResult::Moved) << outcome.message;
        EXPECT_EQ(cube->FaceCount(), c.faces);
        EXPECT_TRUE(cube->IsClosed());
        EXPECT_NEAR(SolidVolume(*cube), c.volume, 1e-6);
        // The kept faces keep their planes and texture alignment; the split ones the
        // texture of the face they come from.
        EXPECT_EQ(KeptFaces(*cube, faces), c.kept);
        for (const CMapFace& face : cube->Faces()) {
            EXPECT_STREQ(face.TextureName(), "WALL");
            EXPECT_EQ(face.PointCount() >= 3, true);
        }
        EXPECT_EQ(doc->UndoHistory().CurrentName(), "Vertex Move");
        EXPECT_EQ(cube->Bounds().maxs.x, c.delta.x > 0 ? 80 : 64);
        EXPECT_TRUE(MapReadsBackTheSame(World()));
        EXPECT_TRUE(UndoRedoExact(snapshot));
        doc->OnUndo();
        EXPECT_EQ(RmfBytes(World()), before);
    }

    // Past the neighbours' plane the corner would lie inside the solid.
    const std::string lastStep = doc->UndoHistory().CurrentName();
    const VertexMoveOutcome inside = Move(cube, {{64, 64, 64}}, {-24, -24, -24});
    EXPECT_EQ(inside.result, VertexMoveResult::NotConvex);
    EXPECT_EQ(inside.refused, cube);
    EXPECT_FALSE(inside.message.empty());
    EXPECT_EQ(RmfBytes(World()), before);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), lastStep);
    EXPECT_TRUE(context.Context().errors.empty());
}

// An edge midpoint pulled out splits the edge; corners dragged onto others merge (a cube
// becomes a wedge); the refusals leave the solid alone.
TEST_F(VertexEditTest, EdgeSplitsMergesAndRefusals) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    Select({cube});
    const FaceList faces = cube->Faces();
    ASSERT_EQ(VertexHandles(*cube).size(), 8u + 12u);

    // The top front edge's midpoint up by 16: the front face gains a corner and stays one
    // face; the top folds into three triangles.
    EXPECT_EQ(Move(cube, {{32, 0, 64}}, {0, 0, 16}, HandleKind::EdgeMidpoint).result,
              VertexMoveResult::Moved);
    EXPECT_EQ(cube->FaceCount(), 8);
    EXPECT_EQ(KeptFaces(*cube, faces), 5);
    EXPECT_NEAR(SolidVolume(*cube), 64.0 * 64 * 64 + 4096.0 * 16 / 3, 1e-6);
    EXPECT_EQ(VertexHandles(*cube).size(), 9u + 15u);
    EXPECT_GE(HandleAt(*cube, {32, 0, 80}), 0);
    EXPECT_TRUE(MapReadsBackTheSame(World()));
    doc->OnUndo();

    // The top front edge down onto the bottom one: a wedge of five faces.
    EXPECT_EQ(Move(cube, {{0, 0, 64}, {64, 0, 64}}, {0, 0, -64}).result, VertexMoveResult::Moved);
    EXPECT_EQ(cube->FaceCount(), 5);
    EXPECT_NEAR(SolidVolume(*cube), 64.0 * 64 * 64 / 2, 1e-6);
    EXPECT_TRUE(cube->IsClosed());
    EXPECT_TRUE(MapReadsBackTheSame(World()));
    doc->OnUndo();

    // The vertical edge at x = y = 64 pulled out to 128 (a six-sided prism), then the one at
    // x = y = 0 pushed in to 64: its corners would lie inside the top and bottom faces.
    EXPECT_EQ(Move(cube, {{64, 64, 0}, {64, 64, 64}}, {64, 64, 0}).result, VertexMoveResult::Moved);
    EXPECT_EQ(cube->FaceCount(), 6);
    EXPECT_EQ(Move(cube, {{0, 0, 0}, {0, 0, 64}}, {64, 64, 0}).result, VertexMoveResult::NotConvex);
    doc->OnUndo();

    const std::string snapshot = Snapshot();
    // The whole top onto the bottom: nothing is left.
    EXPECT_EQ(Move(cube, {{0, 0, 64}, {64, 0, 64}, {0, 64, 64}, {64, 64, 64}}, {0, 0, -64}).result,
              VertexMoveResult::NoVolume);
    // A corner far out sideways and down: its neighbour (64, 64, 0) would end up in the
    // middle of a face.
    EXPECT_EQ(Move(cube, {{64, 64, 64}}, {128, 0, -128}).result, VertexMoveResult::NotConvex);
    EXPECT_EQ(Move(cube, {{64, 64, 64}}, {20000, 0, 0}).result, VertexMoveResult::OutOfRange);
    // Along the edge's own line a midpoint changes nothing.
    EXPECT_EQ(Move(cube, {{32, 0, 64}}, {8, 0, 0}, HandleKind::EdgeMidpoint).result,
              VertexMoveResult::Unchanged);
    EXPECT_EQ(OnVertexMove(*doc, {{cube, {0}}}, {0, 0, 0}).result, VertexMoveResult::Unchanged);
    EXPECT_EQ(OnVertexMove(*doc, {{cube, {-1, 999}}}, {8, 0, 0}).result,
              VertexMoveResult::Unchanged);
    EXPECT_EQ(SnapshotDifference(snapshot, Snapshot()), "");
    EXPECT_FALSE(VertexMoveMessage(VertexMoveResult::NotPlanar).empty());
}

// A top corner of a 32-sided cylinder pulled up: the top folds into a fan of 30 triangles
// from it, the sides and the bottom stay as they were, and the solid reads back from MAP text.
// Pulled outward by as much, the corner would leave its neighbours in a dent.
TEST_F(VertexEditTest, ACylinderCornerPulledOut) {
    auto* cylinder = new CMapSolid;
    {
        RecordingPause pause;
        ASSERT_TRUE(BuildCylinder32(*cylinder));
    }
    Add(cylinder);
    Select({cylinder});
    const FaceList faces = cylinder->Faces();
    const std::vector<VertexHandle> handles = VertexHandles(*cylinder);
    ASSERT_EQ(handles.size(), 64u + 96u);
    // The top corner at the middle of the high y edge.
    const int top = HandleAt(*cylinder, {0, 128, 256});
    ASSERT_GE(top, 0);
    const std::string snapshot = Snapshot();
    EXPECT_EQ(OnVertexMove(*doc, {{cylinder, {top}}}, {0, 16, 0}).result,
              VertexMoveResult::NotConvex);
    EXPECT_EQ(SnapshotDifference(snapshot, Snapshot()), "");
    const VertexMoveOutcome outcome = OnVertexMove(*doc, {{cylinder, {top}}}, {0, 0, 16});
    ASSERT_EQ(outcome.result, VertexMoveResult::Moved) << outcome.message;
    EXPECT_TRUE(cylinder->IsClosed());
    EXPECT_EQ(cylinder->FaceCount(), 63);
    EXPECT_EQ(KeptFaces(*cylinder, faces), 33);
    EXPECT_GE(HandleAt(*cylinder, {0, 128, 272}), 0);
    EXPECT_TRUE(MapReadsBackTheSame(World()));
    EXPECT_TRUE(UndoRedoExact(snapshot));
}

} // namespace

namespace {

// Random drags of one or two handles on a cube, a clipped wedge and an 8-sided cylinder, one
// after another: every accepted one leaves a sound closed solid that reads back from MAP
// text, every refused one leaves the map as it was, and undoing them all gives back the
// exact file bytes.
TEST_F(VertexEditTest, RandomDragsLeaveSoundSolidsAndUndoToTheSameBytes) {
    std::vector<CMapSolid*> solids{Add(MakeBox({0, 0, 0}, {64, 64, 64}))};
    auto* wedge = Add(MakeBox({128, 0, 0}, {256, 64, 64}));
    {
        RecordingPause pause;
        wedge->Face(0).SetPlanePoints({128, 0, 0}, {128, 64, 0}, {256, 0, 64});
        ASSERT_TRUE(wedge->CreateFromPlanes());
        wedge->CalcBounds();
    }
    solids.push_back(wedge);
    auto* cylinder = new CMapSolid;
    {
        RecordingPause pause;
        CCylinderShape shape;
        BoundBox box;
        box.mins = {-64, 200, 0};
        box.maxs = {64, 328, 96};
        shape.SetFromBox(box);
        shape.SetParameter("Number of Sides", 8);
        ASSERT_TRUE(shape.BuildSolid(*cylinder));
        cylinder->CalcBounds();
    }
    solids.push_back(Add(cylinder));
    const std::string before = RmfBytes(World());
    context.Context().options.undoLevels = 1000;
    std::mt19937 random(26);
    int moved = 0;
    int refused = 0;
    for (int drag = 0; drag < 240; ++drag) {
        CMapSolid* solid = solids[random() % solids.size()];
        const std::size_t handleCount = VertexHandles(*solid).size();
        SolidVertexMove move{solid, {static_cast<int>(random() % handleCount)}};
        if (random() % 3 == 0) {
            move.handles.push_back(static_cast<int>(random() % handleCount));
        }
        const Vector3d delta(static_cast<int>(random() % 17) - 8,
                             static_cast<int>(random() % 17) - 8,
                             static_cast<int>(random() % 17) - 8);
        const std::string bytes = RmfBytes(World());
        const VertexMoveOutcome outcome = OnVertexMove(*doc, {move}, delta);
        if (outcome.result != VertexMoveResult::Moved) {
            refused += outcome.result != VertexMoveResult::Unchanged;
            ASSERT_EQ(RmfBytes(World()), bytes) << drag;
            continue;
        }
        ++moved;
        ASSERT_TRUE(solid->IsClosed()) << drag;
        ASSERT_GE(solid->FaceCount(), 4) << drag;
        for (const CMapFace& face : solid->Faces()) {
            ASSERT_GE(face.PointCount(), 3) << drag;
        }
        ASSERT_TRUE(context.Context().errors.empty()) << drag;
        if (moved % 8 == 0) {
            ASSERT_TRUE(MapReadsBackTheSame(World())) << drag;
        }
    }
    // Both kinds happen often enough for the loop to mean something.
    EXPECT_GT(moved, 50);
    EXPECT_GT(refused, 50);
    for (int i = 0; i < moved; ++i) {
        doc->OnUndo();
    }
    EXPECT_EQ(RmfBytes(World()), before);
}

} // namespace
