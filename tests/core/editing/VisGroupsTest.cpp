#include "EditingTestSupport.h"

#include "editing/EditCommands.h"
#include "editing/FilterControl.h"
#include "editing/VisGroups.h"

namespace {

class VisGroupsTest : public EditingTest {
protected:
    VisGroup Group(std::uint8_t id, bool visible, std::uint32_t color = 0x808080) {
        return VisGroup{"group " + std::to_string(id), color, id, visible};
    }
};

TEST_F(VisGroupsTest, NewGroupTakesTheSmallestFreeId) {
    RandomGenerator expected = Editor().random;
    EXPECT_EQ(NewVisGroup(World()), 0);
    const VisGroup& first = World().VisGroupAt(0);
    EXPECT_EQ(first.id, 1);
    EXPECT_EQ(first.name, "new group");
    EXPECT_EQ(first.color, expected.Next() % 65535u);
    EXPECT_FALSE(first.visible);

    World().ReplaceVisGroups({Group(1, true), Group(3, true), Group(4, true)});
    EXPECT_EQ(NewVisGroup(World()), 3);
    EXPECT_EQ(World().VisGroupAt(3).id, 2);
    EXPECT_EQ(World().FindVisGroup(2), &World().VisGroupAt(3));
}

TEST_F(VisGroupsTest, AMapWithEveryIdTakenRefusesANewGroup) {
    std::vector<VisGroup> groups;
    for (int id = 1; id <= 255; ++id) {
        groups.push_back(Group(static_cast<std::uint8_t>(id), false));
    }
    World().ReplaceVisGroups(groups);
    EXPECT_EQ(NewVisGroup(World()), -1);
    EXPECT_EQ(World().VisGroupCount(), 255);
    ASSERT_GE(Editor().messages.Count(), 1u);
    EXPECT_EQ(Editor().messages.Lines().back().text, "Out of group IDs.");
    EXPECT_EQ(Editor().messages.Lines().back().kind, MessageLog::Error);
}

TEST_F(VisGroupsTest, RenamingAndColouring) {
    NewVisGroup(World());
    RenameVisGroup(World(), 0, std::string(200, 'x'));
    EXPECT_EQ(World().VisGroupAt(0).name.size(), 127u);
    SetVisGroupColor(World(), 0, 0x123456);
    EXPECT_EQ(World().VisGroupAt(0).color, 0x123456u);
    EXPECT_EQ(SwapRedAndBlue(0x123456), 0x563412u);
    EXPECT_EQ(SwapRedAndBlue(SwapRedAndBlue(0xABCDEF)), 0xABCDEFu);
    RenameVisGroup(World(), 5, "nothing");
    frame.activations.clear();
    CloseObjectGroups(*doc);
    EXPECT_EQ(frame.activations, std::vector<CMapDoc*>{doc.get()});
}

TEST_F(VisGroupsTest, NewObjectsJoinTheSwitchedOnGroupsWhileFiltering) {
    World().ReplaceVisGroups(
        {Group(1, true, 0x0000FF), Group(2, false), Group(4, true), Group(9, false)});
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    Select({a});

    OnGroup(*doc);
    CMapClass* unfiltered = doc->SelectedObjects().front();
    EXPECT_EQ(unfiltered->OwnVisGroups(), (VisGroupIds{0, 0, 0, 0, 0, 0, 0, 0}));
    doc->OnUndo();

    World().UpdateVisibleObjects(FILTER_VISGROUPS);
    Select({a});
    const std::string before = Snapshot();
    OnGroup(*doc);
    CMapClass* group = doc->SelectedObjects().front();
    EXPECT_EQ(group->OwnVisGroups(), (VisGroupIds{1, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(a->IsInVisGroup(4));
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(VisGroupsTest, FilterControlApplyRefiltersAndDropsHiddenObjectsFromTheSelection) {
    World().ReplaceVisGroups({Group(3, true), Group(7, true)});
    CMapSolid* both = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    both->SetVisGroups({3, 7, 0, 0, 0, 0, 0, 0});
    CMapSolid* none = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    CMapSolid* laterSlot = Add(MakeBox({200, 0, 0}, {264, 64, 64}));
    laterSlot->SetVisGroups({0, 7, 0, 0, 0, 0, 0, 0});
    World().UpdateVisibleObjects();

    FilterControl bar;
    bar.Refill(&World());
    ASSERT_EQ(bar.CheckCount(), 2);
    EXPECT_FALSE(bar.FilterByVisGroups());
    // Nothing changed: no refilter.
    EXPECT_FALSE(bar.Apply(*doc));

    bar.ToggleVisGroups();
    Select({both, none, laterSlot});
    top.updates.clear();
    EXPECT_TRUE(bar.Apply(*doc));
    EXPECT_EQ(World().DisplayFilterFlags() & FILTER_VISGROUPS, FILTER_VISGROUPS);
    EXPECT_EQ(World().VisibleObjects(), std::vector<CMapClass*>{both});
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{both});
    EXPECT_EQ(top.updates.front(), UPDATE_OBJECTS);

    bar.SetChecked(0, false);
    EXPECT_TRUE(bar.Apply(*doc));
    EXPECT_FALSE(World().VisGroupAt(0).visible);
    EXPECT_EQ(World().VisibleObjects(), std::vector<CMapClass*>{both});
    bar.SetChecked(1, false);
    EXPECT_TRUE(bar.Apply(*doc));
    EXPECT_TRUE(World().VisibleObjects().empty());
    EXPECT_TRUE(doc->SelectedObjects().empty());

    // Checks changed while not filtering: the flags are stored, nothing is refiltered.
    bar.ToggleVisGroups();
    EXPECT_TRUE(bar.Apply(*doc));
    EXPECT_EQ(World().VisibleObjects().size(), 3u);
    bar.SetChecked(0, true);
    EXPECT_FALSE(bar.Apply(*doc));
    EXPECT_TRUE(World().VisGroupAt(0).visible);
}

TEST_F(VisGroupsTest, RemovingAGroupTakesItsIdOutOfEveryObjectUndoably) {
    World().ReplaceVisGroups({Group(2, true), Group(3, true, 0x00FF00), Group(7, true)});
    auto* group = Add(new CMapGroup);
    CMapSolid* inner = MakeBox({0, 0, 0}, {64, 64, 64});
    group->AddChild(inner);
    group->SetVisGroups({3, 7, 0, 0, 0, 0, 0, 0});
    inner->SetVisGroups({2, 3, 0, 0, 0, 0, 0, 0});
    CMapSolid* other = Add(MakeBox({100, 0, 0}, {164, 64, 64}));
    other->SetVisGroups({7, 0, 0, 0, 0, 0, 0, 0});
    World().UpdateVisibleObjects(FILTER_VISGROUPS);
    const std::string before = Snapshot();

    RemoveVisGroup(*doc, 1);

    ASSERT_EQ(World().VisGroupCount(), 2);
    EXPECT_EQ(World().FindVisGroup(3), nullptr);
    EXPECT_EQ(World().FindVisGroup(7), &World().VisGroupAt(1));
    // The next membership moves up so the group stays visible under filtering.
    EXPECT_EQ(group->OwnVisGroups()[0], 7);
    EXPECT_FALSE(group->IsInVisGroup(3));
    EXPECT_FALSE(inner->OwnVisGroups()[0] == 3 || inner->OwnVisGroups()[1] == 3);
    EXPECT_EQ(World().VisibleObjects().size(), 2u);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Remove Group");
    // Its id stays reserved while the removal can be undone.
    EXPECT_EQ(World().VisGroupAt(NewVisGroup(World())).id, 1);
    EXPECT_EQ(World().VisGroupAt(NewVisGroup(World())).id, 4);

    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    ASSERT_EQ(World().VisGroupCount(), 5);
    EXPECT_EQ(World().VisGroupAt(1).id, 3);
    EXPECT_EQ(World().VisGroupAt(1).color, 0x00FF00u);
    // The groups made after the removal are still there.
    EXPECT_NE(World().FindVisGroup(1), nullptr);
    EXPECT_NE(World().FindVisGroup(4), nullptr);

    doc->OnRedo();
    EXPECT_EQ(World().FindVisGroup(3), nullptr);
    EXPECT_EQ(World().VisGroupCount(), 4);
    EXPECT_EQ(group->OwnVisGroups()[0], 7);
    doc->OnUndo();
    EXPECT_EQ(World().VisGroupAt(1).id, 3);
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
}

} // namespace
