#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ChildFrameTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    std::unique_ptr<CChildFrame> frame;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        auto document = std::make_unique<CMapDoc>();
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {-64, -64, 0}, {64, 64, 128});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        document->World()->AddChild(solid);
        document->World()->CalcBounds(true);
        document->World()->UpdateVisibleObjects();
        frame = std::make_unique<CChildFrame>(std::move(document));
        frame->resize(806, 606);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
    }
    void TearDown() override { frame.reset(); }

    QWidget* Pane(int row, int column) { return frame->Grid().Pane(row, column); }
    CMapView2D* View2D(int row, int column) { return qobject_cast<CMapView2D*>(Pane(row, column)); }
};

} // namespace

TEST_F(ChildFrameTest, ThreeDViewTopLeftAndTwoDViewsFromTheCounter) {
    EXPECT_NE(qobject_cast<CMapView3D*>(Pane(0, 0)), nullptr);
    ASSERT_NE(View2D(0, 1), nullptr);
    EXPECT_EQ(View2D(0, 1)->ViewType(), 0);
    EXPECT_EQ(View2D(1, 0)->ViewType(), 1);
    EXPECT_EQ(View2D(1, 1)->ViewType(), 2);
    EXPECT_EQ(frame->Document().Views().size(), 4u);
    // The first paint made equal quarters.
    const QSize client = frame->Grid().size();
    EXPECT_EQ(frame->Grid().ColumnWidth(0), client.width() / 2 - 3);
    EXPECT_EQ(frame->Grid().RowHeight(0), client.height() / 2 - 3);
}

TEST_F(ChildFrameTest, ASecondThreeDViewIsRefusedAndTheThreeDPaneCanChangeClass) {
    frame->SetActiveCell({0, 1});
    QWidget* before = Pane(0, 1);
    frame->OnView3D(3);
    EXPECT_TRUE(prompts.Showed("Multiple 3D views for each document are not supported yet."));
    EXPECT_EQ(Pane(0, 1), before);

    frame->SetActiveCell({0, 0});
    frame->OnView2D(2);
    ASSERT_NE(View2D(0, 0), nullptr);
    EXPECT_EQ(View2D(0, 0)->ViewType(), 2);
    EXPECT_FALSE(frame->Document().Has3DView());
    EXPECT_EQ(frame->Active2DType(), 2);

    prompts.shown.clear();
    frame->OnView3D(3);
    auto* view3D = qobject_cast<CMapView3D*>(Pane(0, 0));
    ASSERT_NE(view3D, nullptr);
    EXPECT_EQ(view3D->GetRenderMode(), 3);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(frame->Active3DMode(), 3);

    // A 2D view asked for a 2D type keeps its pane and only changes its type.
    frame->SetActiveCell({1, 1});
    QWidget* view = Pane(1, 1);
    frame->OnView2D(0);
    EXPECT_EQ(Pane(1, 1), view);
    EXPECT_EQ(View2D(1, 1)->ViewType(), 0);
}

TEST_F(ChildFrameTest, MaximisingTwiceRestoresTheSizesAndAutosizeMakesQuarters) {
    PaneGrid& grid = frame->Grid();
    grid.SetColumnWidth(0, 250); // as if the user dragged the bar
    grid.SetRowHeight(0, 180);
    grid.Relayout();
    const int columns[] = {grid.ColumnWidth(0), grid.ColumnWidth(1)};
    const int rows[] = {grid.RowHeight(0), grid.RowHeight(1)};

    frame->SetActiveCell({1, 1});
    frame->OnToggleMaximize();
    EXPECT_TRUE(frame->HasMaximizedPane());
    EXPECT_EQ(Pane(1, 1)->geometry(), grid.rect());
    EXPECT_FALSE(Pane(0, 0)->isVisible());
    frame->OnToggleMaximize();
    EXPECT_FALSE(frame->HasMaximizedPane());
    EXPECT_EQ(grid.ColumnWidth(0), columns[0]);
    EXPECT_EQ(grid.ColumnWidth(1), columns[1]);
    EXPECT_EQ(grid.RowHeight(0), rows[0]);
    EXPECT_EQ(grid.RowHeight(1), rows[1]);
    EXPECT_TRUE(Pane(0, 0)->isVisible());

    frame->OnAutosize();
    EXPECT_EQ(grid.ColumnWidth(0), grid.width() / 2 - 3);
    EXPECT_EQ(grid.RowHeight(1), grid.height() - PaneGrid::kBarSize - (grid.height() / 2 - 3));
}

TEST_F(ChildFrameTest, ClickingAPaneMakesItTheActiveView) {
    CMapView2D* side = View2D(1, 0);
    QTest::mouseClick(side->viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(frame->ActiveView(), side);
    EXPECT_TRUE(side->IsActiveView());
    EXPECT_FALSE(View2D(0, 1)->IsActiveView());
    EXPECT_EQ(CMapDoc::GetActiveMapDoc(), &frame->Document());
}

TEST(MainFrameDocumentsTest, OpeningMapsFromFilesAndTheirFrames) {
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    context.Context().SetPrompts(&prompts);
    context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
    QTemporaryDir directory;
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    context.Context().SetSettings(&settings);
    {
        CMainFrame main(settings);
        main.resize(1200, 800);
        main.show();
        const QString example = QString(BRICKHAVEN_BIN_DIR) + "/maps/example.map";
        CChildFrame* child = main.OpenMapFile(example);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(main.ChildFrames().size(), 1);
        EXPECT_EQ(main.RecentFiles().Files().front(), example.toStdString());
        EXPECT_EQ(CMapDoc::GetActiveMapDoc(), &child->Document());
        EXPECT_EQ(child->windowTitle(), "example.map");
        EXPECT_TRUE(main.Action(57603)->isEnabled()); // Save
        // Opening it again brings the same frame forward.
        EXPECT_EQ(main.OpenMapFile(example), child);
        EXPECT_EQ(main.ChildFrames().size(), 1);
        EXPECT_EQ(main.OpenMapFile(directory.filePath("gone.map")), nullptr);
        EXPECT_TRUE(prompts.Showed("That file does not exist."));
        EXPECT_EQ(CMapDoc::GetActiveMapDoc(), &child->Document());
        main.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(main.ChildFrames().isEmpty());
        EXPECT_EQ(CMapDoc::GetActiveMapDoc(), nullptr);
    }
    context.Context().SetSettings(nullptr);
}
