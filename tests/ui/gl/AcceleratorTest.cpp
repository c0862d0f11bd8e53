#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "views/MapView3D.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window with one map open, shown, with scripted prompts; Qt dialogs that the
// commands open are closed again at once.
class AcceleratorTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CMainFrame> frame;
    CChildFrame* child = nullptr;
    QTimer dialogCloser;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().programDirectory = directory.path().toStdString();
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        context.Context().SetSettings(settings.get());
        frame = std::make_unique<CMainFrame>(*settings);
        frame->openUrl = [](const QUrl&) { return true; };
        frame->resize(1200, 900);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        child = frame->NewDocument();
        ASSERT_NE(child, nullptr);
        QApplication::processEvents();
        dialogCloser.setInterval(20);
        QObject::connect(&dialogCloser, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
        dialogCloser.start();
    }
    void TearDown() override {
        dialogCloser.stop();
        frame.reset();
        context.Context().SetSettings(nullptr);
    }

    CMapDoc& Doc() { return child->Document(); }

    // Two solids, one selected, something in the clipboard, one step to undo and one to redo,
    // the selection tool, no texture application: every command of the menus is enabled.
    void Prepare() {
        CMapDoc& doc = Doc();
        CMapWorld& world = *doc.World();
        while (world.Children().size() < 2) {
            auto* solid = new CMapSolid;
            const float x = static_cast<float>(world.Children().size()) * 128.0f;
            AddBoxPlanes(*solid, {x, 0, 0}, {x + 64, 64, 64});
            solid->CreateFromPlanes();
            solid->CalcBounds();
            world.AddChild(solid);
        }
        world.UpdateVisibleObjects(0);
        CMapClass* first = world.Children().front();
        doc.SelectObject(first, SELECT_CLEAR | SELECT_ADD | SELECT_UPDATE);
        OnEditCopy(doc);
        OnGroup(doc);
        OnUngroup(doc);
        doc.OnUndo();
        doc.SelectObject(world.Children().front(), SELECT_CLEAR | SELECT_ADD | SELECT_UPDATE);
        frame->SetFaceEditingMode(false);
        frame->SetCurrentTool(TOOL_SELECTION);
        if (child->HasMaximizedPane()) {
            child->OnToggleMaximize();
        }
        frame->UpdateCommandStates();
    }
};

// The 3D view uses C, Shift+S and Shift+C itself while it has the focus.
bool KnownToBeTakenElsewhere(const QAction& action, const QWidget& pane) {
    const QString keys = action.shortcut().toString();
    const bool is3D = qobject_cast<const CMapView3D*>(&pane) != nullptr;
    return is3D && (keys == "C" || keys == "Shift+S" || keys == "Shift+C");
}

} // namespace

// Every accelerator, pressed with the focus in each of the four panes, runs its own command
// and no window closes (Ctrl+W is Move to world, not the document window's Close).
TEST_F(AcceleratorTest, EveryAcceleratorRunsItsCommandFromEveryPane) {
    QList<QAction*> accelerators;
    for (QAction* action : frame->findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        const int id = action->data().toInt();
        // New opens a second window, which takes the focus away from the panes under test.
        if (!action->shortcut().isEmpty() && id != CommandId::FileNew) {
            accelerators.append(action);
        }
    }
    ASSERT_GT(accelerators.size(), 30);
    auto* area = frame->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);

    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            for (QAction* action : accelerators) {
                Prepare();
                if (!action->isEnabled()) {
                    // Commands other parts of the editor provide (and Properties without its
                    // window) are still disabled here; Insert Prefab waits for a prefab
                    // library chosen in the New Objects bar.
                    if (action->data().toInt() != CommandId::InsertPrefab) {
                        EXPECT_FALSE(action->property("provided").toBool())
                            << action->text().toStdString();
                    }
                    continue;
                }
                QWidget* pane = child->Grid().Pane(row, column);
                ASSERT_NE(pane, nullptr);
                if (KnownToBeTakenElsewhere(*action, *pane)) {
                    continue;
                }
                frame->activateWindow();
                pane->setFocus(Qt::OtherFocusReason);
                QApplication::processEvents();
                QSignalSpy triggered(action, &QAction::triggered);
                QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : pane,
                                   action->shortcut());
                QApplication::processEvents();
                EXPECT_EQ(triggered.count(), 1)
                    << action->text().toStdString() << " from pane " << row << "," << column;
                ASSERT_EQ(area->subWindowList().size(), 1)
                    << action->text().toStdString() << " closed a window";
            }
        }
    }
}

TEST_F(AcceleratorTest, CtrlWMovesSolidsOfAnEntityToTheWorldAndKeepsTheWindow) {
    Prepare();
    CMapDoc& doc = Doc();
    auto* entity = new CMapEntity;
    entity->SetClass("func_wall");
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 256, 0}, {64, 320, 64});
    solid->CreateFromPlanes();
    solid->CalcBounds();
    entity->AddChild(solid);
    doc.World()->AddChild(entity);
    doc.World()->UpdateVisibleObjects(0);
    doc.SelectObject(entity, SELECT_CLEAR | SELECT_ADD | SELECT_UPDATE);
    frame->UpdateCommandStates();
    QWidget* pane = child->Grid().Pane(0, 1);
    frame->activateWindow();
    pane->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : pane,
                       QKeySequence("Ctrl+W"));
    QApplication::processEvents();
    EXPECT_EQ(frame->findChild<QMdiArea*>()->subWindowList().size(), 1);
    EXPECT_EQ(solid->Parent(), doc.World());
    ASSERT_EQ(doc.SelectedObjects().size(), 1u);
    EXPECT_EQ(doc.SelectedObjects().front(), solid);
}
