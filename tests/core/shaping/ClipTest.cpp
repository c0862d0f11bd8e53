#include "ShapingTestSupport.h"

#include "shaping/Clip.h"

#include <cmath>

namespace {

class ClipTest : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        context.Context().currentTexture = "CUT";
    }

    // The vertical plane through the cube's diagonal from (0, 0) to (64, 64) in the top view;
    // its front holds the corner (0, 64).
    ThreePointPlane Diagonal() {
        const auto plane = ClipPlaneForViewLine({0, 0, 0}, {64, 64, 0}, 2);
        EXPECT_TRUE(plane.has_value());
        return plane.value_or(ThreePointPlane{});
    }
};

int FacesWithTexture(const CMapSolid& solid, const std::string& name) {
    int count = 0;
    for (const CMapFace& face : solid.Faces()) {
        count += name == face.TextureName() ? 1 : 0;
    }
    return count;
}

// Keep both, front and back on a textured cube: the pieces are prisms of five faces that fill
// the cube; the new face has the current texture at the default alignment and the old faces
// keep their planes and texture settings; undo gives back the exact file bytes, and the
// result reads back from MAP text.
TEST_F(ClipTest, ACubeClippedOnItsDiagonalGivesPrismsThatFillIt) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    {
        RecordingPause pause;
        cube->Face(0).SetShift(3, 5);
        cube->Face(0).SetRotation(30);
    }
    const CMapFace top = cube->Face(0);
    const double cubeVolume = 64.0 * 64 * 64;
    ASSERT_DOUBLE_EQ(SolidVolume(*cube), cubeVolume);
    const std::string before = RmfBytes(World());
    const std::string snapshot = Snapshot();
    Select({cube});

    const ClipResult both = OnClip(*doc, Diagonal(), ClipKeep::Both);

    EXPECT_EQ(both.clipped, 1);
    EXPECT_EQ(both.pieces, 2);
    EXPECT_EQ(cube->Parent(), nullptr);
    const std::vector<CMapSolid*> pieces = AllSolids(World());
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(doc->SelectedObjects(), (std::vector<CMapClass*>{pieces[0], pieces[1]}));
    double volume = 0.0;
    for (CMapSolid* piece : pieces) {
        EXPECT_EQ(piece->FaceCount(), 5);
        EXPECT_TRUE(piece->IsClosed());
        EXPECT_DOUBLE_EQ(SolidVolume(*piece), cubeVolume / 2);
        volume += SolidVolume(*piece);
        EXPECT_EQ(FacesWithTexture(*piece, "CUT"), 1);
        for (const CMapFace& face : piece->Faces()) {
            if (std::string(face.TextureName()) == "CUT") {
                EXPECT_EQ(face.ShiftX(), 0.0);
                EXPECT_EQ(face.Rotation(), 0.0);
                EXPECT_EQ(face.ScaleX(), 1.0);
                EXPECT_FALSE(face.HasOwnAxes());
            } else if (face.GetPlane().normal == top.GetPlane().normal) {
                EXPECT_EQ(face.PlanePoints(), top.PlanePoints());
                EXPECT_EQ(face.ShiftX(), 3.0);
                EXPECT_EQ(face.Rotation(), 30.0);
            }
        }
    }
    EXPECT_DOUBLE_EQ(volume, cubeVolume);
    // The front piece comes first; its new face looks back across the plane.
    EXPECT_FLOAT_EQ(pieces[0]->Face(pieces[0]->FaceCount() - 1).GetPlane().normal.y,
                    -std::sqrt(0.5f));
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Clip");
    EXPECT_TRUE(MapReadsBackTheSame(World()));
    EXPECT_TRUE(UndoRedoExact(snapshot));
    doc->OnUndo();
    EXPECT_EQ(RmfBytes(World()), before);

    for (const ClipKeep keep : {ClipKeep::Front, ClipKeep::Back}) {
        Select({cube});
        const ClipResult result = OnClip(*doc, Diagonal(), keep);
        EXPECT_EQ(result.pieces, 1);
        const std::vector<CMapSolid*> kept = AllSolids(World());
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0]->FaceCount(), 5);
        EXPECT_DOUBLE_EQ(SolidVolume(*kept[0]), cubeVolume / 2);
        // Front keeps the side with y above x.
        const Vector3d center(kept[0]->Bounds().Center());
        bool frontCorner = false;
        for (const CMapFace& face : kept[0]->Faces()) {
            for (int i = 0; i < face.PointCount(); ++i) {
                frontCorner = frontCorner || (face.Point(i).x == 0 && face.Point(i).y == 64);
            }
        }
        EXPECT_EQ(frontCorner, keep == ClipKeep::Front);
        EXPECT_TRUE(MapReadsBackTheSame(World()));
        doc->OnUndo();
        EXPECT_EQ(RmfBytes(World()), before);
    }
    EXPECT_TRUE(context.Context().errors.empty());
}

// Pieces take the place of their solid inside its group or entity, with its visgroups and
// colour; solids the plane misses, or only grazes within the tolerance, stay as they are, and
// a plane that misses everything leaves no undo step.
TEST_F(ClipTest, PiecesStayInTheGroupOrEntityOfTheirSolid) {
    auto* group = Add(new CMapGroup);
    CMapSolid* inGroup = MakeBox({0, 0, 0}, {64, 64, 64});
    CMapSolid* missed = MakeBox({200, 200, 0}, {264, 264, 64});
    group->AddChild(inGroup);
    group->AddChild(missed);
    {
        RecordingPause pause;
        inGroup->SetVisGroups(VisGroupIds{3, 0, 0, 0, 0, 0, 0, 0});
    }
    auto* door = Add(new CMapEntity);
    door->SetClass("func_door");
    CMapSolid* inDoor = MakeBox({100, 0, 0}, {164, 64, 64});
    door->AddChild(inDoor);
    // Only 0.05 units of it lie beyond the plane x = 32: no sliver is cut off.
    CMapSolid* grazed = Add(MakeBox({-64, 0, 0}, {32.05f, 64, 64}));
    const std::string snapshot = Snapshot();
    const std::string before = RmfBytes(World());
    Select({group, door, grazed});

    // The plane x = 32 seen in the top view, and x = 132 tilted by a point in another view.
    const auto plane = ClipPlaneThrough({32, 0, 0}, {32, 64, 0}, {32, 0, 64});
    ASSERT_TRUE(plane);
    EXPECT_EQ(OnClip(*doc, *plane, ClipKeep::Both).clipped, 1);
    EXPECT_EQ(grazed->Parent(), &World());
    ASSERT_EQ(group->Children().size(), 3u);
    auto child = group->Children().begin();
    for (int i = 0; i < 2; ++i, ++child) {
        ASSERT_TRUE((*child)->IsType(kTypeMapSolid));
        EXPECT_EQ((*child)->OwnVisGroups(), inGroup->OwnVisGroups());
        EXPECT_EQ((*child)->GetColor(), inGroup->GetColor());
        EXPECT_DOUBLE_EQ(SolidVolume(*static_cast<CMapSolid*>(*child)), 32.0 * 64 * 64);
    }
    EXPECT_EQ(*child, missed);
    EXPECT_EQ(doc->SelectedObjects(), (std::vector<CMapClass*>{group, door, grazed}));

    const auto tilted = ClipPlaneThrough({132, 0, 0}, {132, 64, 0}, {164, 0, 64});
    ASSERT_TRUE(tilted);
    EXPECT_EQ(OnClip(*doc, *tilted, ClipKeep::Back).clipped, 1);
    ASSERT_EQ(door->Children().size(), 1u);
    auto* kept = static_cast<CMapSolid*>(door->Children().front());
    EXPECT_NE(kept, inDoor);
    EXPECT_DOUBLE_EQ(SolidVolume(*kept), 32.0 * 64 / 2 * 64);
    EXPECT_EQ(door->Bounds().maxs, Vector(164, 64, 64));
    EXPECT_EQ(group->Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(group->Bounds().maxs, Vector(264, 264, 64));
    EXPECT_TRUE(MapReadsBackTheSame(World()));

    const std::string lastStep = doc->UndoHistory().CurrentName();
    const std::string now = Snapshot();
    const auto away = ClipPlaneThrough({0, 0, 500}, {64, 0, 500}, {0, 64, 500});
    ASSERT_TRUE(away);
    const ClipResult nothing = OnClip(*doc, *away, ClipKeep::Front);
    EXPECT_EQ(nothing.clipped, 0);
    EXPECT_EQ(nothing.missed, 5);
    EXPECT_EQ(SnapshotDifference(now, Snapshot()), "");
    EXPECT_EQ(doc->UndoHistory().CurrentName(), lastStep);

    doc->OnUndo();
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(snapshot, Snapshot()), "");
    EXPECT_EQ(RmfBytes(World()), before);
}

// The preview shows the pieces the command makes, and changes nothing.
TEST_F(ClipTest, ThePreviewShowsThePiecesTheClipMakes) {
    CMapSolid* box = Add(MakeBox({0, 0, 0}, {128, 64, 64}));
    CMapSolid* far = Add(MakeBox({500, 0, 0}, {564, 64, 64}));
    const auto plane = ClipPlaneThrough({16, 0, 0}, {16, 64, 0}, {80, 0, 64});
    ASSERT_TRUE(plane);
    const std::string snapshot = Snapshot();

    const std::vector<SolidClipPreview> preview = PreviewClip({box, far}, *plane);

    EXPECT_EQ(SnapshotDifference(snapshot, Snapshot()), "");
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_FALSE(preview[1].cut);
    EXPECT_TRUE(preview[1].front.empty() && preview[1].back.empty());
    ASSERT_TRUE(preview[0].cut);
    const auto volumeOf = [](const PiecePolygons& piece) {
        RecordingPause pause;
        CMapSolid solid;
        for (const std::vector<Vector>& polygon : piece) {
            EXPECT_GE(polygon.size(), 3u);
            CMapFace* face = solid.AddFace();
            face->StorePolygon(polygon.data(), static_cast<int>(polygon.size()));
        }
        return SolidVolume(solid);
    };
    EXPECT_EQ(preview[0].front.size(), 6u);
    EXPECT_EQ(preview[0].back.size(), 6u);
    const double front = volumeOf(preview[0].front);
    const double back = volumeOf(preview[0].back);
    EXPECT_NEAR(front + back, 128.0 * 64 * 64, 1.0);

    Select({box, far});
    OnClip(*doc, *plane, ClipKeep::Both);
    const std::vector<CMapSolid*> solids = AllSolids(World());
    ASSERT_EQ(solids.size(), 3u);
    EXPECT_NEAR(SolidVolume(*solids[0]), front, 1.0);
    EXPECT_NEAR(SolidVolume(*solids[1]), back, 1.0);
    EXPECT_EQ(solids[2], far);
    EXPECT_TRUE(MapReadsBackTheSame(World()));
}

TEST(ClipPlaneTest, PlanesFromPointsAndViewLines) {
    EXPECT_FALSE(ClipPlaneThrough({0, 0, 0}, {1, 1, 1}, {2, 2, 2}));
    EXPECT_FALSE(ClipPlaneForViewLine({5, 5, 0}, {5, 5, 64}, 2));
    EXPECT_FALSE(ClipPlaneForViewLine({0, 0, 0}, {64, 0, 0}, 3));
    // The front view (depth y): the line from left to right has its front below... on the
    // side the normal (a - b) x y points to, -z here.
    const auto front = ClipPlaneForViewLine({0, 0, 0}, {64, 0, 0}, 1);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->normal, Vector3d(0, 0, -1));
    EXPECT_EQ(NextClipKeep(ClipKeep::Front), ClipKeep::Back);
    EXPECT_EQ(NextClipKeep(ClipKeep::Back), ClipKeep::Both);
    EXPECT_EQ(NextClipKeep(ClipKeep::Both), ClipKeep::Front);
}

} // namespace
