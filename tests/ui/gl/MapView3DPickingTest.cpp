#include "views/MapView3D.h"

#include "ViewTestSupport.h"
#include "common/ToolId.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "gamedata/TextureManager.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "panels/FacePropertiesBar.h"
#include "panels/FaceSpinField.h"
#include "render/View3DPicking.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The corpus folder (BRICKHAVEN_CORPUS_DIR in the environment overrides the built-in one).
std::string CorpusDir() {
    const char* overridden = std::getenv("BRICKHAVEN_CORPUS_DIR");
    return overridden && *overridden ? overridden : BRICKHAVEN_CORPUS_DIR;
}

class MapView3DPickingTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeMainFrame frame;
    std::unique_ptr<CMapDoc> doc;
    std::unique_ptr<CMapView3D> view;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().mainFrame = &frame;
        doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
    }
    void TearDown() override {
        view.reset();
        CMapDoc::SetActiveMapDoc(nullptr);
        doc.reset();
        context.Context().mainFrame = nullptr;
    }

    CMapView3D& Show() {
        doc->World()->CalcBounds(true);
        doc->World()->UpdateVisibleObjects();
        view = std::make_unique<CMapView3D>(*doc);
        view->resize(320, 240);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        EXPECT_TRUE(WaitFor([&] { return view->IsReady(); }));
        view->SetRenderMode(CMapView3D::Flat);
        return *view;
    }

    // Where a map point shows in the view (the camera looks straight down from above).
    QPoint Shown(CMapView3D& v, const Vector& p) {
        const Camera3D& camera = v.Model().Camera();
        const float depth = camera.Position().z - p.z;
        const float scale = static_cast<float>(v.width()) / (2.0f * camera.Field() * depth);
        return QPoint(static_cast<int>(v.width() / 2 + (p.x - camera.Position().x) * scale),
                      static_cast<int>(v.height() / 2 - (p.y - camera.Position().y) * scale));
    }
};

} // namespace

TEST_F(MapView3DPickingTest, ClickSelectsTheOwnerCtrlAddsAndHoldingCycles) {
    auto* door = new CMapEntity;
    doc->World()->AddChild(door);
    CMapSolid* doorSolid = AddBox(*door, {-64, -64, 100}, {64, 64, 132});
    door->CalcBounds(true);
    CMapSolid* floor = AddBox(*doc->World(), {-256, -256, 0}, {256, 256, 32});
    CMapSolid* other = AddBox(*doc->World(), {300, 300, 0}, {400, 400, 32});
    CMapView3D& v = Show();
    v.Model().Camera().LookFrom({0, 0, 2000}, {0, 0, 0});

    QTest::mouseClick(&v, Qt::LeftButton, {}, Shown(v, {0, 0, 132}));
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    EXPECT_EQ(doc->SelectedObjects()[0], door); // the top-level owner, not the solid
    EXPECT_FALSE(doorSolid->IsSelected() && doc->SelectedObjects()[0] == doorSolid);
    ASSERT_EQ(doc->PickList().size(), 2u);
    EXPECT_EQ(doc->PickList()[1], floor);

    QTest::mouseClick(&v, Qt::LeftButton, Qt::ControlModifier, Shown(v, {350, 350, 32}));
    EXPECT_EQ(doc->SelectedObjects().size(), 2u);
    EXPECT_TRUE(other->IsSelected());

    // A plain click replaces the selection; holding the button steps to the floor below.
    QTest::mousePress(&v, Qt::LeftButton, {}, Shown(v, {0, 0, 132}));
    ASSERT_EQ(doc->SelectedObjects().size(), 1u);
    EXPECT_EQ(doc->SelectedObjects()[0], door);
    EXPECT_TRUE(WaitFor([&] { return floor->IsSelected(); }, 2000));
    QTest::mouseRelease(&v, Qt::LeftButton, {}, Shown(v, {0, 0, 132}));
    EXPECT_EQ(doc->SelectedObjects().size(), 1u);
    const bool floorSelected = floor->IsSelected();
    QTest::qWait(2 * CMapView3D::kPickCycleInterval);
    EXPECT_EQ(floor->IsSelected(), floorSelected); // released: no more cycling

    // Page Up steps back to the first entry of the pick list.
    QTest::keyClick(&v, Qt::Key_PageUp);
    EXPECT_EQ(doc->SelectedObjects()[0], door);
}

// The picture is a native window of its own: what the pointer does there reaches the view,
// which takes the keyboard, and keys then go to the view, not to the window.
TEST_F(MapView3DPickingTest, ClicksOnTheViewsOwnWindowPickAndGiveTheViewTheKeyboard) {
    CMapSolid* box = AddBox(*doc->World(), {-64, -64, 0}, {64, 64, 64});
    CMapView3D& v = Show();
    v.Model().Camera().LookFrom({0, 0, 2000}, {0, 0, 0});
    ASSERT_TRUE(v.Surface().isExposed());
    // The window around the view stays a raster window: repainting other widgets never
    // composes it through OpenGL.
    EXPECT_EQ(v.window()->windowHandle()->surfaceType(), QSurface::RasterSurface);
    v.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    v.clearFocus();

    QTest::mouseClick(&v.Surface(), Qt::LeftButton, {}, Shown(v, {0, 0, 64}));
    EXPECT_TRUE(box->IsSelected());
    EXPECT_TRUE(v.hasFocus());
    EXPECT_NE(QGuiApplication::focusWindow(), &v.Surface());

    // A key typed into the window turns the camera.
    const Vector before = v.Model().Camera().Forward();
    const int frames = v.FramesDrawn();
    QTest::keyClick(v.window()->windowHandle(), Qt::Key_Left);
    EXPECT_TRUE(WaitFor([&] {
        const Vector now = v.Model().Camera().Forward();
        return now.x != before.x || now.y != before.y || now.z != before.z;
    }));
    EXPECT_TRUE(WaitFor([&] { return v.FramesDrawn() > frames; }));
}

TEST_F(MapView3DPickingTest, TextureApplicationClickSelectsOneFaceAndTheBarShowsIt) {
    FacePropertiesBar bar(context.Context().TextureCatalogue());
    bar.show();
    CMapSolid* box = AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    box->Face(0).SetShift(12, 0);
    box->Face(0).SetRotation(90);
    CMapView3D& v = Show();
    v.Model().Camera().LookFrom({0, 0, 2000}, {0, 0, 0});
    frame.faceMode = true;

    QTest::mouseClick(&v, Qt::LeftButton, {}, Shown(v, {0, 0, 64}));
    ASSERT_EQ(doc->SelectedFaces().size(), 1u);
    EXPECT_EQ(doc->SelectedFaces()[0], &box->Face(0));
    EXPECT_TRUE(doc->SelectedObjects().empty());
    EXPECT_EQ(bar.ShiftX()->Text(), "12.0");
    EXPECT_EQ(bar.Rotation()->Text(), "90.0");
    // The selected face shows red.
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage picture = v.grabFramebuffer();
            return picture.pixel(picture.width() / 2, picture.height() / 2) == qRgb(220, 0, 0);
        },
        2000));

    // Shift takes the whole solid; the fields show what its faces share.
    QTest::mouseClick(&v, Qt::LeftButton, Qt::ShiftModifier, Shown(v, {0, 0, 64}));
    EXPECT_EQ(doc->SelectedFaces().size(), 6u);
    EXPECT_EQ(bar.ShiftX()->Text(), "");
    EXPECT_EQ(bar.ScaleX()->text(), "1.0");
}

TEST_F(MapView3DPickingTest, CameraToolDragsMoveAndTurnTheCamera) {
    AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    CMapView3D& v = Show();
    v.Model().Camera().LookFrom({0, 0, 2000}, {0, 0, 0});
    frame.tool = TOOL_CAMERA;

    // Right drag: 10 pixels right moves the camera 20 units right.
    QTest::mousePress(&v, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(&v, QPoint(110, 100));
    QTest::mouseRelease(&v, Qt::RightButton, {}, QPoint(110, 100));
    EXPECT_NEAR(v.Model().Camera().Position().x, 20.0f, 1e-3f);
    // A click with the Camera tool picks nothing.
    EXPECT_TRUE(doc->SelectedObjects().empty());

    // Left drag down turns the view; with Reverse Y off it turns the other way.
    auto lookDown = [&](bool reverse) {
        context.Context().options.reverseY = reverse;
        v.Model().Camera().LookFrom({0, 0, 2000}, {0, 0, 0});
        QTest::mousePress(&v, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&v, QPoint(100, 120));
        QTest::mouseRelease(&v, Qt::LeftButton, {}, QPoint(100, 120));
        return v.Model().Camera().Forward().y;
    };
    const float reversed = lookDown(true);
    const float normal = lookDown(false);
    EXPECT_GT(reversed, 0.0f);
    EXPECT_LT(normal, 0.0f);
}

// Each mouse move of a look drag to the next drawn frame, on the corpus map E1M1.
TEST_F(MapView3DPickingTest, MouseLookFrameTimeOnE1M1) {
    const std::string path = CorpusDir() + "/maps/E1M1-edited-ents.map";
    if (!doc->OpenDocument(path)) {
        GTEST_SKIP() << "corpus map not available";
    }
    CMapView3D& v = Show();
    v.SetRenderMode(CMapView3D::Textured);
    frame.tool = TOOL_CAMERA;
    QTest::qWait(200);
    std::vector<double> times;
    QTest::mousePress(&v, Qt::LeftButton, {}, QPoint(160, 120));
    for (int i = 1; i <= 20; ++i) {
        const int frames = v.FramesDrawn();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseMove(&v, QPoint(160 + 3 * i, 120));
        WaitFor([&] { return v.FramesDrawn() > frames; }, 2000);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    QTest::mouseRelease(&v, Qt::LeftButton, {}, QPoint(220, 120));
    std::sort(times.begin(), times.end());
    std::printf("[ frame    ] E1M1 mouse look: move to drawn frame median %.1f ms, worst %.1f ms\n",
                times[times.size() / 2], times.back());
    // A pick on the same map, from the centre of the view.
    QElapsedTimer pickTimer;
    pickTimer.start();
    const auto hits = View3DPicking::HitsAt(v.Model(), 160.0f, 120.0f, v.width(), v.height());
    std::printf("[ pick     ] E1M1: %zu meshes under the centre in %.3f ms\n", hits.size(),
                static_cast<double>(pickTimer.nsecsElapsed()) / 1e6);
}
