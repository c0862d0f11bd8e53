#include "PropertyWidgetSupport.h"
#include "panels/FilterControlBar.h"
#include "panels/ObjectGroupsDialog.h"
#include "panels/ObjectPropertiesSheet.h"
#include "panels/VisGroupsPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

class VisGroupDialogsTest : public PropertyWidgetTest {
protected:
    bool Visible(CMapClass* object) {
        const auto& shown = doc->World()->VisibleObjects();
        return std::find(shown.begin(), shown.end(), object) != shown.end();
    }
    static void Click(QWidget* parent, const char* name) {
        auto* button = parent->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

TEST_F(VisGroupDialogsTest, NewGroupsAreNamedColouredAndGetTheSmallestFreeId) {
    CMapWorld& world = *doc->World();
    world.AddVisGroup(VisGroup{"one", 0x112233u, 1, true});
    world.AddVisGroup(VisGroup{"three", 0x445566u, 3, true});
    world.RebuildVisGroupIndex();
    ObjectGroupsDialog dialog(*doc);
    dialog.chooseColor = [](std::uint32_t old) -> std::optional<std::uint32_t> {
        EXPECT_EQ(old, 0x112233u);
        return 0xFF8000u;
    };
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Object Groups");
    auto* name = dialog.findChild<QLineEdit*>("GroupName");
    EXPECT_EQ(name->text(), "one");
    Click(&dialog, "ColorButton");
    EXPECT_EQ(world.VisGroupAt(0).color, 0xFF8000u);

    Click(&dialog, "NewGroupButton");
    ASSERT_EQ(world.VisGroupCount(), 3);
    EXPECT_EQ(world.VisGroupAt(2).id, 2);
    EXPECT_EQ(world.VisGroupAt(2).name, "new group");
    EXPECT_FALSE(world.VisGroupAt(2).visible);
    EXPECT_EQ(name->text(), "new group");
    QTest::keyClicks(name, "doors"); // the new name was selected: typing replaces it
    EXPECT_EQ(world.VisGroupAt(2).name, "doors");
    EXPECT_EQ(dialog.List()->item(2)->text(), "doors");
    Click(&dialog, "CloseButton");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(world.FindVisGroup(2), nullptr);
}

TEST_F(VisGroupDialogsTest, WithEveryIdTakenANewGroupIsRefused) {
    CMapWorld& world = *doc->World();
    for (int id = 1; id <= 255; ++id) {
        world.AddVisGroup(VisGroup{"g", 0, static_cast<std::uint8_t>(id), true});
    }
    world.RebuildVisGroupIndex();
    ObjectGroupsDialog dialog(*doc);
    Click(&dialog, "NewGroupButton");
    EXPECT_EQ(world.VisGroupCount(), 255);
    ASSERT_FALSE(scoped.Context().messages.Lines().empty());
    EXPECT_EQ(scoped.Context().messages.Lines().back().text, "Out of group IDs.");
}

TEST_F(VisGroupDialogsTest, WithoutGroupsTheEditingControlsAreDisabled) {
    ObjectGroupsDialog dialog(*doc);
    EXPECT_FALSE(dialog.findChild<QLineEdit*>("GroupName")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("ColorButton")->isEnabled());
}

TEST_F(VisGroupDialogsTest, FilterControlShowsOnlyVisibleGroupsAfterApply) {
    CMapWorld& world = *doc->World();
    world.AddVisGroup(VisGroup{"lights", 0xFFFF00u, 1, true});
    world.AddVisGroup(VisGroup{"solids", 0x0000FFu, 2, true});
    world.RebuildVisGroupIndex();
    VisGroupIds one{}, two{};
    one[0] = 1;
    two[0] = 2;
    light->SetVisGroups(one);
    start->SetVisGroups(one);
    box->SetVisGroups(two);

    FilterControlBar bar;
    bar.show();
    bar.Refill();
    QListWidget* checks = bar.List();
    ASSERT_EQ(checks->count(), 2);
    EXPECT_EQ(checks->item(1)->text(), "solids");
    EXPECT_EQ(checks->item(1)->checkState(), Qt::Checked);

    checks->item(1)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(bar.ToggleButton(), Qt::LeftButton);
    EXPECT_TRUE(bar.ToggleButton()->isChecked());
    // Nothing changes before Apply.
    EXPECT_TRUE(Visible(box));
    Click(&bar, "ApplyButton");
    EXPECT_FALSE(world.VisGroupAt(1).visible);
    EXPECT_TRUE(Visible(light));
    EXPECT_FALSE(Visible(box));

    QTest::mouseClick(bar.ToggleButton(), Qt::LeftButton);
    Click(&bar, "ApplyButton");
    EXPECT_TRUE(Visible(box));
}

TEST_F(VisGroupDialogsTest, FilterControlIsDisabledWithoutAMap) {
    FilterControlBar bar;
    CMapDoc::SetActiveMapDoc(nullptr);
    bar.Refill();
    EXPECT_FALSE(bar.List()->isEnabled());
    EXPECT_FALSE(bar.ToggleButton()->isEnabled());
    CMapDoc::SetActiveMapDoc(doc.get());
    bar.Refill();
    EXPECT_TRUE(bar.List()->isEnabled());
}

TEST_F(VisGroupDialogsTest, EditGroupsFromThePropertiesKeepsTheMemberships) {
    CMapWorld& world = *doc->World();
    world.AddVisGroup(VisGroup{"lights", 0xFFFF00u, 1, true});
    world.RebuildVisGroupIndex();
    VisGroupIds one{};
    one[0] = 1;
    light->SetVisGroups(one);
    ObjectPropertiesSheet sheet;
    sheet.show();
    Select({light});
    WhenModalOpens([](QWidget* modal) {
        Click(modal, "NewGroupButton");
        Click(modal, "CloseButton");
    });
    Click(sheet.VisGroups(), "EditGroupsButton");
    QListWidget* rows = sheet.VisGroups()->List();
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(rows->item(1)->text(), "new group");
    EXPECT_EQ(rows->item(1)->checkState(), Qt::Unchecked);
    Select({});
    EXPECT_EQ(light->OwnVisGroups(), one);
}

} // namespace
