#include "views/MapView2D.h"
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "document/UpdateHint.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/SolidBuilders.h"
#include "tools/View2DContextMenu.h"

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class MapView2DTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    FakeStatusPanes panes;
    FakeMainFrame mainFrame;
    std::unique_ptr<CMapDoc> document;
    std::unique_ptr<CMapView2D> view;

    void SetUp() override {
        context.Context().statusPanes = &panes;
        context.Context().mainFrame = &mainFrame;
        document = std::make_unique<CMapDoc>();
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {-64, -64, 0}, {64, 64, 128});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->CalcBounds();
        document->World()->AddChild(solid);
        document->World()->CalcBounds(true);
        document->World()->UpdateVisibleObjects();
        view = MakeView();
    }
    void TearDown() override {
        view.reset();
        document.reset();
    }

    std::unique_ptr<CMapView2D> MakeView() {
        auto made = std::make_unique<CMapView2D>(*document);
        made->resize(400, 300);
        made->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(made.get()));
        return made;
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view.get(), static_cast<Qt::Key>(key), modifiers);
    }

    void Move(const QPoint& pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, pixel, view->viewport()->mapToGlobal(pixel),
                         Qt::NoButton, buttons, modifiers);
        QApplication::sendEvent(view->viewport(), &move);
    }

    // Lets pending paints happen; returns how many the view did meanwhile.
    int PaintsWhileIdle() {
        const int before = view->PaintCount();
        QTest::qWait(30);
        QApplication::processEvents();
        return view->PaintCount() - before;
    }
};

} // namespace

TEST_F(MapView2DTest, WorldPointAtZoomOneIsDrawnWhereTheProjectionSays) {
    Key(Qt::Key_4);
    EXPECT_EQ(view->Zoom(), 1.0f);
    EXPECT_EQ(panes.panes[4], " Zoom: 1.00 ");
    view->ScrollTo(0, 0);
    EXPECT_EQ(view->WorldToClient({100, 100, 0}), (PixelPoint{100, -100}));
    EXPECT_EQ(view->ClientToWorld(100, -100), (PixelPoint{100, 100}));
    panes.panes[4].clear();
    Key(Qt::Key_4); // the same zoom again changes nothing
    EXPECT_TRUE(panes.panes[4].empty());
}

TEST_F(MapView2DTest, ZoomKeysStopAtTheirLimitsAndCtrlZoomsEveryView) {
    view->SetZoom(7.9f);
    Key(Qt::Key_Plus);
    EXPECT_FLOAT_EQ(view->Zoom(), 9.48f);
    Key(Qt::Key_Plus);
    EXPECT_FLOAT_EQ(view->Zoom(), 9.48f);
    view->SetZoom(0.03125f);
    Key(Qt::Key_Minus);
    EXPECT_EQ(view->Zoom(), 0.03125f);
    Key(Qt::Key_9);
    EXPECT_EQ(view->Zoom(), 2.25f);

    std::unique_ptr<CMapView2D> other = MakeView();
    Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(view->Zoom(), 2.25f * 0.8333333f);
    EXPECT_FLOAT_EQ(other->Zoom(), 2.25f * 0.8333333f);
}

TEST_F(MapView2DTest, TabCyclesTheViewTypeAndKeepsTheFocus) {
    view->setFocus();
    EXPECT_EQ(view->ViewType(), 0);
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->ViewType(), 1);
    EXPECT_EQ(view->HorizontalAxis(), 1);
    EXPECT_EQ(view->VerticalAxis(), 2);
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->ViewType(), 2);
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->ViewType(), 0);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->ViewType(), 2);
    EXPECT_TRUE(view->hasFocus());
}

TEST_F(MapView2DTest, NewViewsTakeTheirTypesInTurnAndRegisterWhenShown) {
    std::unique_ptr<CMapView2D> second = MakeView();
    std::unique_ptr<CMapView2D> third = MakeView();
    auto fourth = std::make_unique<CMapView2D>(*document);
    EXPECT_EQ(second->ViewType(), 1);
    EXPECT_EQ(third->ViewType(), 2);
    EXPECT_EQ(fourth->ViewType(), 0);
    EXPECT_EQ(document->Views().size(), 3u); // the fourth is not shown yet
    fourth->show();
    EXPECT_EQ(document->Views().size(), 4u);
    fourth.reset();
    EXPECT_EQ(document->Views().size(), 3u);
}

TEST_F(MapView2DTest, UpdatesForTheThreeDViewOnlyRepaintNothing) {
    PaintsWhileIdle();
    document->UpdateAllViews(UPDATE_REDRAW | UPDATE_3D_ONLY);
    EXPECT_EQ(PaintsWhileIdle(), 0);
    document->UpdateAllViews(UPDATE_2D_ONLY);
    EXPECT_EQ(PaintsWhileIdle(), 0);
    document->UpdateAllViews(UPDATE_REDRAW);
    EXPECT_EQ(PaintsWhileIdle(), 1);
    CUpdateHint hint;
    hint.box.UpdateBounds(Vector{0, 0, 0});
    hint.box.UpdateBounds(Vector{8, 8, 8});
    document->UpdateAllViews(UPDATE_OBJECTS, &hint);
    EXPECT_EQ(PaintsWhileIdle(), 1);
}

TEST_F(MapView2DTest, PositionTextFollowsTheGridUnlessAltIsHeld) {
    Key(Qt::Key_4);
    view->CenterOnPoint(0.0f, 0.0f);
    const PixelPoint pixel = view->WorldToClient({-70, 70, 0});
    Move({pixel.x, pixel.y});
    EXPECT_EQ(panes.panes[2], " @-64, 64 ");
    Move({pixel.x, pixel.y}, Qt::AltModifier);
    EXPECT_EQ(panes.panes[2], " @-70, 70 ");
}

TEST_F(MapView2DTest, CentringScrollingAndItsLimits) {
    view->CenterOn({0, 100, 0});
    const QSize client = view->viewport()->size();
    EXPECT_EQ(view->WorldToClient({0, 100, 0}),
              (PixelPoint{client.width() / 2, client.height() / 2}));

    const QPoint before = view->ScrollPosition();
    Key(Qt::Key_Right);
    EXPECT_EQ(view->ScrollPosition().x(), before.x() + client.width() / 4);
    Key(Qt::Key_Up);
    EXPECT_EQ(view->ScrollPosition().y(), before.y() - client.height() / 4);
    for (int i = 0; i < 40; ++i) {
        Key(Qt::Key_Right);
    }
    EXPECT_EQ(view->ScrollPosition().x(), 1024); // zoom 0.25: the range ends at 4096 x 0.25

    // A page click scrolls half a page.
    QScrollBar* bar = view->horizontalScrollBar();
    bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), client.width() / 2);
}

TEST_F(MapView2DTest, SpacePansAndDragsOutsideScrollByThemselves) {
    view->setFocus();
    QTest::keyPress(view.get(), Qt::Key_Space);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_TRUE(view->IsPanning());
    const QPoint before = view->ScrollPosition();
    Move({130, 90}, Qt::NoModifier, Qt::LeftButton);
    QTest::qWait(2 * CMapView2D::kPanInterval);
    EXPECT_EQ(view->ScrollPosition(), before + QPoint(-30, 10)); // the map follows the pointer
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(130, 90));
    QTest::keyRelease(view.get(), Qt::Key_Space);
    EXPECT_FALSE(view->IsPanning());

    // With a button held, leaving the view on the left scrolls it left every 80 ms.
    Move({-5, 50}, Qt::NoModifier, Qt::LeftButton);
    EXPECT_EQ(view->AutoScrollStep(), (ScrollStep{20, 0}));
    const QPoint start = view->ScrollPosition();
    QTest::qWait(2 * CMapView2D::kAutoScrollInterval + 20);
    EXPECT_LT(view->ScrollPosition().x(), start.x());
    Move({50, 50});
    EXPECT_TRUE(view->AutoScrollStep().IsZero());
}

TEST_F(MapView2DTest, ContextMenuDependsOnTheToolAndTheSelection) {
    const QPoint inside(200, 150);
    EXPECT_EQ(view->ContextMenuKindAt(inside), static_cast<int>(View2DMenu::View));
    mainFrame.tool = TOOL_MAGNIFY;
    EXPECT_EQ(view->ContextMenuKindAt(inside), static_cast<int>(View2DMenu::None));
    mainFrame.tool = TOOL_SELECTION;
    CMapClass* solid = *document->World()->Children().begin();
    document->SelectObject(solid, SELECT_ADD | SELECT_UPDATE);
    const PixelPoint onSolid = view->WorldToClient({0, 0, 0});
    EXPECT_EQ(view->ContextMenuKindAt({onSolid.x, onSolid.y}),
              static_cast<int>(View2DMenu::Selection));
    EXPECT_EQ(view->ContextMenuKindAt({2, 2}), static_cast<int>(View2DMenu::None));

    QMenu* menu = view->BuildContextMenu(static_cast<int>(View2DMenu::View));
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << action->text();
    }
    EXPECT_TRUE(texts.contains("View &X/Y"));
    EXPECT_TRUE(texts.contains("View X/&Z"));
    delete menu;
}

TEST_F(MapView2DTest, AClickBecomesAPointWithTheOtherViewsCentres) {
    std::unique_ptr<CMapView2D> side = MakeView(); // Y/Z
    side->SetZoom(1.0f);
    side->CenterOnPoint(0.0f, 10.0f);
    view->SetZoom(1.0f);
    view->ScrollTo(0, 0);
    const Vector point = view->ClickToPoint3D(40, -30);
    EXPECT_EQ(point.x, 40.0f);
    EXPECT_EQ(point.y, 30.0f);
    EXPECT_NEAR(point.z, 10.0f, 1.0f);
}
