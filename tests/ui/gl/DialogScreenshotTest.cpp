#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "document/MapDoc.h"
#include "document/RunMap.h"
#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "editing/PasteSpecial.h"
#include "mapobjects/MapWorld.h"
#include "panels/EditLibraryDialog.h"
#include "panels/PasteSpecialDialog.h"
#include "panels/PrefabFactoryDialog.h"
#include "panels/ProblemCheckDialog.h"
#include "panels/ProcessWindow.h"
#include "panels/RunMapDialog.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// Pictures of every dialog of the editing commands over E1M1, for looking at them. Runs when
// BRICKHAVEN_SCREENSHOT_DIR names the folder to write them to (BRICKHAVEN_SCREENSHOT_MAP may
// name another map).
TEST(DialogScreenshotTest, EveryDialogOverE1M1) {
    const QString folder = qEnvironmentVariable("BRICKHAVEN_SCREENSHOT_DIR");
    const std::string e1m1 =
        qEnvironmentVariableIsSet("BRICKHAVEN_SCREENSHOT_MAP")
            ? qEnvironmentVariable("BRICKHAVEN_SCREENSHOT_MAP").toStdString()
            : std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
    if (folder.isEmpty() || !std::filesystem::exists(e1m1)) {
        GTEST_SKIP() << "set BRICKHAVEN_SCREENSHOT_DIR (and have the map corpus) to take them";
    }
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    context.Context().SetPrompts(&prompts);
    QTemporaryDir directory;
    context.Context().programDirectory = directory.path().toStdString();
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    context.Context().SetSettings(&settings);
    {
        CMainFrame frame(settings);
        frame.resize(1600, 1000);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        CChildFrame* child = frame.OpenMapFile(QString::fromStdString(e1m1));
        ASSERT_NE(child, nullptr);
        CMapDoc& doc = child->Document();
        doc.SelectObject(doc.World()->Children().front(),
                         SELECT_CLEAR | SELECT_ADD | SELECT_UPDATE);
        OnEditCopy(doc);
        QTest::qWait(500);

        auto shoot = [&](QWidget& dialog, const QString& name) {
            dialog.show();
            dialog.raise();
            QTest::qWait(300);
            const QPixmap picture = QApplication::primaryScreen()->grabWindow(0);
            EXPECT_TRUE(picture.save(folder + "/" + name + ".png")) << name.toStdString();
            dialog.hide();
        };
        PasteSpecialDialog paste(PasteSpecialSettings{}, Editor().GetClipboard(), &frame);
        shoot(paste, "paste-special");
        QInputDialog hollow(&frame);
        hollow.setWindowTitle("Brickhaven");
        hollow.setLabelText(
            "How thick do you want the walls? Use a negative number to hollow outward.");
        hollow.setInputMode(QInputDialog::IntInput);
        hollow.setIntRange(-1024, 1024);
        hollow.setIntValue(32);
        shoot(hollow, "make-hollow");
        ProblemCheckDialog problems(doc, &frame);
        if (problems.RunChecks()) {
            problems.ProblemList()->setCurrentRow(0);
        }
        shoot(problems, "check-for-problems");
        RunMapDialog runMap(RunMapSettings{}, RunMapPaths{}, &frame);
        shoot(runMap, "run-map");
        ProcessOutput output;
        ProcessWindow process(output);
        output.Print("* Executing QBSP...\n\n");
        output.Append("qbsp: building E1M1-edited-ents.map\n1257 brushes\n");
        shoot(process, "process-window");
        PrefabFactoryDialog factory(&frame);
        shoot(factory, "prefab-factory");
        EditLibraryDialog library(EditLibraryDialog::Form::Library, "My Stuff", "rooms", &frame);
        shoot(library, "edit-library");
        EditLibraryDialog prefab(EditLibraryDialog::Form::NewPrefab, "Crate", "a box", &frame);
        shoot(prefab, "create-prefab");
        EditLibraryDialog notes(EditLibraryDialog::Form::PrefabNotes, "Crate", "a wooden box",
                                &frame);
        shoot(notes, "prefab-notes");
    }
    context.Context().SetSettings(nullptr);
}
