#include "ModalDriver.h"

#include "app/QtPrompts.h"
#include "document/MapDoc.h"
#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/CreatePrefabCommand.h"
#include "panels/EditLibraryDialog.h"
#include "panels/PasteSpecialDialog.h"
#include "panels/ProblemCheckDialog.h"
#include "prefabs/PrefabCommands.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/Selection.h"
#include "support/SolidBuilders.h"
#include "support/WorldSnapshot.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

CMapSolid* MakeCube(const Vector& lo, const Vector& hi) {
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, lo, hi);
    solid->SetTexture("WALL");
    solid->CreateFromPlanes();
    solid->CalcBounds();
    return solid;
}

// A map document with a top view centred on the origin, active, with scripted prompts.
class EditDialogsTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeMainFrame frame;
    FakeView top{false, 0, 1, Vector{0, 0, 0}};
    std::unique_ptr<CMapDoc> doc;
    QTemporaryDir directory;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().mainFrame = &frame;
        context.Context().programDirectory = directory.path().toStdString();
        doc = std::make_unique<CMapDoc>();
        doc->AddView(&top);
        CMapDoc::SetActiveMapDoc(doc.get());
    }
    void TearDown() override { doc.reset(); }

    CMapWorld& World() { return *doc->World(); }
    template <typename T> T* Add(T* object) {
        World().AddChild(object);
        World().UpdateVisibleObjects(0);
        return object;
    }
    void Select(std::initializer_list<CMapClass*> objects) { SelectExactly(*doc, objects); }
    static void TypeInto(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
};

} // namespace

TEST_F(EditDialogsTest, PasteSpecialMakesThreeCopiesSixtyFourApartInOneUndoStep) {
    CMapSolid* cube = Add(MakeCube({0, 0, 0}, {64, 64, 64}));
    Select({cube});
    OnEditCopy(*doc);
    const std::string before = WorldSnapshot(World());
    const std::size_t steps = doc->UndoHistory().TrackCount();

    PasteSpecialDialog dialog(PasteSpecialSettings{}, Editor().GetClipboard());
    WhenModal([](QWidget* shown) {
        auto* d = static_cast<PasteSpecialDialog*>(shown);
        TypeInto(d->CopiesField(), "3");
        // "<" puts the extent in, a second press its negation, a third the extent again.
        QTest::mouseClick(d->ExtentButton(0), Qt::LeftButton);
        EXPECT_EQ(d->OffsetField(0)->value(), 64);
        QTest::mouseClick(d->ExtentButton(0), Qt::LeftButton);
        EXPECT_EQ(d->OffsetField(0)->value(), -64);
        QTest::mouseClick(d->ExtentButton(0), Qt::LeftButton);
        EXPECT_TRUE(d->CenterBox()->isChecked());
        QTest::keyClick(d->CopiesField(), Qt::Key_Return);
    });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    const PasteSpecialSettings settings = dialog.Settings();
    EXPECT_EQ(settings.copies, 3);
    EXPECT_EQ(settings.offset, (std::array<int, 3>{64, 0, 0}));
    OnPasteSpecial(*doc, settings);

    ASSERT_EQ(World().Children().size(), 4u);
    std::vector<float> starts;
    for (CMapClass* child : World().Children()) {
        if (child != cube) {
            starts.push_back(child->Bounds().mins[0]);
            EXPECT_FLOAT_EQ(child->Bounds().mins[1], 0.0f);
        }
    }
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, (std::vector<float>{64, 128, 192}));
    EXPECT_EQ(doc->SelectedObjects().size(), 3u);
    // The dialog's choices are remembered for the next paste.
    EXPECT_EQ(PasteSpecialSettings::Load(Editor().Settings()).copies, 3);

    EXPECT_EQ(doc->UndoHistory().TrackCount(), steps + 1);
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(before, WorldSnapshot(World())), "");
}

TEST_F(EditDialogsTest, MakeHollowAsksForTheThicknessAndMakesSixWallsInOneUndoStep) {
    QtPrompts qtPrompts;
    context.Context().SetPrompts(&qtPrompts);
    CMapSolid* cube = Add(MakeCube({0, 0, 0}, {64, 64, 64}));
    Select({cube});
    const std::string before = WorldSnapshot(World());
    const std::size_t steps = doc->UndoHistory().TrackCount();

    QString label;
    WhenModal([&label](QWidget* shown) {
        auto* input = qobject_cast<QInputDialog*>(shown);
        ASSERT_NE(input, nullptr);
        label = input->labelText();
        auto* spin = input->findChild<QSpinBox*>();
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->minimum(), -1024);
        EXPECT_EQ(spin->maximum(), 1024);
        EXPECT_EQ(spin->value(), 32);
        TypeInto(spin, "16");
        QTest::keyClick(spin, Qt::Key_Return);
    });
    OnMakeHollow(*doc);

    EXPECT_EQ(label, "How thick do you want the walls? Use a negative number to hollow outward.");
    ASSERT_EQ(World().Children().size(), 1u);
    CMapClass* walls = World().Children().front();
    ASSERT_TRUE(walls->IsType(kTypeMapGroup));
    EXPECT_EQ(walls->Children().size(), 6u);
    EXPECT_EQ(Editor().hollowThickness, 16);
    EXPECT_EQ(doc->UndoHistory().TrackCount(), steps + 1);
    doc->OnUndo();
    EXPECT_EQ(SnapshotDifference(before, WorldSnapshot(World())), "");
    context.Context().SetPrompts(&prompts);
}

TEST_F(EditDialogsTest, TieToEntityAsksAboutTheSelectedEntityAndAddsTheSolidsToIt) {
    QtPrompts qtPrompts;
    context.Context().SetPrompts(&qtPrompts);
    auto* door = new CMapEntity;
    door->SetClass("func_door");
    door->AddChild(MakeCube({0, 0, 0}, {32, 32, 32}));
    Add(door);
    CMapSolid* loose = Add(MakeCube({64, 0, 0}, {96, 32, 32}));
    Select({loose, door});

    QString question;
    WhenModal([&question](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        question = box->text();
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    });
    OnTieToEntity(*doc);

    EXPECT_TRUE(question.startsWith("You have selected an existing entity (a 'func_door'.)"))
        << question.toStdString();
    EXPECT_EQ(loose->Parent(), door);
    EXPECT_EQ(door->Children().size(), 2u);
    EXPECT_EQ(World().Children().size(), 1u);
    context.Context().SetPrompts(&prompts);
}

TEST_F(EditDialogsTest, ProblemDialogListsTheProblemsAndGoesToTheError) {
    Add(MakeCube({0, 0, 0}, {64, 64, 64}));
    auto* trigger = new CMapEntity;
    trigger->SetPointEntity(true);
    trigger->SetClass("trigger_relay");
    trigger->SetOrigin({200, 100, 16});
    trigger->SetKeyValue("target", "nowhere");
    Add(trigger);

    ProblemCheckDialog dialog(*doc);
    ASSERT_TRUE(dialog.RunChecks());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.ProblemList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "There is no player start.");
    EXPECT_EQ(list->item(1)->text(), "Unmatched 'target' field");

    auto clickRow = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };
    clickRow(0);
    EXPECT_FALSE(dialog.GoToButton()->isEnabled());
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_TRUE(dialog.Description()->toPlainText().startsWith("There is no player start"));

    clickRow(1);
    EXPECT_TRUE(dialog.GoToButton()->isEnabled());
    EXPECT_TRUE(dialog.Description()->toPlainText().contains("'target' value"));
    doc->SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    QTest::mouseClick(dialog.GoToButton(), Qt::LeftButton);
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    EXPECT_EQ(doc->SelectedObjects().front(), trigger);
    const Vector centre = (trigger->Bounds().mins + trigger->Bounds().maxs) * 0.5f;
    EXPECT_FLOAT_EQ(top.centeredOn[0], centre[0]);
    EXPECT_FLOAT_EQ(top.centeredOn[1], centre[1]);
}

TEST_F(EditDialogsTest, ProblemCheckOnACleanMapSaysNoErrorsWereFound) {
    auto* start = new CMapEntity;
    start->SetPointEntity(true);
    start->SetClass("info_player_start");
    Add(start);
    ProblemCheckDialog dialog(*doc);
    EXPECT_FALSE(dialog.RunChecks());
    EXPECT_TRUE(prompts.Showed("No errors were found."));
}

TEST_F(EditDialogsTest, PrefabMadeFromTheSelectionInsertsBackIdentical) {
    auto* entity = new CMapEntity;
    entity->SetClass("func_wall");
    entity->AddChild(MakeCube({-32, -32, -16}, {32, 32, 16}));
    Add(entity);
    CMapSolid* pillar = Add(MakeCube({-8, -8, 16}, {8, 8, 80}));
    Select({entity, pillar});
    prompts.answers = {Prompts::Answer::Ok};

    int shownTimes = 0;
    std::function<void(QWidget*)> answer = [&](QWidget* shown) {
        auto* d = qobject_cast<EditLibraryDialog*>(shown);
        ASSERT_NE(d, nullptr);
        ASSERT_NE(d->LibraryList(), nullptr);
        ++shownTimes;
        // First a name the check refuses (OK: ask again), then a good one.
        TypeInto(d->NameField(), shownTimes == 1 ? "crate.bad" : "Crate (2)");
        TypeInto(d->DescriptionField(), "a wall with a pillar");
        if (shownTimes == 1) {
            WhenModal(answer);
        }
        QTest::keyClick(d->NameField(), Qt::Key_Return);
    };
    WhenModal(answer);
    CPrefab* prefab = CreatePrefabFromSelection(*doc, nullptr);
    ASSERT_NE(prefab, nullptr);
    EXPECT_EQ(shownTimes, 2);
    EXPECT_TRUE(prompts.Showed(
        "That's not a valid name - some of the characters aren't\nacceptable. Try using a name "
        "with only A-Z, 0-9, space,\nand these characters: $%`-_@~'!(){}^#&"));

    // The same objects, as a group of copies centred where the originals were.
    const std::string original = WorldSnapshot(*entity) + WorldSnapshot(*pillar);
    CMapClass* inserted = InsertPrefab(*doc, prefab);
    ASSERT_NE(inserted, nullptr);
    ASSERT_TRUE(inserted->IsType(kTypeMapGroup));
    ASSERT_EQ(inserted->Children().size(), 2u);
    const Vector shift = inserted->Bounds().mins - entity->Bounds().mins;
    std::string copies;
    for (CMapClass* child : inserted->Children()) {
        child->TransMove(Vector{0, 0, 0} - shift);
        copies += WorldSnapshot(*child);
    }
    EXPECT_EQ(SnapshotDifference(original, copies), "");
}
