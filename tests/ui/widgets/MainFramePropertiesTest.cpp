#include "PropertyWidgetSupport.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MapCommandSet.h"
#include "app/QtSettingsStore.h"
#include "editing/EditCommands.h"
#include "panels/ClassInfoPage.h"
#include "panels/ObjectPropertiesSheet.h"
#include "panels/ProcessWindow.h"
#include "panels/RunMapController.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"

#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>

#include <QAction>
#include <QDockWidget>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

class MainFramePropertiesTest : public PropertyWidgetTest {
protected:
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CMainFrame> mainFrame;
    ObjectPropertiesSheet* sheet = nullptr;

    void SetUp() override {
        PropertyWidgetTest::SetUp();
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        scoped.Context().SetSettings(settings.get());
        mainFrame = std::make_unique<CMainFrame>(*settings);
        mainFrame->resize(1000, 700);
        mainFrame->show();
        sheet = dynamic_cast<ObjectPropertiesSheet*>(scoped.Context().objectProperties);
        ASSERT_NE(sheet, nullptr);
        CMapDoc::SetActiveMapDoc(doc.get());
        mainFrame->UpdateCommandStates();
    }
    void TearDown() override {
        PropertyWidgetTest::TearDown();
        mainFrame.reset();
        scoped.Context().SetSettings(nullptr);
    }
};

TEST_F(MainFramePropertiesTest, CtrlZTakesBackAKeyEdit) {
    mainFrame->Action(CommandId::Properties)->trigger();
    ASSERT_TRUE(sheet->isVisible());
    Select({light});
    auto* rows = sheet->findChild<QTreeWidget*>("KeyValueList");
    ClickRow(rows, rows->model()->index(1, 0));
    ASSERT_NE(sheet->ClassInfo()->ValueEditor(), nullptr);
    TypeOver(sheet->ClassInfo()->ValueEditor(), "999");
    // The user goes back to the map: the sheet applies when it is hidden or deactivated.
    sheet->hide();
    EXPECT_EQ(Value(*light, "light"), "999");
    mainFrame->UpdateCommandStates(); // what the idle timer does
    EXPECT_EQ(mainFrame->Action(CommandId::Undo)->text(), "&Undo Properties\tCtrl+Z");
    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame.get()));
    QTest::keyClick(mainFrame.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Value(*light, "light"), "200");
    mainFrame->UpdateCommandStates();
    QTest::keyClick(mainFrame.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Value(*light, "light"), "999");

    // The same with the sheet open on the light the whole time.
    mainFrame->Action(CommandId::Properties)->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    ClickRow(rows, rows->model()->index(1, 0));
    TypeOver(sheet->ClassInfo()->ValueEditor(), "555");
    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame.get()));
    mainFrame->UpdateCommandStates();
    QTest::keyClick(mainFrame.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Value(*light, "light"), "999");
    EXPECT_TRUE(doc->RedoHistory().CanUndo()) << "after undo";
    EXPECT_EQ(sheet->Objects(), std::vector<CMapClass*>{light});
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    EXPECT_TRUE(doc->RedoHistory().CanUndo()) << "sheet active";
    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame.get()));
    mainFrame->UpdateCommandStates();
    QTest::keyClick(mainFrame.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Value(*light, "light"), "555");
}

// Alt with the main Enter key opens the sheet, beside the client area (not over the menus);
// looking at entities while it is closed writes nothing; an edit not applied yet is applied,
// as its own step, before Ctrl+Z undoes.
TEST_F(MainFramePropertiesTest, AltReturnOpensTheSheetAndPendingEditsAreOwnUndoSteps) {
    Select({start});
    Select({light});
    Select({});
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(start->KeyValueCount(), 0);
    EXPECT_EQ(Value(*light, "style"), "<none>");

    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame.get()));
    QTest::keyClick(mainFrame.get(), Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(sheet->isVisible());
    const QRect menus(mainFrame->menuBar()->mapToGlobal(QPoint(0, 0)),
                      mainFrame->menuBar()->size());
    EXPECT_FALSE(sheet->frameGeometry().intersects(menus));
    EXPECT_GE(sheet->geometry().top(), mainFrame->centralWidget()->mapToGlobal(QPoint(0, 0)).y());

    // A step to undo before the edit.
    Select({start, box});
    OnGroup(*doc);
    ASSERT_EQ(doc->UndoHistory().CurrentName(), "Group");
    Select({light});
    TypeOver(sheet->findChild<QComboBox*>("AngleCombo")->lineEdit(), "30");
    mainFrame->activateWindow();
    mainFrame->Action(CommandId::Undo)->trigger();
    EXPECT_EQ(light->Angle(), 0);
    EXPECT_EQ(doc->UndoHistory().CurrentName(), "Group");
}

TEST_F(MainFramePropertiesTest, TheNewObjectsBarFollowsTheLibrariesAndExitClosesTheProcessWindow) {
    auto* category = mainFrame->findChild<QComboBox*>("Category");
    ASSERT_NE(category, nullptr);
    const int before = category->count();
    auto library = std::make_unique<CPrefabLibrary>();
    library->SetName("Added in the factory");
    scoped.Context().Prefabs().AddLibrary(std::move(library));
    scoped.Context().Prefabs().NotifyChanged();
    EXPECT_EQ(category->count(), before + 1);
    EXPECT_GE(category->findText("Added in the factory"), 0);

    MapCommandSet* commands = nullptr;
    for (QObject* child : mainFrame->children()) {
        if (auto* set = dynamic_cast<MapCommandSet*>(child)) {
            commands = set;
        }
    }
    ASSERT_NE(commands, nullptr);
    ProcessWindow* window = commands->RunMapRunner().Window();
    window->show();
    ASSERT_TRUE(window->isVisible());
    CMapDoc::SetActiveMapDoc(nullptr);
    mainFrame->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainFramePropertiesTest, MapPropertiesShowsTheWorldAndFilterControlIsADialogBar) {
    QAction* mapProperties = mainFrame->Action(CommandId::MapProperties);
    ASSERT_TRUE(mapProperties->isEnabled());
    mapProperties->trigger();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->Objects(), std::vector<CMapClass*>{doc->World()});
    EXPECT_EQ(sheet->PageCaptions(), QStringList{"Class Info"});

    QDockWidget* bar = mainFrame->DialogBar(CommandId::FilterControlBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "Filter Control");
    EXPECT_TRUE(mainFrame->Action(CommandId::FilterControlBar)->isEnabled());
    EXPECT_TRUE(mainFrame->Action(CommandId::OptionsSheet)->isEnabled());
}

} // namespace
