#include "PropertyWidgetSupport.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "panels/ClassInfoPage.h"
#include "panels/ObjectPropertiesSheet.h"

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
