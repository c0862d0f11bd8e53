#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "document/MapDoc.h"
#include "render/View2DRenderer.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QAction>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {

int LeakPixels(QWidget* view) {
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            count += (row[x] | 0xFF000000u) == View2DColors::kLeakTrail ? 1 : 0;
        }
    }
    return count;
}

} // namespace

// Map, Load Pointfile: the trail shows in the 2D views, the 3D camera steps along it, and
// Clear Pointfile takes it away.
TEST(PointfileFrameTest, TheLeakTrailIsDrawnAndTheCameraFollowsIt) {
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    context.Context().SetPrompts(&prompts);
    context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
    QTemporaryDir directory;
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    context.Context().SetSettings(&settings);
    const std::string map = directory.filePath("room.map").toStdString();
    std::ofstream(map) << "{\n\"classname\" \"worldspawn\"\n{\n"
                          "( 0 0 0 ) ( 0 1 0 ) ( 1 0 0 ) FLOOR 0 0 0 1 1\n"
                          "( 0 0 64 ) ( 1 0 64 ) ( 0 1 64 ) FLOOR 0 0 0 1 1\n"
                          "( 0 0 0 ) ( 1 0 0 ) ( 0 0 1 ) FLOOR 0 0 0 1 1\n"
                          "( 0 256 0 ) ( 0 256 1 ) ( 1 256 0 ) FLOOR 0 0 0 1 1\n"
                          "( 0 0 0 ) ( 0 0 1 ) ( 0 1 0 ) FLOOR 0 0 0 1 1\n"
                          "( 256 0 0 ) ( 256 1 0 ) ( 256 0 1 ) FLOOR 0 0 0 1 1\n}\n}\n";
    const std::string pts = directory.filePath("room.pts").toStdString();
    std::ofstream(pts) << "128 128 32\n128 400 32\n128 2000 32\n";
    {
        CMainFrame frame(settings);
        frame.resize(1000, 700);
        frame.show();
        CChildFrame* child = frame.OpenMapFile(QString::fromStdString(map));
        ASSERT_NE(child, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        CMapView2D* view = child->Views2D().front();
        QTest::qWait(50);
        EXPECT_EQ(LeakPixels(view->viewport()), 0);

        prompts.texts.push_back(pts);
        frame.Action(CommandId::LoadPointfile)->trigger();
        ASSERT_EQ(child->Document().LeakTrail().points.size(), 3u);
        EXPECT_EQ(prompts.shown.back().kind, "open");
        QTest::qWait(50);
        EXPECT_GT(LeakPixels(view->viewport()), 20);

        CMapView3D* view3D = child->View3D();
        ASSERT_NE(view3D, nullptr);
        frame.Action(CommandId::NextLeakPoint)->trigger();
        EXPECT_EQ(view3D->Model().Camera().Position(), Vector(128, 128, 32));
        EXPECT_GT(view3D->Model().Camera().Forward().y, 0.99f) << "looking along the trail";
        frame.Action(CommandId::NextLeakPoint)->trigger();
        EXPECT_EQ(view3D->Model().Camera().Position(), Vector(128, 400, 32));
        frame.Action(CommandId::PreviousLeakPoint)->trigger();
        EXPECT_EQ(view3D->Model().Camera().Position(), Vector(128, 128, 32));

        frame.Action(CommandId::ClearPointfile)->trigger();
        EXPECT_TRUE(child->Document().LeakTrail().IsEmpty());
        QTest::qWait(50);
        EXPECT_EQ(LeakPixels(view->viewport()), 0);
        child->Document().SetModified(false);
    }
    context.Context().SetSettings(nullptr);
}
