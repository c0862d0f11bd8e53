#include "app/MainFrame.h"
#include "app/CommandIds.h"
#include "app/EditorStartup.h"
#include "app/MapDialogs.h"
#include "app/MessageWindow.h"
#include "app/ProgressWindow.h"
#include "app/QtSettingsStore.h"
#include "common/ToolId.h"
#include "document/UpdateHint.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/GamePalette.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        context.Context().SetSettings(settings.get());
    }
    void TearDown() override { context.Context().SetSettings(nullptr); }

    std::unique_ptr<CMainFrame> MakeFrame() {
        auto frame = std::make_unique<CMainFrame>(*settings);
        frame->resize(1000, 700);
        return frame;
    }
};

} // namespace

TEST_F(MainFrameTest, StatusBarHasSixPanesOfTheDesignedWidthsOrWiderForTheirTexts) {
    auto frame = MakeFrame();
    frame->show();
    const int widths[] = {200, 100, 100, 80, 135};
    const char* const longest[] = {"12345 objects selected.", " @-16384, -16384 ",
                                   "-16384w -16384l -16384h", " Zoom: 16.00 ",
                                   " Snap: Off Grid: 512 "};
    for (int pane = 1; pane < 6; ++pane) {
        QLabel* label = frame->Pane(pane);
        EXPECT_GE(label->minimumWidth(), widths[pane - 1]);
        EXPECT_EQ(label->maximumWidth(), label->minimumWidth());
        // The whole text fits inside the pane's frame.
        label->setText(longest[pane - 1]);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                  label->contentsRect().width())
            << longest[pane - 1];
    }
    EXPECT_EQ(frame->Pane(0)->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(&context.Context().GetPrompts(), &prompts);
    context.Context().statusPanes->SetPaneText(3, "64w 64l 64h");
    EXPECT_EQ(frame->PaneText(3), "64w 64l 64h");
}

TEST_F(MainFrameTest, MenusCarryTheDesignedTextsAndAccelerators) {
    auto frame = MakeFrame();
    auto shortcut = [&](int id) { return frame->Action(id)->shortcut().toString(); };
    EXPECT_EQ(frame->Action(CommandId::MessagesWindow)->text(), "&Messages\tAlt+F3");
    EXPECT_EQ(shortcut(CommandId::MessagesWindow), "Alt+F3");
    EXPECT_EQ(frame->Action(CommandId::Autosize)->text(), "&Autosize 4 views\tCtrl+A");
    EXPECT_EQ(shortcut(CommandId::SmallerGrid), "[");
    EXPECT_EQ(shortcut(CommandId::BiggerGrid), "]");
    EXPECT_EQ(shortcut(CommandId::MaximizePane), "Z");
    EXPECT_EQ(shortcut(CommandId::ToolBlock), "Shift+B");
    EXPECT_EQ(shortcut(CommandId::TextureApplication), "Shift+A");
    EXPECT_EQ(shortcut(CommandId::BrightnessUp), "Ctrl+Home");
    EXPECT_EQ(shortcut(CommandId::MemoryReport), "Alt+M");
    EXPECT_EQ(frame->Action(CommandId::View3DTextured)->text(), "3D &textured polygons");
    // Commands that other parts of the editor provide stay disabled, and so does everything
    // that needs a document while none is open.
    EXPECT_FALSE(frame->Action(CommandId::Cut)->isEnabled());
    EXPECT_FALSE(frame->Action(CommandId::RunMap)->isEnabled());
    EXPECT_FALSE(frame->Action(CommandId::ToolSelection)->isEnabled());
    EXPECT_FALSE(frame->Action(CommandId::SmallerGrid)->isEnabled());
    EXPECT_TRUE(frame->Action(CommandId::FileOpen)->isEnabled());
}

TEST_F(MainFrameTest, MessagesToggleWithACheckedItemAndErrorsBringThemBack) {
    auto frame = MakeFrame();
    frame->show();
    QAction* toggle = frame->Action(CommandId::MessagesWindow);
    EXPECT_TRUE(frame->MessagesDock()->isVisible());
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(frame->MessagesDock()->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    context.Context().messages.AddLine(MessageLog::Normal, "a normal line");
    EXPECT_FALSE(frame->MessagesDock()->isVisible());
    context.Context().messages.AddLine(MessageLog::Error, "an error line");
    EXPECT_TRUE(frame->MessagesDock()->isVisible());
    frame->UpdateCommandStates();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(frame->dockWidgetArea(frame->MessagesDock()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(frame->Messages()->TextFont().family(), "Courier New");
    EXPECT_EQ(frame->Messages()->TextFont().pointSize(), 10);
}

TEST_F(MainFrameTest, TheHundredAndFirstLinePushesOutTheFirst) {
    MessageLog& log = context.Context().messages;
    for (int i = 1; i <= 101; ++i) {
        log.AddLine(MessageLog::Normal, "line %d", i);
    }
    EXPECT_EQ(log.Count(), 100u);
    EXPECT_EQ(log.Lines().front().text, "line 2");
    EXPECT_EQ(log.Lines().back().text, "line 101");
}

TEST_F(MainFrameTest, BrightnessStepsStayWithinTheirLimits) {
    auto frame = MakeFrame();
    Options& options = context.Context().options;
    options.brightness = 4.9f;
    frame->Action(CommandId::BrightnessUp)->trigger(); // 5.1 is refused
    EXPECT_FLOAT_EQ(options.brightness, 4.9f);
    frame->Action(CommandId::BrightnessDown)->trigger();
    EXPECT_FLOAT_EQ(options.brightness, 4.7f);
    EXPECT_FLOAT_EQ(context.Context().GameData().Palette().Brightness(), 4.7f);
    options.brightness = 0.2f;
    EXPECT_FALSE(frame->StepBrightness(-1));
    EXPECT_FLOAT_EQ(options.brightness, 0.2f);
}

TEST_F(MainFrameTest, MemoryWebSiteAndHelpCommands) {
    auto frame = MakeFrame();
    context.Context().objectMemory = 1234;
    frame->Action(CommandId::MemoryReport)->trigger();
    EXPECT_TRUE(prompts.Showed("uMapMem = 1234"));

    std::vector<QUrl> opened;
    bool succeed = false;
    frame->openUrl = [&](const QUrl& url) {
        opened.push_back(url);
        return succeed;
    };
    frame->Action(CommandId::WebSite)->trigger();
    EXPECT_TRUE(prompts.Showed("The website couldn't be opened."));
    succeed = true;
    prompts.shown.clear();
    frame->Action(CommandId::HelpTopics)->trigger();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened.back().toLocalFile().endsWith("help/index.html"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainFrameTest, DeferredStartLoadsTheGameDataAfterTheFirstPaint) {
    auto frame = MakeFrame();
    context.Context().options.brightness = 1.4f;
    QSignalSpy finished(frame.get(), &CMainFrame::deferredStartFinished);
    frame->show();
    EXPECT_FALSE(frame->DeferredStartDone());
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_GT(context.Context().GameData().ClassCount(), 0);
    EXPECT_FLOAT_EQ(context.Context().GameData().Palette().Brightness(), 1.4f);
    EXPECT_TRUE(prompts.shown.empty());

    settings->WriteString("General", "Gamedata", "missing.ymx");
    frame->RunDeferredStart();
    EXPECT_TRUE(prompts.Showed("An error occured loading the default game data file."));
}

TEST_F(MainFrameTest, BarLayoutIsRestoredAfterACleanExit) {
    context.Context().options.Initialize(*settings);
    {
        auto frame = MakeFrame();
        frame->show();
        context.Context().options.brightness = 2.0f;
        auto* operations = frame->findChild<QToolBar*>("Bar59404");
        ASSERT_NE(operations, nullptr);
        EXPECT_TRUE(operations->isVisible()); // first start: the default layout
        frame->Action(CommandId::MapOperationsBar)->trigger();
        EXPECT_FALSE(operations->isVisible());
        EXPECT_TRUE(frame->close());
    }
    EXPECT_EQ(settings->GetInt("General", "NewBars", 0), 1);
    EXPECT_FALSE(
        settings->GetBytes(CMainFrame::kBarStateSection, CMainFrame::kBarStateValue).isEmpty());
    EXPECT_EQ(settings->GetInt("General", "Brightness", 0), 20); // the options were saved
    auto again = MakeFrame();
    again->show();
    EXPECT_FALSE(again->findChild<QToolBar*>("Bar59404")->isVisible());
    EXPECT_TRUE(again->findChild<QToolBar*>("Bar59402")->isVisible());
}

TEST_F(MainFrameTest, AMissingFileIsRefusedAndTheEditorKeepsRunning) {
    const QString missing = directory.filePath("no such map.map");
    EditorStartup startup({"Tarno", missing, "nologo"}, directory.filePath("Startup.ini"),
                          &prompts);
    ASSERT_TRUE(startup.Start());
    EXPECT_TRUE(prompts.Showed("That file does not exist."));
    prompts.shown.clear();
    EXPECT_FALSE(startup.Arguments().showLogo);
    EXPECT_EQ(startup.Logo(), nullptr);
    ASSERT_NE(startup.MainFrame(), nullptr);
    EXPECT_TRUE(startup.MainFrame()->ChildFrames().isEmpty());
    EXPECT_EQ(startup.MainFrame()->OpenMapFile(missing), nullptr);
    EXPECT_TRUE(prompts.Showed("That file does not exist."));
    EXPECT_EQ(startup.Settings().GetString("General", "Directory", ""),
              QCoreApplication::applicationDirPath().toStdString());
}

TEST_F(MainFrameTest, FileOpenCompletesTheNameFromTheChosenFilter) {
    struct ChoosingPrompts : ScriptedPrompts {
        std::optional<FileChoice> ChooseOpenFile(const std::string&, const std::string& filter,
                                                 const std::string&) override {
            seenFilter = filter;
            return FileChoice{chosen, 2};
        }
        std::string chosen;
        std::string seenFilter;
    } chooser;
    chooser.chosen = directory.filePath("level").toStdString();
    context.Context().SetPrompts(&chooser);
    auto frame = MakeFrame();
    frame->OnFileOpen(); // level.map does not exist
    // Every map file shows at first, so MAP files are seen without changing the filter.
    EXPECT_EQ(chooser.seenFilter,
              "All map files (*.rmf *.map);;Brickhaven Maps (*.rmf);;Quake Maps (*.map)");
    EXPECT_TRUE(chooser.Showed("That file does not exist."));
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
}

TEST_F(MainFrameTest, AFolderIsCalledAFolder) {
    auto frame = MakeFrame();
    EXPECT_EQ(frame->OpenMapFile(directory.path()), nullptr);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              directory.path().toStdString() + " is a folder, not a map file.");
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
}

TEST_F(MainFrameTest, TheStatusBarsVisibilityIsRememberedLikeTheBars) {
    {
        auto frame = MakeFrame();
        frame->show();
        EXPECT_TRUE(frame->statusBar()->isVisible());
        frame->Action(CommandId::StatusBar)->trigger();
        EXPECT_FALSE(frame->statusBar()->isVisible());
        EXPECT_TRUE(frame->close());
    }
    {
        auto frame = MakeFrame();
        frame->show();
        EXPECT_FALSE(frame->statusBar()->isVisible());
        EXPECT_FALSE(frame->Action(CommandId::StatusBar)->isChecked());
        frame->Action(CommandId::StatusBar)->trigger();
        EXPECT_TRUE(frame->close());
    }
    auto frame = MakeFrame();
    frame->show();
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(MainFrameTest, ToolsAndTextureApplicationMode) {
    auto frame = MakeFrame();
    EXPECT_EQ(frame->CurrentTool(), TOOL_SELECTION);
    frame->SetCurrentTool(TOOL_MAGNIFY);
    EXPECT_EQ(frame->CurrentTool(), TOOL_MAGNIFY);
    frame->SetCurrentTool(4); // not a tool: the selection tool
    EXPECT_EQ(frame->CurrentTool(), TOOL_SELECTION);
    frame->show();
    QDockWidget* textureBar = frame->InstallDialogBar(
        CommandId::TextureBar, "Texture Bar", new QLabel("textures"), Qt::RightDockWidgetArea);
    QDockWidget* faceBar = frame->InstallDialogBar(CommandId::FacePropertiesBar, "Face Properties",
                                                   new QLabel("faces"), Qt::RightDockWidgetArea);
    EXPECT_TRUE(faceBar->isFloating());
    EXPECT_FALSE(faceBar->isVisible());
    EXPECT_TRUE(textureBar->isVisible());
    EXPECT_TRUE(frame->Action(CommandId::TextureBar)->isEnabled());
    frame->SetCurrentTool(TOOL_BLOCK);
    frame->SetFaceEditingMode(true);
    EXPECT_TRUE(faceBar->isVisible());
    EXPECT_FALSE(textureBar->isVisible());
    // The face properties stand where the textures bar stood, in its dock.
    EXPECT_FALSE(faceBar->isFloating());
    EXPECT_EQ(frame->dockWidgetArea(faceBar), frame->dockWidgetArea(textureBar));
    EXPECT_TRUE(frame->FaceEditingMode());
    EXPECT_EQ(frame->CurrentTool(), TOOL_SELECTION);
    EXPECT_TRUE(frame->Action(CommandId::TextureApplication)->isChecked());
    // One button down: the mode's, not also the Selection tool's.
    EXPECT_FALSE(frame->Action(CommandId::ToolSelection)->isChecked());
    frame->SetFaceEditingMode(false);
    EXPECT_FALSE(frame->FaceEditingMode());
    EXPECT_FALSE(faceBar->isVisible());
    EXPECT_TRUE(textureBar->isVisible());
    EXPECT_TRUE(frame->Action(CommandId::ToolSelection)->isChecked());

    // Choosing the Selection tool (already current) ends the mode as any tool does.
    frame->SetFaceEditingMode(true);
    ASSERT_TRUE(frame->FaceEditingMode());
    frame->SetCurrentTool(TOOL_SELECTION);
    EXPECT_FALSE(frame->FaceEditingMode());
    EXPECT_FALSE(faceBar->isVisible());
    EXPECT_TRUE(textureBar->isVisible());
    EXPECT_TRUE(frame->Action(CommandId::ToolSelection)->isChecked());
    EXPECT_FALSE(frame->Action(CommandId::TextureApplication)->isChecked());
    frame->SetFaceEditingMode(true);
    frame->SetCurrentTool(TOOL_BLOCK);
    EXPECT_FALSE(frame->FaceEditingMode());
    EXPECT_EQ(frame->CurrentTool(), TOOL_BLOCK);
    EXPECT_TRUE(frame->Action(CommandId::ToolBlock)->isChecked());
}

TEST(MapDialogsTest, InformationCountsAndTheErrorList) {
    ScopedEditorContext context;
    CMapWorld world;
    for (int i = 0; i < 2; ++i) {
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        ASSERT_TRUE(solid->CreateFromPlanes());
        world.AddChild(solid);
    }
    auto* light = new CMapEntity;
    light->SetPointEntity(true);
    world.AddChild(light);
    world.AddChild(new CMapEntity);
    MapInformationDialog info(world);
    EXPECT_EQ(info.ValueOf("Solids:"), "2");
    EXPECT_EQ(info.ValueOf("Faces:"), "12");
    EXPECT_EQ(info.ValueOf("PointEntities:"), "1");
    EXPECT_EQ(info.ValueOf("SolidEntities:"), "1");

    ErrorList errors{{7, "CreateFromPlanes: bad face", 3}, {9, "CheckFace: no points", 0}};
    MapErrorsDialog list(errors);
    ASSERT_EQ(list.List()->count(), 2);
    EXPECT_EQ(list.List()->item(1)->text(), "CheckFace: no points");
    EXPECT_NE(list.findChild<QPushButton*>(), nullptr);

    // A long message wraps within the list instead of running off its side.
    const std::string longMessage =
        "error parsing /home/designer/maps/a/long/path/level.map, line 3: a solid's faces leave "
        "it open on some side; it was loaded as it is and reaches out to the edge of the map";
    MapErrorsDialog wrapped(ErrorList{{1, longMessage, 3}});
    wrapped.show();
    QApplication::processEvents();
    QListWidget* messages = wrapped.List();
    const QRect item = messages->visualItemRect(messages->item(0));
    EXPECT_LE(item.right(), messages->viewport()->width());
    EXPECT_GT(item.height(), messages->fontMetrics().height() * 3 / 2);
}

TEST(ProgressWindowCancelTest, CancelOnlyMarksTheWindow) {
    QWidget owner;
    ProgressWindow progress(&owner);
    auto* cancel = progress.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_TRUE(progress.isVisible());
    progress.SetPosition(150);
    EXPECT_EQ(progress.PercentText(), "100%");
}
