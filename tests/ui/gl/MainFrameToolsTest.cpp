// The tool commands of the main window with a map open: the tool keys, the New Objects bar
// following the tool, Create object, Align and Flip from the menu, Insert Prefab's enabled
// state and the object overview.
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandRegistry.h"
#include "app/DocumentSaving.h"
#include "app/MainFrame.h"
#include "app/QtPrompts.h"
#include "app/QtSettingsStore.h"
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/NewObjectsBar.h"
#include "panels/ObjectOverviewDialog.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "views/MapView2D.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(MainFrameToolsTest, ToolKeysBarCreateAlignFlipAndOverview) {
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    context.Context().SetPrompts(&prompts);
    context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    context.Context().SetSettings(&settings);
    {
        CMapWorld world;
        for (float x : {0.0f, 128.0f}) {
            auto* solid = new CMapSolid;
            AddBoxPlanes(*solid, {x, 0, 0}, {x + 64, 64 + x / 2, 64});
            ASSERT_TRUE(solid->CreateFromPlanes());
            solid->CalcBounds();
            world.AddChild(solid);
        }
        ASSERT_EQ(WriteRmfFile(world, directory.filePath("two.rmf").toStdString()), 0);
    }
    auto frame = std::make_unique<CMainFrame>(settings);
    frame->resize(1200, 900);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    CChildFrame* child = frame->OpenMapFile(directory.filePath("two.rmf"));
    ASSERT_NE(child, nullptr);
    QApplication::processEvents();
    CMapDoc& doc = child->Document();
    CMapView2D* xy = nullptr;
    for (CMapView2D* view : child->Views2D()) {
        if (view->ViewType() == VIEW2D_XY) {
            xy = view;
        }
    }
    ASSERT_NE(xy, nullptr);
    xy->setFocus();
    QApplication::processEvents();

    QDockWidget* dock = frame->DialogBar(CommandId::ObjectBar);
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle(), "New Objects");
    auto* bar = qobject_cast<NewObjectsBar*>(dock->widget());
    ASSERT_NE(bar, nullptr);

    EXPECT_EQ(frame->Action(CommandId::ToolBlock)->shortcut(), QKeySequence("Shift+B"));
    frame->Action(CommandId::ToolBlock)->trigger();
    EXPECT_EQ(frame->CurrentTool(), TOOL_BLOCK);
    EXPECT_TRUE(frame->Action(CommandId::ToolBlock)->isChecked());
    EXPECT_EQ(bar->ObjectList()->count(), 4);
    EXPECT_EQ(bar->CategoryList()->currentText(), "Primitives");
    EXPECT_FALSE(frame->Action(CommandId::InsertPrefab)->isEnabled());

    xy->SetZoom(1.0f);
    xy->CenterOnPoint(0.0f, 0.0f);
    QApplication::processEvents();
    auto at = [xy](float x, float y) {
        const PixelPoint p = xy->WorldToClient(Vector{x, y, 0});
        return QPoint(p.x, p.y);
    };
    QTest::mousePress(xy->viewport(), Qt::LeftButton, {}, at(-130, 130));
    QTest::mouseMove(xy->viewport(), at(-100, 100));
    QTest::mouseMove(xy->viewport(), at(-60, 60));
    QTest::mouseRelease(xy->viewport(), Qt::LeftButton, {}, at(-60, 60));
    frame->Action(CommandId::CreateObject)->trigger();
    EXPECT_EQ(doc.World()->Children().size(), 3u);

    frame->Action(CommandId::ToolEntity)->trigger();
    EXPECT_EQ(frame->CurrentTool(), TOOL_ENTITY);
    EXPECT_TRUE(bar->CategoryList()->count() == 0);
    frame->Action(CommandId::ToolSelection)->trigger();
    EXPECT_EQ(frame->CurrentTool(), TOOL_SELECTION);

    doc.OnSelectAll();
    frame->UpdateCommandStates();
    ASSERT_TRUE(frame->Action(CommandId::AlignLeft)->isEnabled());
    frame->Action(CommandId::AlignBottom)->trigger();
    for (CMapClass* object : doc.World()->Children()) {
        EXPECT_EQ(object->Bounds().mins.y, doc.Selection().Bounds().mins.y);
    }
    EXPECT_EQ(doc.UndoHistory().CurrentName(), "Align");
    const float before = doc.Selection().Bounds().mins.x;
    frame->Action(CommandId::FlipHorizontal)->trigger();
    EXPECT_EQ(doc.Selection().Bounds().mins.x, before);

    bool shown = false;
    QTimer::singleShot(100, [&] {
        if (auto* dialog = qobject_cast<ObjectOverviewDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->Tree()->topLevelItemCount() >= 2 &&
                    dialog->Tree()->topLevelItem(0)->text(0) == "Primitives";
            dialog->reject();
        }
    });
    QAction* overview = CommandRegistry::Find(CommandId::ObjectOverview);
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->shortcut(), QKeySequence("Shift+Ctrl+T"));
    overview->trigger();
    EXPECT_TRUE(shown);

    doc.SetModified(false);
    frame.reset();
    context.Context().SetSettings(nullptr);
}

namespace {

// Runs action on the next modal file dialog once it shows.
void WhenFileDialog(std::function<void(QFileDialog*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action = std::move(action)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

} // namespace

// A file dialog starts in the folder used last (Open after a Save As too), and when it closes
// the keys go to the map view under the pointer at once.
TEST(MainFrameToolsTest, FileDialogsStartInTheLastFolderAndHandTheKeysBackToTheView) {
    ScopedEditorContext context;
    QtPrompts prompts;
    QTemporaryDir directory;
    context.Context().SetPrompts(&prompts);
    context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    context.Context().SetSettings(&settings);
    ASSERT_TRUE(QDir(directory.path()).mkdir("rooms"));
    const QString rooms = QDir(directory.filePath("rooms")).absolutePath();
    {
        CMapWorld world;
        ASSERT_EQ(WriteRmfFile(world, directory.filePath("empty.rmf").toStdString()), 0);
    }
    auto frame = std::make_unique<CMainFrame>(settings);
    prompts.SetParent(frame.get());
    frame->resize(1200, 900);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    CChildFrame* child = frame->OpenMapFile(directory.filePath("empty.rmf"));
    ASSERT_NE(child, nullptr);
    QApplication::processEvents();
    CMapView2D* view = child->Views2D().front();

    // Save As of the map starts beside the map; the folder chosen there is the next start.
    QString started;
    WhenFileDialog([&](QFileDialog* dialog) {
        started = dialog->directory().absolutePath();
        dialog->selectFile(rooms + "/hall.rmf");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(DocumentSaving::SaveAs(child->Document()));
    EXPECT_EQ(started, QDir(directory.path()).absolutePath());
    EXPECT_EQ(child->Document().Path(), (rooms + "/hall.rmf").toStdString());

    // Open starts there; cancelling it with the pointer over a 2D view gives that view the keys.
    QCursor::setPos(view->mapToGlobal(view->rect().center()));
    frame->DialogBar(CommandId::ObjectBar)->widget()->setFocus();
    QApplication::processEvents();
    WhenFileDialog([&](QFileDialog* dialog) {
        started = dialog->directory().absolutePath();
        dialog->reject();
    });
    frame->OnFileOpen();
    QTest::qWait(50);
    EXPECT_EQ(started, rooms);
    EXPECT_EQ(QApplication::focusWidget(), view);
    EXPECT_TRUE(view->hasFocus());
    context.Context().SetPrompts(nullptr);
}
