#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/SolidBuilders.h"
#include "support/WorldSnapshot.h"

#include <gtest/gtest.h>

#include <random>

namespace {

CMapSolid* MakeBox(std::mt19937& rng) {
    std::uniform_int_distribution<int> coord(-64, 64);
    std::uniform_int_distribution<int> extent(1, 8);
    const Vector mins{static_cast<float>(coord(rng) * 16), static_cast<float>(coord(rng) * 16),
                      static_cast<float>(coord(rng) * 16)};
    const Vector maxs =
        mins + Vector(static_cast<float>(extent(rng) * 16), static_cast<float>(extent(rng) * 16),
                      static_cast<float>(extent(rng) * 16));
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, mins, maxs);
    solid->CreateFromPlanes();
    solid->CalcBounds();
    return solid;
}

// Thousands of random editing steps through the real object operations, each recorded in the
// undo history; then everything is undone and redone, and after every single step the world
// must equal the state recorded at that point.
TEST(RandomEditingTest, UndoAllAndRedoAllRestoreEveryRecordedState) {
    ScopedEditorContext context;
    context.Context().options.undoLevels = 5000;
    CMapDoc doc;
    CMapDoc::SetActiveMapDoc(&doc);
    CMapWorld& world = *doc.World();
    CHistory& history = doc.UndoHistory();
    std::mt19937 rng(12345);
    const char* textures[] = {"WALL1", "FLOOR2", "*WATER", "SKY", "METAL_3"};

    auto topLevel = [&] {
        return std::vector<CMapClass*>(world.Children().begin(), world.Children().end());
    };
    auto pick = [&](const std::vector<CMapClass*>& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(rng)];
    };
    auto allSolids = [&] {
        std::vector<CMapSolid*> solids;
        std::vector<CMapClass*> stack = topLevel();
        while (!stack.empty()) {
            CMapClass* o = stack.back();
            stack.pop_back();
            if (o->IsType(kTypeMapSolid)) {
                solids.push_back(static_cast<CMapSolid*>(o));
            }
            stack.insert(stack.end(), o->Children().begin(), o->Children().end());
        }
        return solids;
    };

    const int kSteps = 2000;
    std::vector<std::string> states{WorldSnapshot(world)};
    std::vector<int> ops;
    for (int step = 0; step < kSteps; ++step) {
        history.MarkUndoPosition({}, "Step");
        auto objects = topLevel();
        int op = std::uniform_int_distribution<int>(0, 7)(rng);
        if (objects.size() < 4) {
            op = 0;
        } else if (objects.size() > 40 && (op == 0 || op == 4)) {
            op = 1; // keep the map small so that every step can be compared quickly
        }
        switch (op) {
        case 0: { // add a solid, sometimes inside an entity
            CMapSolid* solid = MakeBox(rng);
            history.KeepNew(solid);
            if (rng() % 4 == 0) {
                auto* entity = new CMapEntity;
                history.KeepNew(entity);
                entity->SetClass("func_door");
                entity->AddChild(solid);
                entity->CalcBounds();
                world.AddChild(entity);
            } else {
                world.AddChild(solid);
            }
            break;
        }
        case 1: { // remove a top-level object
            CMapClass* victim = pick(objects);
            world.RemoveChild(victim, true);
            history.KeepForDestruction(victim);
            break;
        }
        case 2: { // move
            std::uniform_int_distribution<int> d(-4, 4);
            pick(objects)->TransMove(Vector(static_cast<float>(d(rng) * 8),
                                            static_cast<float>(d(rng) * 8),
                                            static_cast<float>(d(rng) * 8)));
            break;
        }
        case 3: { // retexture one face or all
            auto solids = allSolids();
            if (!solids.empty()) {
                CMapSolid* s = solids[rng() % solids.size()];
                s->SetTexture(textures[rng() % 5], static_cast<int>(rng() % 7) - 1);
            }
            break;
        }
        case 4: { // keyvalues on an entity, or a new point entity
            auto* entity = new CMapEntity;
            history.KeepNew(entity);
            entity->SetClass("light");
            entity->SetKeyValue("light", std::to_string(rng() % 500));
            world.AddChild(entity);
            for (CMapClass* o : objects) {
                if (o->IsType(kTypeMapEntity)) {
                    history.Keep(o);
                    static_cast<CMapEntity*>(o)->SetKeyValue("target", "t" + std::to_string(step));
                    break;
                }
            }
            break;
        }
        case 5: { // group two objects
            CMapClass* a = pick(objects);
            CMapClass* b = pick(objects);
            auto* group = new CMapGroup;
            history.KeepNew(group);
            world.AddChild(group);
            group->AddChild(a);
            if (b != a) {
                group->AddChild(b);
            }
            group->CalcBounds();
            world.CalcBounds();
            break;
        }
        case 6: { // ungroup a group: members back to the world, the group deleted
            for (CMapClass* o : objects) {
                if (o->IsType(kTypeMapGroup)) {
                    std::vector<CMapClass*> members(o->Children().begin(), o->Children().end());
                    for (CMapClass* m : members) {
                        world.AddChild(m);
                    }
                    world.RemoveChild(o, true);
                    history.KeepForDestruction(o);
                    break;
                }
            }
            break;
        }
        case 7: { // visgroups, and the colour of a solid
            CMapClass* o = pick(objects);
            o->ChangeVisGroup(static_cast<std::uint8_t>(1 + rng() % 5), 1);
            if (o->IsType(kTypeMapSolid)) {
                history.Keep(o);
                o->SetRenderState(RENDER_SET_COLOR, rng() & 0xFFFFFF);
            }
            break;
        }
        }
        if (history.CurrentTrack()->Entries().empty()) {
            // A step that recorded nothing changed nothing, and it leaves no undo step.
            ASSERT_EQ(SnapshotDifference(states.back(), WorldSnapshot(world)), "");
            continue;
        }
        states.push_back(WorldSnapshot(world));
        ops.push_back(op);
    }

    const int steps = static_cast<int>(ops.size());
    ASSERT_GT(steps, kSteps / 2);
    for (int step = steps; step > 0; --step) {
        ASSERT_TRUE(history.CanUndo());
        doc.OnUndo();
        ASSERT_EQ(
            SnapshotDifference(states[static_cast<std::size_t>(step - 1)], WorldSnapshot(world)),
            "")
            << "after undoing step " << step << " (operation " << ops[step - 1] << ")";
    }
    EXPECT_FALSE(history.CanUndo());
    for (int step = 1; step <= steps; ++step) {
        doc.OnRedo();
        ASSERT_EQ(SnapshotDifference(states[static_cast<std::size_t>(step)], WorldSnapshot(world)),
                  "")
            << "after redoing step " << step << " (operation " << ops[step - 1] << ")";
    }
}

} // namespace
