#include "EditingTestSupport.h"

#include "document/History.h"
#include "editing/EditCommands.h"

namespace {

class EmptyStepTest : public EditingTest {
protected:
    CMapSolid* deleted = nullptr;
    CMapSolid* kept = nullptr;
    std::string beforeDelete;

    // Two boxes far apart; the first one is deleted and the second one selected.
    void DeleteOneOfTwo() {
        deleted = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
        kept = Add(MakeBox({500, 0, 0}, {564, 64, 64}));
        beforeDelete = Snapshot();
        Select({deleted});
        OnEditDelete(*doc);
        ASSERT_EQ(deleted->Parent(), nullptr);
        Select({kept});
    }
};

TEST_F(EmptyStepTest, ACarveThatTouchesNothingLeavesTheDeleteUndoable) {
    DeleteOneOfTwo();
    const std::string afterDelete = Snapshot();

    OnCarve(*doc);

    EXPECT_EQ(SnapshotDifference(afterDelete, Snapshot()), "");
    EXPECT_TRUE(doc->UndoHistory().CanUndo());
    EXPECT_EQ(UndoMenuText(doc->UndoHistory(), false).text, "Undo Delete\tCtrl+Z");
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(beforeDelete, Snapshot()), "");
    EXPECT_EQ(deleted->Parent(), &World());
}

TEST_F(EmptyStepTest, UngroupAndMoveToWorldWithoutGroupsOrEntitiesChangeNoHistory) {
    DeleteOneOfTwo();
    const std::size_t tracks = doc->UndoHistory().TrackCount();

    OnUngroup(*doc);
    Select({kept});
    OnMoveToWorld(*doc);
    Select({kept});
    OnCarve(*doc);

    EXPECT_EQ(doc->UndoHistory().TrackCount(), tracks);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Delete");
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(beforeDelete, Snapshot()), "");
}

TEST_F(EmptyStepTest, CommandsThatChangeNothingLeaveTheMapUnmodified) {
    CMapSolid* box = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    Add(MakeBox({500, 0, 0}, {564, 64, 64}));
    doc->SetModified(false);
    Select({box});

    OnCarve(*doc);
    OnUngroup(*doc);
    OnMoveToWorld(*doc);
    EXPECT_FALSE(doc->IsModified());

    // A command that does change the map still marks it.
    Select({box});
    OnFlip(*doc, top, true);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EmptyStepTest, AStepThatChangesNothingKeepsWhatCanBeRedone) {
    DeleteOneOfTwo();
    const std::string afterDelete = Snapshot();
    doc->OnUndo();
    ASSERT_TRUE(doc->RedoHistory().CanUndo());

    Select({kept});
    OnCarve(*doc);
    OnUngroup(*doc);

    EXPECT_EQ(UndoMenuText(doc->RedoHistory(), true).text, "Redo Delete\tCtrl+Y");
    doc->OnRedo();
    EXPECT_EQ(SnapshotDifference(afterDelete, Snapshot()), "");
}

} // namespace
