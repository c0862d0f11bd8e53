#include "document/History.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/TestObjects.h"

#include <gtest/gtest.h>

#include <set>

namespace {

VisGroupIds Ids(std::uint8_t first) {
    return VisGroupIds{first, 0, 0, 0, 0, 0, 0, 0};
}

class HistoryTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    CHistory undo;
    CHistory redo;
    TestWorldObject world;
    std::multiset<CMapClass*> goingAway;

    void SetUp() override {
        CHistory::Link(undo, redo);
        undo.memoryLoad = [] { return std::optional<int>(10); };
        redo.memoryLoad = undo.memoryLoad;
        context.Context().SetActiveHistory(&undo);
        context.Context().SetPrompts(&prompts);
        context.Context().objectGoingAway = [this](CMapClass* o) { goingAway.insert(o); };
    }
    void TearDown() override {
        TestMapObject::destroyedLog = nullptr;
        CHistory::DisposeWithDocument(undo, redo);
        context.Context().SetActiveHistory(nullptr);
    }
    TestMapObject* AddToWorld() {
        auto* o = new TestMapObject;
        world.AddChild(o);
        return o;
    }
    void Delete(CMapClass* o) {
        world.RemoveChild(o, true);
        undo.KeepForDestruction(o);
    }
};

TEST_F(HistoryTest, RecordingBeforeAnyStepIsSkipped) {
    TestMapObject* o = AddToWorld();
    o->SetVisGroups(Ids(3));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(UndoMenuText(undo, false).text, "Can't Undo\tCtrl+Z");
    EXPECT_FALSE(UndoMenuText(undo, false).enabled);
}

TEST_F(HistoryTest, AnObjectChangedTwiceIsCopiedOnceAndRestoredToItsFirstState) {
    TestMapObject* o = AddToWorld();
    o->SetVisGroups(Ids(1));
    undo.MarkUndoPosition({}, "Translation");
    o->SetVisGroups(Ids(2));
    o->SetVisGroups(Ids(3));
    ASSERT_EQ(undo.CurrentTrack()->Entries().size(), 1u);
    EXPECT_EQ(UndoMenuText(undo, false).text, "Undo Translation\tCtrl+Z");
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(1));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(UndoMenuText(undo, false).text, "Can't Undo\tCtrl+Z");
    ASSERT_TRUE(redo.CanUndo());
    EXPECT_EQ(UndoMenuText(redo, true).text, "Redo Translation\tCtrl+Y");
    redo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(3));
    EXPECT_TRUE(undo.CanUndo());
}

TEST_F(HistoryTest, CreatingAndAttachingIsUndoneByDetachingAndRedoneUnderTheSameParent) {
    auto* group = AddToWorld();
    undo.MarkUndoPosition({}, "New Object");
    auto* created = new TestMapObject;
    undo.KeepNew(created);
    group->AddChild(created);
    undo.Undo();
    EXPECT_EQ(created->Parent(), nullptr);
    EXPECT_TRUE(group->Children().empty());
    redo.Undo();
    EXPECT_EQ(created->Parent(), group);
    EXPECT_EQ(group->Children().size(), 1u);
}

TEST_F(HistoryTest, ANewStepAfterUndoEmptiesRedoAndDestroysWhatItHeld) {
    undo.MarkUndoPosition({}, "New Object");
    auto* created = new TestMapObject;
    undo.KeepNew(created);
    world.AddChild(created);
    undo.Undo(); // redo now holds the created object as removed
    EXPECT_EQ(redo.TrackCount(), 1u);
    EXPECT_EQ(goingAway.count(created), 1u);
    goingAway.clear();
    TestMapObject* o = AddToWorld();
    undo.MarkUndoPosition({}, "Delete");
    // Only a step that changes something replaces what could be redone.
    EXPECT_EQ(redo.TrackCount(), 1u);
    EXPECT_TRUE(goingAway.empty());
    Delete(o);
    EXPECT_EQ(redo.TrackCount(), 0u);
    EXPECT_EQ(goingAway.count(created), 1u); // destroyed now (ASan checks it is freed once)
}

TEST_F(HistoryTest, AStepThatRecordsNothingHidesNoEarlierStep) {
    context.Context().options.undoLevels = 2;
    TestMapObject* o = AddToWorld();
    for (std::uint8_t step = 1; step <= 2; ++step) {
        undo.MarkUndoPosition({}, "Step " + std::to_string(step));
        o->SetVisGroups(Ids(step));
    }
    undo.MarkUndoPosition({}, "Carve");
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.CurrentName(), "Step 2");
    EXPECT_EQ(UndoMenuText(undo, false).text, "Undo Step 2\tCtrl+Z");
    undo.DropEmptyStep();
    EXPECT_EQ(undo.TrackCount(), 2u);
    // Empty steps neither pile up nor push real ones out under the undo levels.
    undo.MarkUndoPosition({}, "Ungroup");
    undo.MarkUndoPosition({}, "toWorld");
    EXPECT_EQ(undo.TrackCount(), 3u);
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(1));
    EXPECT_EQ(redo.CurrentName(), "Step 2");
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(0));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(undo.TrackCount(), 0u);
}

TEST_F(HistoryTest, UndoLevelsTrimTheOldestTracks) {
    context.Context().options.undoLevels = 3;
    TestMapObject* o = AddToWorld();
    for (std::uint8_t step = 1; step <= 4; ++step) {
        undo.MarkUndoPosition({}, "Step " + std::to_string(step));
        o->SetVisGroups(Ids(step));
    }
    EXPECT_EQ(undo.TrackCount(), 3u);
    EXPECT_EQ(undo.CurrentName(), "Step 4");
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(3));
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(2));
    undo.Undo();
    EXPECT_EQ(o->OwnVisGroups(), Ids(1));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(undo.TrackCount(), 0u);
}

TEST_F(HistoryTest, UndoThenRedoRestoresTheFirstStepsSavedSelection) {
    TestMapObject* a = AddToWorld();
    TestMapObject* b = AddToWorld();
    undo.MarkUndoPosition({a}, "Translation");
    a->SetVisGroups(Ids(5));
    std::vector<CMapClass*> selection = undo.Undo();
    EXPECT_EQ(selection, std::vector<CMapClass*>{a});
    (void)b; // the user now selects b; redo still brings back a
    selection = redo.Undo();
    EXPECT_EQ(selection, std::vector<CMapClass*>{a});
}

TEST_F(HistoryTest, DeleteUndoRedoPutsObjectsBackUnderTheirParents) {
    TestMapObject* group = AddToWorld();
    auto* member = new TestMapObject;
    group->AddChild(member);
    undo.MarkUndoPosition({group}, "Delete");
    Delete(group);
    EXPECT_TRUE(world.Children().empty());
    EXPECT_EQ(UndoMenuText(undo, false).text, "Undo Delete\tCtrl+Z");
    undo.Undo();
    ASSERT_EQ(world.Children().size(), 1u);
    EXPECT_EQ(world.Children().front(), group);
    EXPECT_EQ(member->Parent(), group);
    redo.Undo();
    EXPECT_TRUE(world.Children().empty());
    // The deleted group now lives in the undo history; TearDown frees it once.
}

TEST_F(HistoryTest, SuspendedAndDisabledHistoriesRecordNothing) {
    TestMapObject* o = AddToWorld();
    undo.MarkUndoPosition({}, "Paste");
    {
        RecordingSuspender suspend(&undo);
        o->SetVisGroups(Ids(4));
    }
    EXPECT_FALSE(undo.CanUndo());
    o->SetVisGroups(Ids(6));
    EXPECT_TRUE(undo.CanUndo());

    CHistory disabled(CHistory::Disabled);
    disabled.MarkUndoPosition({}, "x");
    disabled.Suspend();
    disabled.Resume();
    EXPECT_EQ(disabled.State(), CHistory::Disabled);
    disabled.Keep(o);
    EXPECT_FALSE(disabled.CanUndo());
    // An object handed to a history that cannot keep it is freed, not leaked.
    disabled.KeepForDestruction(new TestMapObject);
}

TEST_F(HistoryTest, HighMemoryLoadWarnsUntilTheUserOptsOut) {
    undo.memoryLoad = [] { return std::optional<int>(81); };
    undo.MarkUndoPosition({}, "One"); // no current track yet: no warning
    EXPECT_TRUE(prompts.shown.empty());
    prompts.checks.push_back(true);
    undo.MarkUndoPosition({}, "Two");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "Undo Warning");
    EXPECT_EQ(prompts.shown[0].text,
              "Your system load is very high. If you are experiencing sluggish performance, "
              "consider turning down the number of Undo levels by selecting Options in the "
              "Tools menu.");
    EXPECT_EQ(context.Context().Settings().GetInt("General", "Undo Memory Warning", 1), 0);
    undo.MarkUndoPosition({}, "Three");
    EXPECT_EQ(prompts.shown.size(), 1u);
    undo.memoryLoad = [] { return std::optional<int>(80); };
    context.Context().Settings().WriteInt("General", "Undo Memory Warning", 1);
    undo.MarkUndoPosition({}, "Four");
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(HistoryTest, ClosingTheDocumentFreesHeldObjectsExactlyOnce) {
    // Deleted objects (undo), objects whose creation was undone (redo), and a deleted object
    // that a later step put back into the map: each freed once, the attached one left alone.
    std::multiset<const CMapClass*> destroyed;
    TestMapObject::destroyedLog = &destroyed;
    TestMapObject* a = AddToWorld();
    undo.MarkUndoPosition({}, "Delete");
    Delete(a);
    undo.MarkUndoPosition({}, "New Object");
    auto* created = new TestMapObject;
    undo.KeepNew(created);
    world.AddChild(created);
    undo.Undo();
    TestMapObject* b = AddToWorld();
    undo.MarkUndoPosition({}, "Delete");
    Delete(b);
    world.AddChild(b);                       // back in the map: the world owns it
    EXPECT_EQ(destroyed.count(created), 1u); // when the new step emptied the redo history
    EXPECT_EQ(destroyed.count(a), 0u);
    CHistory::DisposeWithDocument(undo, redo);
    TestMapObject::destroyedLog = nullptr;
    EXPECT_EQ(destroyed.count(a), 1u);
    EXPECT_EQ(destroyed.count(created), 1u);
    EXPECT_EQ(destroyed.count(b), 0u); // still in the map: the world frees it
    EXPECT_EQ(world.Children().back(), b);
}

} // namespace
