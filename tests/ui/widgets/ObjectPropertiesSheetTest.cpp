#include "panels/ObjectPropertiesSheet.h"
#include "PropertyWidgetSupport.h"
#include "panels/ClassInfoPage.h"
#include "panels/FlagsPage.h"
#include "panels/NewKeyValueDialog.h"
#include "panels/VisGroupsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

class ObjectPropertiesSheetTest : public PropertyWidgetTest {
protected:
    std::unique_ptr<ObjectPropertiesSheet> sheet;

    void SetUp() override {
        PropertyWidgetTest::SetUp();
        sheet = std::make_unique<ObjectPropertiesSheet>();
        sheet->show();
    }
    void TearDown() override {
        PropertyWidgetTest::TearDown();
        sheet.reset();
    }

    QTreeWidget* Rows() { return sheet->findChild<QTreeWidget*>("KeyValueList"); }
    void ClickRowNamed(const QString& text) {
        const auto found = Rows()->findItems(text, Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        ClickRow(Rows(), Rows()->indexFromItem(found.front()));
    }
};

TEST_F(ObjectPropertiesSheetTest, PagesFollowTheSelection) {
    EXPECT_EQ(sheet->PageCaptions(), QStringList{""});
    EXPECT_TRUE(sheet->findChild<QLabel*>("NoPropertiesPage")->isVisible());
    EXPECT_EQ(sheet->windowTitle(), "Object Properties");

    Select({light});
    EXPECT_EQ(sheet->PageCaptions(), (QStringList{"Class Info", "Flags", "VisGroups"}));
    Select({light, box});
    EXPECT_EQ(sheet->PageCaptions(), QStringList{"VisGroups"});
    Select({box});
    EXPECT_EQ(sheet->PageCaptions(), QStringList{"VisGroups"});
    sheet->SetObjects({doc->World()});
    EXPECT_EQ(sheet->PageCaptions(), QStringList{"Class Info"});
    EXPECT_FALSE(sheet->findChild<QComboBox*>("ClassCombo")->isEnabled());
    Select({});
    EXPECT_EQ(sheet->PageCaptions(), QStringList{""});

    // Closing only hides; the sheet keeps following the selection.
    sheet->close();
    EXPECT_FALSE(sheet->isVisible());
    Select({start});
    EXPECT_EQ(sheet->Objects(), std::vector<CMapClass*>{start});
}

TEST_F(ObjectPropertiesSheetTest, SmartEditShowsDefaultsAndStoresThemWithTheNextChange) {
    light->SetKeyValue("light", std::nullopt);
    Select({light});
    ASSERT_TRUE(sheet->findChild<QPushButton*>("SmartEditButton")->isChecked());
    EXPECT_EQ(Rows()->topLevelItemCount(), 3);
    EXPECT_EQ(Rows()->topLevelItem(1)->text(0), "Brightness");
    EXPECT_EQ(Rows()->topLevelItem(1)->text(1), "300");
    // Looking writes nothing.
    Select({});
    EXPECT_EQ(Value(*light, "light"), "<none>");
    EXPECT_FALSE(doc->IsModified());
    Select({light});
    ClickRowNamed("Name");
    TypeOver(sheet->ClassInfo()->ValueEditor(), "lamp");
    Select({}); // the selection is replaced: the sheet applies first
    EXPECT_EQ(Value(*light, "light"), "300");
    EXPECT_EQ(Value(*light, "style"), "0");
    EXPECT_TRUE(doc->IsModified());
}

// Every angle form goes through selecting, an edit of another key, saving and reopening
// unchanged, in SmartEdit and in keyvalue mode; no "angle" keyvalue is ever made.
TEST_F(ObjectPropertiesSheetTest, EveryAngleFormSurvivesSelectionApplySaveAndReopen) {
    doc->World()->RemoveChild(light);
    delete light;
    light = nullptr;
    const std::vector<int> angles = {90, 0, -1, -2, 270};
    std::vector<CMapEntity*> starts = {start};
    start->SetAngle(angles[0]);
    for (std::size_t i = 1; i < angles.size(); ++i) {
        starts.push_back(AddEntity("info_player_start", {float(128 * i), 256, 0}));
        starts.back()->SetAngle(angles[i]);
    }
    doc->World()->UpdateVisibleObjects();
    const std::string path = data.directory.string() + "/angles.map";
    for (bool smart : {true, false}) {
        for (CMapEntity* entity : starts) {
            Select({entity});
            auto* toggle = sheet->findChild<QPushButton*>("SmartEditButton");
            if (toggle->isChecked() != smart) {
                QTest::mouseClick(toggle, Qt::LeftButton);
            }
            if (smart) {
                ASSERT_EQ(Rows()->topLevelItem(0)->text(0), "Facing");
                EXPECT_EQ(Rows()->topLevelItem(0)->text(1),
                          sheet->findChild<QComboBox*>("AngleCombo")->currentText());
            }
            // An edit elsewhere, so the sheet writes the entity.
            TypeOver(sheet->findChild<QComboBox*>("ClassCombo")->lineEdit(), "info_player_start");
            Select({});
        }
        ASSERT_TRUE(doc->SaveDocument(path));
        CMapDoc reopened;
        ASSERT_TRUE(reopened.OpenDocument(path));
        std::vector<int> read;
        for (CMapClass* child : reopened.World()->Children()) {
            if (auto* entity = dynamic_cast<CMapEntity*>(child)) {
                read.push_back(entity->Angle());
                EXPECT_EQ(entity->KeyValueCount(), 0) << smart;
            }
        }
        EXPECT_EQ(read, angles) << smart;
        CMapDoc::SetActiveMapDoc(doc.get());
    }
}

TEST_F(ObjectPropertiesSheetTest, EditorsOfSmartEditRowsWriteTheirValues) {
    Select({light});
    ClickRowNamed("Brightness");
    auto* edit = qobject_cast<QLineEdit*>(sheet->ClassInfo()->ValueEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "200");
    TypeOver(edit, "450");

    ClickRowNamed("Appearance");
    auto* choices = qobject_cast<QComboBox*>(sheet->ClassInfo()->ValueEditor());
    ASSERT_NE(choices, nullptr);
    EXPECT_EQ(choices->currentText(), "Normal");
    choices->setCurrentIndex(2); // "Slow strobe"
    sheet->Apply();
    EXPECT_EQ(Value(*light, "light"), "450");
    EXPECT_EQ(Value(*light, "style"), "2");

    TypeOver(choices->lineEdit(), "flicker");
    sheet->Apply();
    EXPECT_EQ(Value(*light, "style"), "1");
    TypeOver(choices->lineEdit(), "bright");
    sheet->Apply();
    EXPECT_EQ(Value(*light, "style"), "<none>"); // an empty value is dropped
}

TEST_F(ObjectPropertiesSheetTest, UpTypedInTheAngleComboWritesMinusOne) {
    Select({start});
    auto* angle = sheet->findChild<QComboBox*>("AngleCombo");
    EXPECT_EQ(angle->currentText(), "90");
    TypeOver(angle->lineEdit(), "up");
    Select({});
    EXPECT_EQ(start->Angle(), -1);

    Select({start});
    EXPECT_EQ(angle->currentText(), "Up");
    TypeOver(angle->lineEdit(), "180");
    Select({});
    EXPECT_EQ(start->Angle(), 180);
}

TEST_F(ObjectPropertiesSheetTest, DraggingTheDialSetsTheAngle) {
    Select({start});
    QWidget* dial = sheet->findChild<QWidget*>("AngleDial");
    const QPoint center = dial->rect().center();
    QTest::mousePress(dial, Qt::LeftButton, {}, center + QPoint(0, 200));
    QTest::mouseMove(dial, center + QPoint(-200, 0));
    QTest::mouseRelease(dial, Qt::LeftButton, {}, center + QPoint(-200, 0));
    EXPECT_EQ(sheet->findChild<QComboBox*>("AngleCombo")->currentText(), "180");
    sheet->Apply();
    EXPECT_EQ(start->Angle(), 180);
}

TEST_F(ObjectPropertiesSheetTest, KeyvalueModeKeepsLongValuesAndRefusesLongKeys) {
    light->SetKeyValue("message", "short");
    Select({light});
    QTest::mouseClick(sheet->findChild<QPushButton*>("SmartEditButton"), Qt::LeftButton);
    ASSERT_TRUE(sheet->findChild<QLineEdit*>("ValueEdit")->isVisible());
    ClickRowNamed("message");
    auto* key = sheet->findChild<QLineEdit*>("KeyEdit");
    auto* value = sheet->findChild<QLineEdit*>("ValueEdit");
    EXPECT_EQ(key->text(), "message");
    EXPECT_EQ(value->text(), "short");
    const QString longValue(300, QChar('w'));
    TypeOver(value, longValue);
    sheet->Apply();
    EXPECT_EQ(Value(*light, "message").size(), 300u);

    TypeOver(key, QString(20, QChar('k')));
    QTest::keyClicks(value, "x");
    auto* notice = sheet->findChild<QLabel*>("KeyNotice");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains("at most 19 characters"));
    sheet->Apply();
    EXPECT_EQ(Value(*light, "message").size(), 300u);
    EXPECT_EQ(Value(*light, std::string(19, 'k')), "<none>");
}

TEST_F(ObjectPropertiesSheetTest, AddAndDeleteKeyvalues) {
    Select({light});
    QTest::mouseClick(sheet->findChild<QPushButton*>("SmartEditButton"), Qt::LeftButton);
    // A key that is too long is refused and the dialog stays open; then a good one.
    WhenModalOpens([this](QWidget* modal) {
        auto* dialog = qobject_cast<NewKeyValueDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* key = dialog->findChild<QLineEdit*>("NewKey");
        EXPECT_EQ(key->text(), "newkey1");
        key->setText(QString(20, QChar('k')));
        QTest::keyClick(key, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompts.shown.back().caption, "New Keyvalue");
        key->setText("wait");
        auto* value = dialog->findChild<QLineEdit*>("NewValue");
        EXPECT_EQ(value->text(), "value");
        value->setText("5");
        QTest::keyClick(value, Qt::Key_Return);
    });
    QTest::mouseClick(sheet->findChild<QPushButton*>("AddButton"), Qt::LeftButton);
    EXPECT_EQ(sheet->findChild<QLineEdit*>("KeyEdit")->text(), "wait");
    sheet->Apply();
    EXPECT_EQ(Value(*light, "wait"), "5");

    ClickRowNamed("light");
    QTest::mouseClick(sheet->findChild<QPushButton*>("DeleteButton"), Qt::LeftButton);
    sheet->Apply();
    EXPECT_EQ(Value(*light, "light"), "<none>");
    EXPECT_EQ(Value(*light, "wait"), "5");
}

TEST_F(ObjectPropertiesSheetTest, FlagsAreCaptionedFromTheClassAndWritten) {
    doc->World()->RemoveChild(light);
    delete light;
    light = nullptr;
    auto* door = new CMapEntity;
    door->SetClass("func_door");
    door->SetSpawnFlags(4);
    auto* doorBox = new CMapSolid;
    AddBoxPlanes(*doorBox, {0, 0, 0}, {16, 64, 64});
    ASSERT_TRUE(doorBox->CreateFromPlanes());
    door->AddChild(doorBox);
    doc->World()->AddChild(door);
    Select({door});
    sheet->Tabs()->setCurrentWidget(sheet->Flags());
    EXPECT_EQ(sheet->Flags()->Box(0)->text(), "Starts Open");
    EXPECT_EQ(sheet->Flags()->Box(11)->text(), "Not in deathmatch");
    EXPECT_TRUE(sheet->Flags()->Box(2)->isChecked());
    QTest::mouseClick(sheet->Flags()->Box(0), Qt::LeftButton);
    sheet->Apply();
    EXPECT_EQ(door->SpawnFlags(), 5u);
    QTest::mouseClick(sheet->findChild<QPushButton*>("ClearFlagsButton"), Qt::LeftButton);
    sheet->Apply();
    EXPECT_EQ(door->SpawnFlags(), 0u);
    // Another class relabels the boxes.
    TypeOver(sheet->findChild<QComboBox*>("ClassCombo")->lineEdit(), "func_wall");
    EXPECT_EQ(sheet->Flags()->Box(0)->text(), "");
}

TEST_F(ObjectPropertiesSheetTest, MixedVisGroupsAreShownAndLeftAsTheyWere) {
    CMapWorld& world = *doc->World();
    world.AddVisGroup(VisGroup{"walls", 0x00FF00u, 3, true});
    world.AddVisGroup(VisGroup{"lights", 0xFFFF00u, 4, true});
    world.RebuildVisGroupIndex();
    VisGroupIds three{};
    three[0] = 3;
    light->SetVisGroups(three);
    Select({light, box});
    QListWidget* rows = sheet->VisGroups()->List();
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->item(0)->text(), "walls");
    EXPECT_EQ(rows->item(0)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(rows->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(sheet->Apply(), 0);
    Select({});
    EXPECT_EQ(light->OwnVisGroups(), three);
    EXPECT_EQ(box->OwnVisGroups(), VisGroupIds{});

    // Ticking a row adds both objects to that group; the mixed row stays as it was.
    Select({light, box});
    rows->item(1)->setCheckState(Qt::Checked);
    Select({});
    EXPECT_TRUE(light->IsInVisGroup(3));
    EXPECT_TRUE(light->IsInVisGroup(4));
    EXPECT_FALSE(box->IsInVisGroup(3));
    EXPECT_TRUE(box->IsInVisGroup(4));
    // One object: two-state rows.
    Select({box});
    EXPECT_FALSE(rows->item(0)->flags() & Qt::ItemIsUserTristate);
    EXPECT_EQ(rows->item(1)->checkState(), Qt::Checked);
}

TEST_F(ObjectPropertiesSheetTest, EscapeAndTheCloseButtonHideTheSheetAfterApplying) {
    Select({start});
    auto* angle = sheet->findChild<QComboBox*>("AngleCombo");
    TypeOver(angle->lineEdit(), "45");
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    QTest::keyClick(angle->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(start->Angle(), 45);
    sheet->show();
    TypeOver(angle->lineEdit(), "Down");
    QTest::mouseClick(sheet->findChild<QPushButton*>("CloseButton"), Qt::LeftButton);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(start->Angle(), -2);
}

TEST_F(ObjectPropertiesSheetTest, TheSmartEditToggleLooksPressedWhenOn) {
    Select({start});
    auto* toggle = sheet->findChild<QPushButton*>("SmartEditButton");
    ASSERT_TRUE(toggle->isChecked());
    const QColor highlight = toggle->palette().color(QPalette::Highlight);
    const QImage on = toggle->grab().toImage();
    const QColor pressed = on.pixelColor(4, on.height() / 2);
    EXPECT_LT(std::abs(pressed.red() - highlight.red()) +
                  std::abs(pressed.green() - highlight.green()) +
                  std::abs(pressed.blue() - highlight.blue()),
              30);
    QTest::mouseClick(toggle, Qt::LeftButton);
    const QImage off = toggle->grab().toImage();
    EXPECT_NE(off.pixelColor(4, off.height() / 2), pressed);
}

TEST_F(ObjectPropertiesSheetTest, AKeyEditIsOneUndoStep) {
    Select({light});
    ClickRowNamed("Brightness");
    TypeOver(sheet->ClassInfo()->ValueEditor(), "999");
    Select({});
    EXPECT_EQ(Value(*light, "light"), "999");
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Properties");
    doc->OnUndo();
    EXPECT_EQ(Value(*light, "light"), "200");
    // Shown again, the light's old value is loaded and nothing is written back.
    Select({light});
    EXPECT_EQ(Rows()->topLevelItem(1)->text(1), "200");
    Select({});
    EXPECT_EQ(Value(*light, "light"), "200");
    // Filling in the class defaults on the way did not cost the redo.
    EXPECT_TRUE(doc->RedoHistory().CanUndo());
    doc->OnRedo();
    EXPECT_EQ(Value(*light, "light"), "999");
}

} // namespace
