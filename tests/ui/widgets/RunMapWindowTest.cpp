#include "common/EditorContext.h"
#include "document/MapDoc.h"
#include "document/ProcessOutput.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/ProcessWindow.h"
#include "panels/RunMapController.h"
#include "panels/RunMapDialog.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

void WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A saved map, stand-in compile tools in a folder of their own and a game folder.
class RunMapWindowTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    fs::path root;
    fs::path tools;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<RunMapController> controller;
    std::unique_ptr<CMapDoc> doc;
    RunMapSettings chosen;

    void SetUp() override {
        root = directory.path().toStdString();
        tools = root / "tools";
        fs::create_directories(tools);
        fs::create_directories(root / "quake");
        context.Context().SetPrompts(&prompts);
        context.Context().options.textureFiles = {"textures.wad"};
        context.Context().options.quakeDirectory = (root / "quake").string();
        // light records its arguments; the game is never started here.
        WriteScript(tools / "light", "echo \"$@\" > \"$(dirname \"$0\")/light.args\"\n");
        WriteScript(tools / "vis", "echo vised\n");
        chosen.qbsp = RunMapSettings::QbspNormal;
        chosen.light = RunMapSettings::LightNormal;
        chosen.noQuake = true;
        chosen.toolsDirectory = tools.string();

        mainWindow = std::make_unique<QWidget>();
        mainWindow->resize(300, 200);
        mainWindow->show();
        controller = std::make_unique<RunMapController>(mainWindow.get());
        controller->chooseSettings = [this](const RunMapSettings&) { return chosen; };
        doc = std::make_unique<CMapDoc>();
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
        solid->CreateFromPlanes();
        solid->CalcBounds();
        doc->World()->AddChild(solid);
        CMapDoc::SetActiveMapDoc(doc.get());
    }
    void TearDown() override {
        controller.reset();
        doc.reset();
    }

    void SaveAs(const std::string& name) {
        fs::create_directories(root / "maps");
        ASSERT_TRUE(doc->SaveDocument((root / "maps" / name).string()));
        doc->SetPath((root / "maps" / name).string());
    }
    QString Shown() const { return controller->Window()->Text()->toPlainText(); }
};

} // namespace

TEST_F(RunMapWindowTest, OutputStreamsIntoTheProcessWindowWhileTheToolRuns) {
    // qbsp prints a line, keeps working for a while, then writes the BSP.
    WriteScript(tools / "qbsp", "for last; do :; done\n"
                                "echo 'first line'; sleep 1; echo 'second line'\n"
                                "touch \"$(dirname \"$0\")/late\"\n"
                                "echo bsp > \"${last%.map}.bsp\"\n");
    SaveAs("level1.rmf");
    bool seenWhileRunning = false;
    bool stopEnabledWhileRunning = false;
    bool mapLockedWhileRunning = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!seenWhileRunning && Shown().contains("first line") && !fs::exists(tools / "late")) {
            seenWhileRunning = true;
            stopEnabledWhileRunning = controller->Window()->StopButton()->isEnabled();
            mapLockedWhileRunning = !mainWindow->isEnabled();
        }
    });
    watch.start();
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::Finished);
    EXPECT_TRUE(seenWhileRunning);
    EXPECT_TRUE(stopEnabledWhileRunning);
    EXPECT_TRUE(mapLockedWhileRunning);
    EXPECT_TRUE(mainWindow->isEnabled());
    EXPECT_FALSE(controller->Window()->StopButton()->isEnabled());
    EXPECT_TRUE(Shown().startsWith("* Executing QBSP..."));
    EXPECT_TRUE(Shown().contains("second line"));
    EXPECT_TRUE(Shown().contains("* Executing LIGHT..."));
    EXPECT_EQ(controller->Window()->windowTitle(), "Process Window");
    EXPECT_TRUE(fs::exists(root / "quake" / "id1" / "maps" / "level1.bsp"));
}

TEST_F(RunMapWindowTest, StopEndsAToolThatNeverEndsAndSkipsTheRest) {
    WriteScript(tools / "qbsp", "while true; do echo tick; sleep 0.1; done\n");
    SaveAs("level1.rmf");
    QTimer press;
    press.setInterval(20);
    QObject::connect(&press, &QTimer::timeout, [&] {
        QPushButton* stop = controller->Window()->StopButton();
        if (Shown().contains("tick") && stop->isEnabled()) {
            QTest::mouseClick(stop, Qt::LeftButton);
        }
    });
    press.start();
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::Stopped);
    EXPECT_TRUE(Shown().contains("* Stopped by the user."));
    EXPECT_FALSE(Shown().contains("LIGHT"));
    EXPECT_FALSE(fs::exists(tools / "light.args"));
    EXPECT_FALSE(controller->Running());
}

TEST_F(RunMapWindowTest, AToolThatCannotStartIsReportedAndTheRunStops) {
    WriteScript(tools / "qbsp", "");
    std::ofstream(tools / "qbsp") << "#!/no/such/interpreter\n";
    SaveAs("level1.rmf");
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::QbspNotStarted);
    EXPECT_TRUE(Shown().contains("* Could not execute the command:"));
    EXPECT_FALSE(fs::exists(tools / "light.args"));
    EXPECT_FALSE(controller->Running());
}

TEST_F(RunMapWindowTest, AMapNameWithAQuoteAndASemicolonReachesTheToolsUnchanged) {
    WriteScript(tools / "qbsp", "for last; do :; done\n"
                                "printf '%s' \"$last\" > \"$(dirname \"$0\")/qbsp.arg\"\n"
                                "echo bsp > \"${last%.map}.bsp\"\n");
    WriteScript(tools / "light", "for last; do :; done\n"
                                 "printf '%s' \"$last\" > \"$(dirname \"$0\")/light.arg\"\n");
    const std::string name = "it's; rm -rf x \"$(q)\".rmf";
    SaveAs(name);
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::Finished);
    const std::string stem = (root / "maps" / "it's; rm -rf x \"$(q)\"").string();
    EXPECT_EQ(ReadAll(tools / "qbsp.arg"), stem + ".map");
    EXPECT_EQ(ReadAll(tools / "light.arg"), stem + ".bsp");
}

TEST_F(RunMapWindowTest, TheDialogShowsAndReturnsItsSettings) {
    RunMapSettings initial;
    initial.qbsp = RunMapSettings::QbspEntitiesOnly;
    initial.vis = RunMapSettings::VisFull;
    initial.quakeParms = "-width 800";
    RunMapDialog dialog(initial);
    EXPECT_EQ(dialog.windowTitle(), "Run Map");
    EXPECT_EQ(dialog.ToolGroup(0)->checkedId(), 2);
    EXPECT_EQ(dialog.ToolGroup(2)->checkedId(), 2);
    EXPECT_FALSE(dialog.VisibleOnlyBox()->isChecked());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.ToolGroup(1)->button(2), Qt::LeftButton);
    QCheckBox* noQuake = dialog.NoQuakeBox();
    QTest::mouseClick(noQuake, Qt::LeftButton, {}, QPoint(6, noQuake->height() / 2));
    dialog.ParametersField()->setFocus();
    QTest::keyClicks(dialog.ParametersField(), " +skill 2");
    const RunMapSettings settings = dialog.Settings();
    EXPECT_EQ(settings.light, RunMapSettings::LightExtra);
    EXPECT_TRUE(settings.noQuake);
    EXPECT_EQ(settings.quakeParms, "-width 800 +skill 2");
}
