#include "EditingTestSupport.h"

#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"

namespace {

class ClipboardCommandsTest : public EditingTest {};

TEST_F(ClipboardCommandsTest, DeleteTakesTheSelectionOutAndUndoPutsItBackInPlace) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    auto* group = Add(new CMapGroup);
    group->AddChild(MakeBox({100, 0, 0}, {164, 64, 64}));
    CMapSolid* c = Add(MakeBox({200, 0, 0}, {264, 64, 64}));
    const std::string before = Snapshot();
    Select({a, group});
    top.updates.clear();

    OnEditDelete(*doc);

    EXPECT_EQ(World().Children().size(), 1u);
    EXPECT_EQ(World().Children().front(), c);
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Delete");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(top.updates.back(), UPDATE_OBJECTS);
    EXPECT_GE(properties.clears, 1);
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(ClipboardCommandsTest, PasteLandsCentredOnThePastePointTwiceAndKeepsTheClipboard) {
    top = FakeView(false, 0, 1, Vector{1000, 2000, 0});
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 32, 16}));
    Select({a});
    OnEditCopy(*doc);
    ASSERT_EQ(Editor().GetClipboard().Count(), 1u);
    EXPECT_EQ(Editor().GetClipboard().Center(), Vector(32, 16, 8));
    // The stored copy sits around the origin.
    EXPECT_EQ(Editor().GetClipboard().Object(0).Bounds().mins, Vector(-32, -16, -8));

    for (int paste = 0; paste < 2; ++paste) {
        const std::string before = Snapshot();
        OnEditPaste(*doc);
        ASSERT_EQ(doc->SelectedObjects().size(), 1u);
        CMapClass* copy = doc->SelectedObjects().front();
        EXPECT_NE(copy, a);
        EXPECT_EQ(copy->Parent(), &World());
        EXPECT_EQ(copy->Bounds().mins, Vector(968, 1984, -8));
        EXPECT_EQ(copy->Bounds().maxs, Vector(1032, 2016, 8));
        EXPECT_EQ(doc->UndoHistory().CurrentName(), "Paste");
        // The objects are rebuilt, then the selection is shown (status, properties, handles).
        ASSERT_GE(top.updates.size(), 2u);
        EXPECT_EQ(top.updates[top.updates.size() - 2], UPDATE_REDRAW | UPDATE_OBJECTS);
        EXPECT_EQ(top.updates.back(), 5);
        // Status and Properties describe the pasted copy the views show selected.
        EXPECT_EQ(panes.panes[1], copy->GetDescription());
        EXPECT_EQ(panes.panes[3], "64w 32l 16h");
        ASSERT_FALSE(properties.sets.empty());
        EXPECT_EQ(properties.sets.back(), std::vector<CMapClass*>{copy});
        EXPECT_TRUE(UndoRedoExact(before));
    }
    EXPECT_EQ(World().Children().size(), 3u);
    EXPECT_EQ(Editor().GetClipboard().Count(), 1u);
}

TEST_F(ClipboardCommandsTest, CutThenUndoLeavesTheClipboardItsOwnCopies) {
    auto* entity = Add(new CMapEntity);
    entity->SetClass("func_door");
    entity->AddChild(MakeBox({0, 0, 0}, {64, 64, 64}));
    entity->CalcBounds();
    const std::string before = Snapshot();
    Select({entity});
    OnEditCut(*doc);
    EXPECT_TRUE(World().Children().empty());
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(before, Snapshot()), "");
    // Changing the original does not reach the clipboard.
    doc->SelectObject(nullptr, SELECT_CLEAR);
    entity->TransMove({500, 0, 0});
    OnEditPaste(*doc);
    CMapClass* copy = doc->SelectedObjects().front();
    ASSERT_TRUE(copy->IsType(kTypeMapEntity));
    EXPECT_EQ(static_cast<CMapEntity*>(copy)->ClassName(), "func_door");
    ASSERT_EQ(copy->Children().size(), 1u);
    EXPECT_EQ(copy->Bounds().mins, Vector(-32, -32, -32));
}

TEST_F(ClipboardCommandsTest, CopyWithNothingSelectedKeepsTheClipboard) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 64, 64}));
    Select({a});
    OnEditCopy(*doc);
    Select({});
    OnEditCopy(*doc);
    EXPECT_EQ(Editor().GetClipboard().Count(), 1u);
}

TEST_F(ClipboardCommandsTest, TheClipboardOutlivesItsDocument) {
    {
        CMapDoc source;
        CMapDoc::SetActiveMapDoc(&source);
        auto* solid = MakeBox({0, 0, 0}, {64, 64, 64});
        source.World()->AddChild(solid);
        source.SelectObject(solid, SELECT_ADD);
        OnEditCopy(source);
    }
    CMapDoc::SetActiveMapDoc(doc.get());
    OnEditPaste(*doc);
    ASSERT_EQ(World().Children().size(), 1u);
    EXPECT_EQ(World().Children().front()->WorldIndex(), World().WorldIndex());
}

TEST_F(ClipboardCommandsTest, PasteSpecialOffsetsEachCopyFromTheOriginal) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {32, 32, 32}));
    CMapSolid* b = Add(MakeBox({0, 100, 0}, {32, 132, 32}));
    Select({a, b});
    OnEditCopy(*doc);
    PasteSpecialSettings settings;
    settings.copies = 3;
    settings.offset = {64, 0, 0};
    const std::string before = Snapshot();

    OnPasteSpecial(*doc, settings);

    ASSERT_EQ(doc->SelectedObjects().size(), 6u);
    // The values are kept for the dialog's next use.
    EXPECT_EQ(PasteSpecialSettings::Load(Editor().Settings()).copies, 3);
    EXPECT_EQ(PasteSpecialSettings::Load(Editor().Settings()).offset, settings.offset);
    for (int n = 0; n < 3; ++n) {
        const CMapClass* copyA = doc->SelectedObjects()[static_cast<std::size_t>(2 * n)];
        const CMapClass* copyB = doc->SelectedObjects()[static_cast<std::size_t>(2 * n + 1)];
        const float x = 64.0f * static_cast<float>(n + 1);
        EXPECT_EQ(copyA->Bounds().mins, Vector(x, 0, 0));
        EXPECT_EQ(copyB->Bounds().mins, Vector(x, 100, 0));
    }
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Paste");
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(ClipboardCommandsTest, PasteSpecialIntoAGroupLeavesTheWorldsBoundsCoveringIt) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {32, 32, 32}));
    Select({a});
    OnEditCopy(*doc);
    PasteSpecialSettings settings;
    settings.copies = 4;
    settings.group = true;
    settings.offset = {0, 0, 1000};
    const std::string before = Snapshot();

    OnPasteSpecial(*doc, settings);

    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    CMapClass* group = doc->SelectedObjects().front();
    ASSERT_TRUE(group->IsType(kTypeMapGroup));
    EXPECT_EQ(group->Children().size(), 4u);
    EXPECT_EQ(World().Bounds().maxs, Vector(32, 32, 4032));
    EXPECT_EQ(StaleBounds(World()), "");
    EXPECT_TRUE(UndoRedoExact(before));
    EXPECT_EQ(StaleBounds(World()), "");
}

TEST_F(ClipboardCommandsTest, PasteSpecialRotationAccumulatesAboutEachCopysCentre) {
    CMapSolid* a = Add(MakeBox({0, 0, 0}, {64, 32, 16}));
    Select({a});
    OnEditCopy(*doc);
    PasteSpecialSettings settings;
    settings.copies = 4;
    settings.rotate = {0, 0, 90};
    settings.group = true;
    const std::string before = Snapshot();

    OnPasteSpecial(*doc, settings);

    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    CMapClass* group = doc->SelectedObjects().front();
    ASSERT_TRUE(group->IsType(kTypeMapGroup));
    std::vector<CMapSolid*> copies = SolidsBelow(*group);
    ASSERT_EQ(copies.size(), 4u);
    // 90 and 270 degrees swap the extents about the centre; 180 and 360 keep them.
    EXPECT_EQ(copies[0]->Bounds().mins, Vector(16, -16, 0));
    EXPECT_EQ(copies[0]->Bounds().maxs, Vector(48, 48, 16));
    EXPECT_EQ(copies[1]->Bounds().mins, Vector(0, 0, 0));
    EXPECT_EQ(copies[2]->Bounds().mins, Vector(16, -16, 0));
    // 360 degrees gives back the original planes exactly.
    EXPECT_EQ(WorldSnapshot(*copies[3]).substr(WorldSnapshot(*copies[3]).find('\n')),
              WorldSnapshot(*a).substr(WorldSnapshot(*a).find('\n')));
    // 90 degrees: the face that looked along +x now looks along +y.
    EXPECT_EQ(copies[0]->Face(2).GetPlane().normal, Vector(0, 1, 0));
    EXPECT_EQ(copies[1]->Face(2).GetPlane().normal, Vector(-1, 0, 0));
    EXPECT_TRUE(UndoRedoExact(before));
}

TEST_F(ClipboardCommandsTest, PasteSpecialWithoutCentreStartsAtThePastePoint) {
    top = FakeView(false, 0, 1, Vector{512, 512, 0});
    Add(MakeBox({0, 0, 0}, {64, 32, 16}));
    Select({World().Children().front()});
    OnEditCopy(*doc);
    PasteSpecialSettings settings;
    settings.center = false;
    OnPasteSpecial(*doc, settings);
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    // Moved by the paste point minus half the box: its upper corner lands on the point.
    EXPECT_EQ(doc->SelectedObjects().front()->Bounds().maxs, Vector(512, 512, 0));
}

TEST_F(ClipboardCommandsTest, PasteSpecialSettingsRoundTripThroughTheirSection) {
    MemorySettingsStore store;
    PasteSpecialSettings defaults = PasteSpecialSettings::Load(store);
    EXPECT_EQ(defaults.copies, 1);
    EXPECT_FALSE(defaults.group);
    EXPECT_TRUE(defaults.center);
    EXPECT_EQ(defaults.offset, (std::array<int, 3>{0, 0, 0}));

    PasteSpecialSettings settings;
    settings.copies = 12;
    settings.group = true;
    settings.center = false;
    settings.offset = {64, -32, 8};
    settings.rotate = {0, 22.5f, 90};
    settings.Save(store);
    EXPECT_EQ(store.GetString("Paste Special", "Offset", ""), "64 -32 8");
    EXPECT_EQ(store.GetString("Paste Special", "Rotate", ""), "0.0 22.5 90.0");
    PasteSpecialSettings loaded = PasteSpecialSettings::Load(store);
    EXPECT_EQ(loaded.copies, 12);
    EXPECT_TRUE(loaded.group);
    EXPECT_FALSE(loaded.center);
    EXPECT_EQ(loaded.offset, settings.offset);
    EXPECT_EQ(loaded.rotate, settings.rotate);

    store.WriteInt("Paste Special", "Copies", 100000);
    store.WriteString("Paste Special", "Offset", "garbage");
    loaded = PasteSpecialSettings::Load(store);
    EXPECT_EQ(loaded.copies, 256);
    EXPECT_EQ(loaded.offset, (std::array<int, 3>{0, 0, 0}));
}

TEST_F(ClipboardCommandsTest, OffsetButtonGivesTheExtentThenItsNegation) {
    Add(MakeBox({0, 0, 0}, {96.5f, 32, 16}));
    Select({World().Children().front()});
    OnEditCopy(*doc);
    const Clipboard& clipboard = Editor().GetClipboard();
    int field = 0;
    field = OffsetButtonValue(field, clipboard, 0);
    EXPECT_EQ(field, 96);
    field = OffsetButtonValue(field, clipboard, 0);
    EXPECT_EQ(field, -96);
    EXPECT_EQ(OffsetButtonValue(field, clipboard, 0), 96);
    EXPECT_EQ(OffsetButtonValue(7, clipboard, 2), 16);
}

} // namespace
