#include "EditingTestSupport.h"

#include "editing/Carve.h"
#include "editing/EditCommands.h"

#include <cmath>

namespace {

class CarveHollowTest : public EditingTest {};

// True when no two boxes overlap with volume.
bool Disjoint(const std::vector<CMapSolid*>& solids) {
    for (std::size_t i = 0; i < solids.size(); ++i) {
        for (std::size_t j = i + 1; j < solids.size(); ++j) {
            const BoundBox& a = solids[i]->Bounds();
            const BoundBox& b = solids[j]->Bounds();
            bool overlap = true;
            for (int axis = 0; axis < 3; ++axis) {
                overlap = overlap && a.mins[axis] < b.maxs[axis] && a.maxs[axis] > b.mins[axis];
            }
            if (overlap) {
                return false;
            }
        }
    }
    return true;
}

bool Inside(const BoundBox& inner, const BoundBox& outer) {
    for (int axis = 0; axis < 3; ++axis) {
        if (inner.mins[axis] < outer.mins[axis] || inner.maxs[axis] > outer.maxs[axis]) {
            return false;
        }
    }
    return true;
}

TEST_F(CarveHollowTest, ABoxCarvedOutOfTheMiddleLeavesSixPiecesInOneGroup) {
    CMapSolid* big = Add(MakeBox({0, 0, 0}, {256, 256, 256}));
    CMapSolid* carver = Add(MakeBox({96, 96, 96}, {160, 160, 160}, "CARVER"));
    const std::string before = Snapshot();
    Select({carver});
    top.updates.clear();

    OnCarve(*doc);

    EXPECT_EQ(big->Parent(), nullptr);
    ASSERT_EQ(World().Children().size(), 2u);
    EXPECT_EQ(World().Children().front(), carver);
    CMapClass* group = World().Children().back();
    ASSERT_TRUE(group->IsType(kTypeMapGroup));
    std::vector<CMapSolid*> pieces = SolidsBelow(*group);
    ASSERT_EQ(pieces.size(), 6u);
    EXPECT_TRUE(Disjoint(pieces));
    EXPECT_DOUBLE_EQ(BoxVolume(pieces), 256.0 * 256 * 256 - 64.0 * 64 * 64);
    for (CMapSolid* piece : pieces) {
        EXPECT_EQ(piece->FaceCount(), 6);
        EXPECT_TRUE(Inside(piece->Bounds(), big->Bounds()));
        int carved = 0;
        for (const CMapFace& face : piece->Faces()) {
            EXPECT_EQ(face.PointCount(), 4);
            if (std::string(face.TextureName()) != "CARVER") {
                continue;
            }
            // Faces made by the carver lie on its planes and take its texture.
            ++carved;
            const Vector& n = face.GetPlane().normal;
            const int axis = n.x != 0 ? 0 : (n.y != 0 ? 1 : 2);
            const float at = face.Point(0)[axis];
            EXPECT_TRUE(at == 96.0f || at == 160.0f) << at;
        }
        EXPECT_GE(carved, 1);
    }
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{carver});
    EXPECT_EQ(top.updates.back(), UPDATE_OBJECTS);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Carve");
    EXPECT_TRUE(UndoRedoExact(before));
    EXPECT_TRUE(context.Context().errors.empty());
}

TEST_F(CarveHollowTest, ATouchedSolidIsNotCarved) {
    Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* carver = Add(MakeBox({64, 0, 0}, {128, 64, 64}));
    // Overlapping boxes, but the wedge-like carver only meets the corner solid's face.
    auto* slanted = new CMapSolid;
    AddPlaneFace(*slanted, {200, 0, 64}, {200, 64, 64}, {264, 64, 0});
    AddBoxFace(*slanted, {200, 0, 0}, {264, 64, 64}, 2, false);
    AddBoxFace(*slanted, {200, 0, 0}, {264, 64, 64}, 0, false);
    AddBoxFace(*slanted, {200, 0, 0}, {264, 64, 64}, 1, true);
    AddBoxFace(*slanted, {200, 0, 0}, {264, 64, 64}, 1, false);
    ASSERT_TRUE(slanted->CreateFromPlanes());
    slanted->CalcBounds();
    Add(slanted);
    Add(MakeBox({240, 0, 40}, {264, 64, 64}));
    const std::string before = Snapshot();

    Select({carver});
    OnCarve(*doc);
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    Select({slanted});
    OnCarve(*doc);
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
}

TEST_F(CarveHollowTest, APointEntityCarvesNothing) {
    Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapEntity* light = Add(MakePointEntity("light", {32, 32, 32}));
    const std::string before = Snapshot();
    Select({light});
    OnCarve(*doc);
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(CarveHollowTest, CarvingThroughSolidsInsideEntitiesAndGroupsAndHiddenOnes) {
    auto* door = Add(new CMapEntity);
    door->SetClass("func_door");
    CMapSolid* inDoor = MakeBox({0, 0, 0}, {64, 64, 64});
    door->AddChild(inDoor);
    door->AddChild(MakeBox({0, 0, 200}, {64, 64, 264}));
    auto* hidden = Add(new CMapGroup);
    hidden->AddChild(MakeBox({0, 0, 0}, {64, 64, 64}));
    hidden->SetShown(false);
    // A group carver: each of its solids carves, and only visible ones.
    auto* carver = Add(new CMapGroup);
    carver->AddChild(MakeBox({-16, 16, 16}, {16, 48, 48}));
    carver->AddChild(MakeBox({48, 16, 16}, {80, 48, 48}));
    World().UpdateVisibleObjects();
    const std::string before = Snapshot();
    Select({carver});

    OnCarve(*doc);

    EXPECT_EQ(inDoor->Parent(), nullptr);
    EXPECT_EQ(hidden->Children().size(), 1u);
    EXPECT_EQ(carver->Children().size(), 2u);
    // The pieces of the door's solid stay in the door, as its own solids.
    EXPECT_EQ(World().Children().size(), 3u);
    std::vector<CMapSolid*> pieces;
    for (CMapClass* child : door->Children()) {
        ASSERT_TRUE(child->IsType(kTypeMapSolid));
        if (child->Bounds().mins.z < 100) {
            pieces.push_back(static_cast<CMapSolid*>(child));
        }
    }
    EXPECT_GE(pieces.size(), 2u);
    EXPECT_DOUBLE_EQ(BoxVolume(pieces), 64.0 * 64 * 64 - 2 * 16.0 * 32 * 32);
    EXPECT_TRUE(Disjoint(pieces));
    EXPECT_EQ(door->Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(StaleBounds(World()), "");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(CarveHollowTest, PiecesStayWithTheGroupOrWorldThatHeldTheCarvedSolid) {
    // The carver belongs to an entity; the solids it carves do not.
    auto* trigger = Add(new CMapEntity);
    trigger->SetClass("trigger_once");
    CMapSolid* carver = MakeBox({48, 16, 16}, {80, 48, 48});
    trigger->AddChild(carver);
    CMapSolid* inWorld = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    auto* group = Add(new CMapGroup);
    CMapSolid* inGroup = MakeBox({64, 0, 0}, {128, 64, 64});
    group->AddChild(inGroup);
    group->AddChild(MakeBox({64, 0, 200}, {128, 64, 264}));
    const std::string before = Snapshot();
    Select({carver});

    OnCarve(*doc);

    EXPECT_EQ(inWorld->Parent(), nullptr);
    EXPECT_EQ(inGroup->Parent(), nullptr);
    EXPECT_EQ(trigger->Children().size(), 1u);
    ASSERT_EQ(World().Children().size(), 3u);
    CMapClass* worldPieces = World().Children().back();
    ASSERT_TRUE(worldPieces->IsType(kTypeMapGroup));
    EXPECT_DOUBLE_EQ(BoxVolume(SolidsBelow(*worldPieces)), 64.0 * 64 * 64 - 16.0 * 32 * 32);
    ASSERT_EQ(group->Children().size(), 2u);
    CMapClass* groupPieces = group->Children().back();
    ASSERT_TRUE(groupPieces->IsType(kTypeMapGroup));
    EXPECT_DOUBLE_EQ(BoxVolume(SolidsBelow(*groupPieces)), 64.0 * 64 * 64 - 16.0 * 32 * 32);
    EXPECT_EQ(StaleBounds(World()), "");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(CarveHollowTest, CarvingASelectedTargetDropsItFromTheSelection) {
    CMapSolid* carver = Add(MakeBox({32, 32, 32}, {96, 96, 96}));
    CMapSolid* target = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    Select({carver, target});
    OnCarve(*doc);
    EXPECT_EQ(target->Parent(), nullptr);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{carver});
    // Deleting what is selected now must not touch the carved solid again.
    OnEditDelete(*doc);
    EXPECT_EQ(World().Children().size(), 1u);
}

TEST_F(CarveHollowTest, SideOfFaceUsesTheClippingTolerance) {
    CMapSolid* box = MakeBox({0, 0, 0}, {64, 64, 64});
    CMapFace face;
    face.SetPlanePoints({64.05f, 0, 0}, {64.05f, 64, 0}, {64.05f, 64, 64});
    // Normal -x at x = 64.05: the whole box lies in front.
    EXPECT_EQ(SideOfFace(*box, face), PlaneSide::InFront);
    face.SetPlanePoints({32, 0, 0}, {32, 64, 0}, {32, 64, 64});
    EXPECT_EQ(SideOfFace(*box, face), PlaneSide::Across);
    face.SetPlanePoints({32, 64, 64}, {32, 64, 0}, {32, 0, 0});
    EXPECT_EQ(SideOfFace(*box, face), PlaneSide::Across);
    face.SetPlanePoints({-1, 64, 64}, {-1, 64, 0}, {-1, 0, 0});
    EXPECT_EQ(SideOfFace(*box, face), PlaneSide::InFront);
    face.SetPlanePoints({-1, 0, 0}, {-1, 64, 0}, {-1, 64, 64});
    EXPECT_EQ(SideOfFace(*box, face), PlaneSide::Behind);
    delete box;
}

TEST_F(CarveHollowTest, HollowRefusesThinWallsAndRemembersTheThickness) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    const std::string before = Snapshot();
    Select({cube});
    prompts.texts = {std::string("4")};
    OnMakeHollow(*doc);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].kind, "input");
    EXPECT_EQ(prompts.shown[0].caption, "Brickhaven");
    EXPECT_EQ(prompts.shown[0].text,
              "How thick do you want the walls? Use a negative number to hollow outward.");
    EXPECT_TRUE(prompts.Showed("The width of the walls must be less than -4 or\ngreater than 4."));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Editor().hollowThickness, 4);

    prompts.texts = {std::nullopt};
    OnMakeHollow(*doc);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);

    // Nothing that can be hollowed: no step, no change.
    CMapEntity* light = Add(MakePointEntity("light", {0, 0, 100}));
    const std::string withLight = Snapshot();
    Select({light});
    prompts.texts = {std::string("16")};
    OnMakeHollow(*doc);
    EXPECT_EQ(Snapshot(), withLight);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), 0u);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CarveHollowTest, HollowInwardLeavesWallsInsideTheFormerVolume) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    const std::string before = Snapshot();
    Select({cube});
    prompts.texts = {std::string("5")};

    OnMakeHollow(*doc);

    EXPECT_EQ(cube->Parent(), nullptr);
    ASSERT_EQ(World().Children().size(), 1u);
    std::vector<CMapSolid*> walls = SolidsBelow(*World().Children().front());
    ASSERT_EQ(walls.size(), 6u);
    EXPECT_TRUE(Disjoint(walls));
    EXPECT_DOUBLE_EQ(BoxVolume(walls), 64.0 * 64 * 64 - 54.0 * 54 * 54);
    BoundBox cavity;
    cavity.mins = {5, 5, 5};
    cavity.maxs = {59, 59, 59};
    for (CMapSolid* wall : walls) {
        EXPECT_TRUE(Inside(wall->Bounds(), cube->Bounds()));
        std::vector<CMapSolid*> pair{wall, MakeBox(cavity.mins, cavity.maxs)};
        EXPECT_TRUE(Disjoint(pair));
        delete pair[1];
    }
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Hollow");
    EXPECT_EQ(Editor().hollowThickness, 5);
    // The message pane says the walls came back as a group, and how to take it apart; the
    // next change makes the note go.
    EXPECT_EQ(panes.panes[0], "1 hollow room made; its walls are a group: select it and choose "
                              "Ungroup (Ctrl+U) to work on single walls.");
    Select({World().Children().front()});
    EXPECT_EQ(panes.panes[1], "group of 6 objects");
    EXPECT_FALSE(panes.panes[0].empty());
    EXPECT_TRUE(UndoRedoExact(before));
    EXPECT_EQ(panes.panes[0], "");
}

// 288 / 320 has no exact binary form: the walls still lie on whole units, as drawn.
TEST_F(CarveHollowTest, HollowWallsOfWholeUnitsLieOnWholeUnits) {
    Select({Add(MakeBox({-320, -320, 0}, {320, 320, 512}))});
    prompts.texts = {std::string("32")};
    OnMakeHollow(*doc);
    ASSERT_EQ(World().Children().size(), 1u);
    for (CMapSolid* wall : SolidsBelow(*World().Children().front())) {
        for (const CMapFace& face : wall->Faces()) {
            for (const Vector3d& point : face.PlanePoints()) {
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_EQ(point[axis], std::round(point[axis]));
                }
            }
        }
    }
}

TEST_F(CarveHollowTest, HollowOutwardBuildsWallsAroundTheFormerVolume) {
    CMapSolid* cube = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    const std::string before = Snapshot();
    Select({cube});
    prompts.texts = {std::string("-8")};

    OnMakeHollow(*doc);

    ASSERT_EQ(World().Children().size(), 1u);
    std::vector<CMapSolid*> walls = SolidsBelow(*World().Children().front());
    ASSERT_EQ(walls.size(), 6u);
    EXPECT_TRUE(Disjoint(walls));
    EXPECT_DOUBLE_EQ(BoxVolume(walls), 80.0 * 80 * 80 - 64.0 * 64 * 64);
    BoundBox outer;
    outer.mins = {-8, -8, -8};
    outer.maxs = {72, 72, 72};
    for (CMapSolid* wall : walls) {
        EXPECT_TRUE(Inside(wall->Bounds(), outer));
        std::vector<CMapSolid*> pair{wall, cube};
        EXPECT_TRUE(Disjoint(pair));
    }
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(CarveHollowTest, HollowingTheSolidOfAnEntityLeavesTheWallsInTheEntity) {
    for (int thickness : {8, -8}) {
        const float x = thickness > 0 ? 0.0f : 500.0f;
        auto* door = Add(new CMapEntity);
        door->SetClass("func_door");
        CMapSolid* slab = MakeBox({x, 0, 0}, {x + 64, 64, 128});
        door->AddChild(slab);
        const std::string before = Snapshot();
        Select({slab});
        prompts.texts = {std::to_string(thickness)};

        OnMakeHollow(*doc);

        EXPECT_EQ(slab->Parent(), nullptr);
        for (CMapClass* child : World().Children()) {
            EXPECT_TRUE(child->IsType(kTypeMapEntity)) << thickness;
        }
        ASSERT_EQ(door->Children().size(), 6u) << thickness;
        std::vector<CMapSolid*> walls = SolidsBelow(*door);
        EXPECT_EQ(walls.size(), 6u);
        EXPECT_TRUE(Disjoint(walls));
        const double outer = thickness > 0 ? 64.0 * 64 * 128 : 80.0 * 80 * 144;
        const double inner = thickness > 0 ? 48.0 * 48 * 112 : 64.0 * 64 * 128;
        EXPECT_DOUBLE_EQ(BoxVolume(walls), outer - inner) << thickness;
        EXPECT_EQ(StaleBounds(World()), "");
        EXPECT_TRUE(UndoRedoExact(before));
        doc->OnUndo();
        EXPECT_EQ(slab->Parent(), door);
    }
}

TEST_F(CarveHollowTest, HollowOnSeveralSolidsAsksFirstAndMakesOneGroupEach) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    CMapSolid* b = Add(MakeBox({200, 0, 0}, {328, 64, 64}));
    CMapSolid* thin = Add(MakeBox({400, 0, 0}, {464, 64, 16}));
    CMapEntity* light = Add(MakePointEntity("light", {0, 0, 300}));
    const std::string before = Snapshot();
    Select({a, b, thin, light});

    prompts.answers = {Prompts::Answer::No};
    OnMakeHollow(*doc);
    EXPECT_TRUE(prompts.Showed("Do you want to turn each of the selected solids\ninto a hollow "
                               "room?"));
    EXPECT_EQ(Snapshot(), before);

    for (int thickness : {16, -16}) {
        Select({a, b, thin, light});
        prompts.answers = {Prompts::Answer::Yes};
        prompts.texts = {std::to_string(thickness)};
        OnMakeHollow(*doc);
        EXPECT_EQ(a->Parent(), nullptr);
        EXPECT_EQ(b->Parent(), nullptr);
        // Too thin for walls 16 units inward; outward walls fit around it.
        const bool thinKept = thickness > 0;
        EXPECT_EQ(thin->Parent() == &World(), thinKept);
        EXPECT_EQ(light->Parent(), &World());
        int groups = 0;
        for (CMapClass* child : World().Children()) {
            if (child->IsType(kTypeMapGroup)) {
                ++groups;
                EXPECT_EQ(SolidsBelow(*child).size(), 6u);
            }
        }
        EXPECT_EQ(groups, thinKept ? 2 : 3);
        EXPECT_EQ(World().Children().size(), 4u);
        EXPECT_TRUE(UndoRedoExact(before));
        doc->OnUndo();
        EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    }
}

} // namespace
