// The main window as a user meets it with maps open: tiling and cascading, the Window menu,
// the keyboard following the pointer, the status bar without a map, and the reports of a map
// with faults.
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MapDialogs.h"
#include "app/QtSettingsStore.h"
#include "app/WindowMenu.h"
#include "document/MapDoc.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kBox = "{\n"
                         "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "( 0 64 0 ) ( 0 0 0 ) ( 64 0 0 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "( 0 0 0 ) ( 0 64 0 ) ( 0 64 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "( 64 0 0 ) ( 0 0 0 ) ( 0 0 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) GROUND1_6 0 0 0 1.000000 1.000000\n"
                         "}\n";

class ShellWindowTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CMainFrame> main;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        context.Context().SetSettings(settings.get());
        main = std::make_unique<CMainFrame>(*settings);
        main->resize(1600, 1000);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    void TearDown() override {
        main.reset();
        context.Context().SetSettings(nullptr);
    }

    QString WriteMap(const QString& name, const std::string& text) {
        QFile file(directory.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return file.fileName();
    }
    QString BoxMap(const QString& name) {
        return WriteMap(name, std::string("{\n\"classname\" \"worldspawn\"\n") + kBox + "}\n");
    }
    QMdiArea* Area() { return main->findChild<QMdiArea*>(); }
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(20);
            QApplication::processEvents();
        }
    }

    // Every pane of the frame shows, and each row and column has at least share of the room.
    static void ExpectUsablePanes(CChildFrame& frame, double share, const char* when) {
        const PaneGrid& grid = frame.Grid();
        ASSERT_GT(grid.height(), 100) << when;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                EXPECT_TRUE(grid.Pane(row, column)->isVisible()) << when;
            }
            EXPECT_GE(grid.RowHeight(row), share * grid.height()) << when << " row " << row;
            EXPECT_GE(grid.ColumnWidth(row), share * grid.width()) << when << " column " << row;
        }
    }

    // With BRICKHAVEN_SHOTS set, keeps what the display shows of widget there as name.png.
    static void Shot(QWidget& widget, const QString& name) {
        const QString folder = qEnvironmentVariable("BRICKHAVEN_SHOTS");
        if (folder.isEmpty() || !widget.screen()) {
            return;
        }
        Settle();
        widget.screen()->grabWindow(widget.winId()).save(folder + "/" + name + ".png");
    }
};

} // namespace

TEST_F(ShellWindowTest, TileCascadeAndASmallWindowKeepEveryPaneUsable) {
    CChildFrame* first = main->OpenMapFile(BoxMap("first.map"));
    CChildFrame* second = main->OpenMapFile(BoxMap("second.map"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Settle();
    main->Action(CommandId::WindowTile)->trigger();
    Settle();
    for (CChildFrame* frame : {first, second}) {
        ExpectUsablePanes(*frame, 0.4, "tiled");
    }
    Shot(*main, "tile");

    main->Action(CommandId::WindowCascade)->trigger();
    Settle();
    const QSize room = Area()->viewport()->size();
    for (CChildFrame* frame : {first, second}) {
        QWidget* window = frame->parentWidget();
        EXPECT_GE(window->width(), room.width() / 2);
        EXPECT_GE(window->height(), room.height() / 2);
        ExpectUsablePanes(*frame, 0.4, "cascaded");
    }
    Shot(*main, "cascade");

    // A dragged splitter keeps its share when the frame changes size.
    second->Grid().SetRowHeight(0, second->Grid().height() / 4);
    second->Grid().Relayout();
    const double rowShare =
        static_cast<double>(second->Grid().RowHeight(0)) / second->Grid().height();
    main->Action(CommandId::WindowTile)->trigger();
    Settle();
    EXPECT_NEAR(static_cast<double>(second->Grid().RowHeight(0)) / second->Grid().height(),
                rowShare, 0.02);

    // One map filling a small main window.
    second->OnAutosize();
    second->parentWidget()->showMaximized();
    main->resize(1000, 650);
    Settle();
    ExpectUsablePanes(*second, 0.4, "1000x650");
    EXPECT_GT(second->Grid().RowHeight(1), 100);
    Shot(*main, "small-window");
}

TEST_F(ShellWindowTest, TheWindowMenuListsTheOpenMapsWithTheActiveOneChecked) {
    CChildFrame* first = main->OpenMapFile(BoxMap("first.map"));
    CChildFrame* second = main->OpenMapFile(BoxMap("second & more.map"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    auto* windowMenu = main->findChild<WindowMenu*>();
    ASSERT_NE(windowMenu, nullptr);
    QMenu* menu = nullptr;
    for (QAction* action : main->menuBar()->actions()) {
        if (action->text() == "&Window") {
            menu = action->menu();
        }
    }
    ASSERT_NE(menu, nullptr);
    QTimer::singleShot(100, menu, [this, menu] {
        Shot(*menu, "window-menu");
        menu->close();
    });
    menu->exec(main->mapToGlobal(QPoint(200, 30)));

    const auto& listed = windowMenu->DocumentActions();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]->text(), "&1 first.map");
    EXPECT_EQ(listed[1]->text(), "&2 second && more.map");
    EXPECT_FALSE(listed[0]->isChecked());
    EXPECT_TRUE(listed[1]->isChecked());

    listed[0]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(main->ActiveChildFrame(), first);
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), &first->Document());
    windowMenu->Refresh();
    EXPECT_TRUE(windowMenu->DocumentActions()[0]->isChecked());

    // Closing a map takes it off the list.
    second->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    windowMenu->Refresh();
    ASSERT_EQ(windowMenu->DocumentActions().size(), 1u);
    EXPECT_EQ(windowMenu->DocumentActions()[0]->text(), "&1 first.map");
}

TEST_F(ShellWindowTest, TheKeyboardGoesToTheViewUnderThePointer) {
    CChildFrame* frame = main->OpenMapFile(BoxMap("keys.map"));
    ASSERT_NE(frame, nullptr);
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    Settle();
    CMapView3D* view3D = frame->View3D();
    ASSERT_NE(view3D, nullptr);
    for (CMapView2D* view : frame->Views2D()) {
        QTest::mouseMove(view->viewport(), QPoint(40, 40));
        Settle();
        EXPECT_EQ(QApplication::focusWidget(), view);
        QTest::mouseMove(view3D, QPoint(30, 30));
        Settle();
        EXPECT_EQ(QApplication::focusWidget(), view3D);
    }
    // A key now reaches the 3D view: D moves the camera forward.
    const Vector before = view3D->Model().Camera().Position();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D);
    Settle();
    EXPECT_NE(view3D->Model().Camera().Position(), before);
}

TEST_F(ShellWindowTest, WithTheLastMapClosedTheStatusPanesAreEmpty) {
    CChildFrame* frame = main->OpenMapFile(BoxMap("status.map"));
    ASSERT_NE(frame, nullptr);
    Settle();
    EXPECT_FALSE(main->PaneText(5).isEmpty());
    EXPECT_FALSE(main->PaneText(1).isEmpty());
    main->Action(CommandId::FileClose)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Settle();
    ASSERT_TRUE(main->ChildFrames().isEmpty());
    for (int pane = 1; pane < CMainFrame::kPaneCount; ++pane) {
        EXPECT_EQ(main->PaneText(pane), "") << pane;
    }
}

TEST_F(ShellWindowTest, AMapWithFaultsIsReportedInTheMessagesAndItsOwnErrorList) {
    const std::string head = "{\n\"classname\" \"worldspawn\"\n";
    const QString dropped = WriteMap(
        "dropped.map", head + kBox + "{\n( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) A 0 0 0 1 1\n}\n}\n");
    ASSERT_NE(main->OpenMapFile(dropped), nullptr);
    EXPECT_TRUE(prompts.Showed("For your information, 1 solids were not loaded\ndue to errors in "
                               "the file."));
    const std::string line = "error parsing " + dropped.toStdString() +
                             ", line 11: a solid was not loaded: it has 1 face; a solid needs "
                             "at least 4";
    bool logged = false;
    for (const MessageLog::Line& entry : context.Context().messages.Lines()) {
        logged = logged || (entry.kind == MessageLog::Error && entry.text == line);
    }
    EXPECT_TRUE(logged);
    EXPECT_TRUE(main->MessagesDock()->isVisible());
    Shot(*main, "dropped-solids");

    // A second file with a short face line: its report lists its own error only.
    std::string shortFace = head + kBox + "}\n";
    shortFace.replace(shortFace.find("1.000000 1.000000\n}"), 18, "\n");
    const QString faulty = WriteMap("faulty.map", shortFace);
    prompts.answers = {Prompts::Answer::Yes};
    QStringList listed;
    // The list comes up modal: read it and close it once it shows.
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&listed, &poll] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<MapErrorsDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                for (int i = 0; i < dialog->List()->count(); ++i) {
                    listed << dialog->List()->item(i)->text();
                }
                poll.stop();
                dialog->accept();
            }
        }
    });
    poll.start();
    ASSERT_NE(main->OpenMapFile(faulty), nullptr);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].toStdString(), "error parsing " + faulty.toStdString() +
                                           ", line 9: a face line has fewer than 15 fields");
}

TEST_F(ShellWindowTest, ALargeSelectionShowsItsWholeSizeInTheStatusBar) {
    std::string box = kBox;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"64 64 64", "1568 1056 48"},
                                   {"0 64 64", "0 1056 48"},
                                   {"64 0 64", "1568 0 48"},
                                   {"0 0 64", "0 0 48"},
                                   {"64 64 0", "1568 1056 0"},
                                   {"0 64 0", "0 1056 0"},
                                   {"64 0 0", "1568 0 0"}}) {
        for (std::size_t at = box.find(from); at != std::string::npos; at = box.find(from, at)) {
            box.replace(at, from.size(), to);
        }
    }
    const QString path = WriteMap("large.map", "{\n\"classname\" \"worldspawn\"\n" + box + "}\n");
    ASSERT_NE(main->OpenMapFile(path), nullptr);
    main->Action(CommandId::SelectAll)->trigger();
    Settle();
    EXPECT_EQ(main->PaneText(3), "1568w 1056l 48h");
    QLabel* pane = main->Pane(3);
    EXPECT_LE(pane->fontMetrics().horizontalAdvance(pane->text()), pane->contentsRect().width());
    Shot(*main, "large-selection");
}
