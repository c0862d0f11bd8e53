#include "ViewTestSupport.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "document/MapDoc.h"
#include "gamedata/TextureManager.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/FacePropertiesBar.h"
#include "panels/FaceSpinField.h"
#include "panels/TextureBar.h"
#include "panels/TextureBrowser.h"
#include "session/EditorContext.h"
#include "session/GameDataStartup.h"
#include "support/ScriptedPrompts.h"
#include "views/MapView3D.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Pictures of texturing as a designer sees it, written to the folder named by
// BRICKHAVEN_SCREENSHOTS: the textured example map with a selected face, the texture bar, the
// browser at 64 x 64 and the face properties with mixed values. Also drives Shift+A and a
// face pick in a real main window, so it checks what it shows.
TEST(TexturingScreenshotsTest, ExampleMapTextureBarBrowserAndFaceBar) {
    const QString folder = qEnvironmentVariable("BRICKHAVEN_SCREENSHOTS");
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    QtSettingsStore settings(directory.filePath("Brickhaven.ini"));
    EditorContext& editor = context.Context();
    editor.SetPrompts(&prompts);
    editor.SetSettings(&settings);
    editor.programDirectory = BRICKHAVEN_BIN_DIR;
    LoadTextureFiles({"textures.wad"});
    {
        CMainFrame frame(settings);
        frame.resize(1600, 1000);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        QSignalSpy started(&frame, &CMainFrame::deferredStartFinished);
        ASSERT_TRUE(started.wait(3000));
        CChildFrame* child = frame.OpenMapFile(QString(BRICKHAVEN_BIN_DIR) + "/maps/example.map");
        ASSERT_NE(child, nullptr);
        CMapView3D* view = child->View3D();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(WaitFor([&] { return view->IsReady(); }));
        view->SetRenderMode(CMapView3D::Textured);
        // From inside the map, looking at its middle from a corner above the floor.
        const BoundBox bounds = child->Document().World()->Bounds();
        const Vector centre3 = bounds.Center();
        const Vector size = bounds.Size();
        view->TakeCamera(centre3 + Vector{-size.x * 0.3f, -size.y * 0.35f, size.z * 0.15f},
                         centre3 + Vector{0.0f, 0.0f, -size.z * 0.3f});
        QTest::qWait(200);

        // Shift+A: the face properties take the texture bar's place. (Xvfb has no window
        // manager to make the window active for its accelerators.)
        QApplication::setActiveWindow(&frame);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ShiftModifier);
        ASSERT_TRUE(frame.FaceEditingMode());
        QDockWidget* faceDock = frame.DialogBar(CommandId::FacePropertiesBar);
        EXPECT_TRUE(faceDock->isVisible());
        EXPECT_FALSE(frame.DialogBar(CommandId::TextureBar)->isVisible());

        const QPoint centre(view->width() / 2, view->height() / 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, centre);
        ASSERT_EQ(child->Document().SelectedFaces().size(), 1u);
        // A shift typed into the bar and applied to this face only.
        auto* faceBar = static_cast<FacePropertiesBar*>(faceDock->widget());
        faceBar->ShiftX()->SetText("16");
        QTest::mouseClick(faceBar->ApplyButton(), Qt::LeftButton);
        EXPECT_EQ(child->Document().SelectedFaces()[0]->ShiftX(), 16.0f);
        QTest::qWait(300);
        if (!folder.isEmpty()) {
            frame.screen()
                ->grabWindow(frame.winId())
                .save(folder + "/textured-map-selected-face.png");
        }

        QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, centre);
        EXPECT_GT(child->Document().SelectedFaces().size(), 1u);
        EXPECT_EQ(faceBar->ShiftX()->Text(), ""); // 16 on one face, 0 on the others
        QTest::qWait(100);
        if (!folder.isEmpty()) {
            faceDock->grab().save(folder + "/face-bar-mixed.png");
        }
        EXPECT_FALSE(faceBar->ScaleX()->text().isEmpty());

        QTest::keyClick(view, Qt::Key_A, Qt::ShiftModifier);
        EXPECT_FALSE(frame.FaceEditingMode());
        QDockWidget* textureDock = frame.DialogBar(CommandId::TextureBar);
        EXPECT_TRUE(textureDock->isVisible());
        auto* bar = static_cast<TextureBar*>(textureDock->widget());
        EXPECT_GT(bar->TextureBox()->count(), 3);
        QTest::qWait(100);
        if (!folder.isEmpty()) {
            textureDock->grab().save(folder + "/texture-bar.png");
            bar->TextureBox()->showPopup();
            QTest::qWait(200);
            bar->TextureBox()->view()->window()->grab().save(folder + "/texture-bar-list.png");
            bar->TextureBox()->hidePopup();
        }

        TextureBrowser browser(editor.TextureCatalogue(),
                               QString::fromStdString(editor.currentTexture), &frame);
        browser.resize(720, 520);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
        QTest::qWait(200);
        if (!folder.isEmpty()) {
            browser.grab().save(folder + "/browser-64.png");
        }
        browser.close();
    }
    editor.SetSettings(nullptr);
}
