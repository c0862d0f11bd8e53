#include "document/MapDoc.h"
#include "document/ProcessOutput.h"
#include "document/RunMap.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/ProcessWindow.h"
#include "panels/RunMapController.h"
#include "panels/RunMapDialog.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
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
    // The changed RMF map is saved first, as Save does it: to its file, without a dialog.
    doc->SetModified();
    int saved = 0;
    controller->documentSaved = [&saved] { ++saved; };
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::QbspNotStarted);
    EXPECT_EQ(saved, 1);
    EXPECT_FALSE(doc->IsModified());
    for (const ScriptedPrompts::Shown& shown : prompts.shown) {
        EXPECT_NE(shown.kind, "choosesave");
    }
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

TEST_F(RunMapWindowTest, AMapOpenedFromItsMapFileIsNeverWrittenByARunAndItsLeakIsShown) {
    // qbsp finds a leak: it writes the BSP and the pointfile beside the MAP it was given.
    WriteScript(tools / "qbsp", "for last; do :; done\nb=\"${last%.map}\"\n"
                                "echo bsp > \"$b.bsp\"\n"
                                "printf '0 0 32\\n0 200 32\\n0 9000 32\\n' > \"$b.pts\"\n");
    SaveAs("room1.map");
    const fs::path own = root / "maps" / "room1.map";
    const std::string original = ReadAll(own);
    CMapDoc opened;
    ASSERT_TRUE(opened.OpenDocument(own.string()));
    CMapDoc::SetActiveMapDoc(&opened);
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(controller->Run(opened), RunMap::Outcome::Leak);
        EXPECT_EQ(ReadAll(own), original) << "run " << run;
    }
    EXPECT_FALSE(fs::exists(own.string() + ".bak"));
    EXPECT_TRUE(RunMap::IsCompileFile((root / "maps" / "room1_compile.map").string()));
    ASSERT_EQ(opened.LeakTrail().points.size(), 3u);
    EXPECT_EQ(opened.LeakTrail().points[1], Vector(0, 200, 32));
    EXPECT_TRUE(Shown().contains("* room1: qbsp found a leak; see the pointfile"));
    EXPECT_EQ(Editor().messages.Lines().back().text, "room1: qbsp found a leak; see the pointfile");
    opened.ClearPointfile();
    EXPECT_TRUE(opened.LeakTrail().IsEmpty());
    CMapDoc::SetActiveMapDoc(doc.get());
}

TEST_F(RunMapWindowTest, ProgressLinesReplaceTheLineTheyOverwrite) {
    WriteScript(tools / "qbsp", "for last; do :; done\n"
                                "printf 'flow  10%%\\r'; sleep 0.2; printf 'flow  60%%\\r'\n"
                                "printf 'flow 100%%\\n'; echo bsp > \"${last%.map}.bsp\"\n");
    SaveAs("level1.rmf");
    EXPECT_EQ(controller->Run(*doc), RunMap::Outcome::Finished) << Shown().toStdString();
    EXPECT_TRUE(Shown().contains("\nflow 100%\n")) << Shown().toStdString();
    EXPECT_FALSE(Shown().contains("10%"));
}

TEST_F(RunMapWindowTest, TheDialogShowsAndReturnsItsSettings) {
    WriteScript(tools / "qbsp", "");
    RunMapSettings initial;
    initial.toolsDirectory = tools.string();
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
    EXPECT_TRUE(dialog.ToolStatus(1)->text().startsWith("Found: "));
    QAbstractButton* extra = dialog.ToolGroup(1)->button(2);
    QTest::mouseClick(extra, Qt::LeftButton, {}, QPoint(6, extra->height() / 2));
    QCheckBox* noQuake = dialog.NoQuakeBox();
    QTest::mouseClick(noQuake, Qt::LeftButton, {}, QPoint(6, noQuake->height() / 2));
    dialog.ParametersField()->setFocus();
    QTest::keyClicks(dialog.ParametersField(), " +skill 2");
    const RunMapSettings settings = dialog.Settings();
    EXPECT_EQ(settings.light, RunMapSettings::LightExtra);
    EXPECT_TRUE(settings.noQuake);
    EXPECT_EQ(settings.quakeParms, "-width 800 +skill 2");
}

TEST_F(RunMapWindowTest, TheDialogSaysWhereEachToolIsAndAMissingOneIsOff) {
    WriteScript(tools / "qbsp", "for last; do :; done\necho bsp > \"${last%.map}.bsp\"\n");
    fs::remove(tools / "vis");
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", tools.string().c_str(), 1);
    context.Context().Settings().WriteString("Run Map", "Tools Directory", tools.string());
    context.Context().Settings().WriteInt("Run Map", "Vis", RunMapSettings::VisFull);
    context.Context().Settings().WriteInt("Run Map", "No Quake", 1);
    SaveAs("level1.rmf");
    controller->chooseSettings = nullptr; // the real dialog
    QString qbspStatus;
    QString visStatus;
    QString files;
    bool visOff = false;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<RunMapDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        qbspStatus = dialog->ToolStatus(0)->text();
        visStatus = dialog->ToolStatus(2)->text();
        files = dialog->FilesLabel()->text();
        visOff =
            dialog->ToolGroup(2)->checkedId() == 0 && !dialog->ToolGroup(2)->button(2)->isEnabled();
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    const RunMap::Outcome outcome = controller->Run(*doc);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(outcome, RunMap::Outcome::Finished) << Shown().toStdString();
    EXPECT_EQ(qbspStatus, "Found: " + QString::fromStdString((tools / "qbsp").string()));
    EXPECT_TRUE(
        visStatus.startsWith("vis not found (looked in " + QString::fromStdString(tools.string())))
        << visStatus.toStdString();
    EXPECT_TRUE(visOff);
    EXPECT_TRUE(files.contains(QString::fromStdString((root / "maps" / "level1.map").string())))
        << files.toStdString();
    EXPECT_TRUE(Shown().contains("vis skipped (not found)")) << Shown().toStdString();
}
