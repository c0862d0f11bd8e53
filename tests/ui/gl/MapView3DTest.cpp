#include "views/MapView3D.h"

#include "ViewTestSupport.h"
#include "document/MapDoc.h"
#include "gamedata/GamePalette.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "mapobjects/MapWorld.h"
#include "render/View2DRenderer.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"
#include "views/MeshRenderer3D.h"

#include <QImage>
#include <QSurfaceFormat>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

QRgb CentrePixel(CMapView3D& view) {
    const QImage image = view.grabFramebuffer();
    return image.pixel(image.width() / 2, image.height() / 2);
}

QRgb Rgb(std::uint32_t color) {
    return qRgb(static_cast<int>((color >> 16) & 255), static_cast<int>((color >> 8) & 255),
                static_cast<int>(color & 255));
}

class MapView3DTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    std::unique_ptr<CMapDoc> doc;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        doc = std::make_unique<CMapDoc>();
    }
    void TearDown() override {
        view.reset();
        doc.reset();
    }

    // The world is final before the view appears: the camera takes its centre.
    void Finish() {
        doc->World()->CalcBounds(true);
        doc->World()->UpdateVisibleObjects();
    }

    CMapView3D& Show(int width = 320, int height = 240) {
        view = std::make_unique<CMapView3D>(*doc);
        view->resize(width, height);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        EXPECT_TRUE(WaitFor([&] { return view->IsReady(); }));
        return *view;
    }

    std::unique_ptr<CMapView3D> view;
};

} // namespace

TEST_F(MapView3DTest, DrawsTheWorldFromAboveItsCentreAndTintsTheSelectionRed) {
    // A 256-unit box right under the camera.
    CMapSolid* box = AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    Finish();
    CMapView3D& v = Show();
    EXPECT_EQ(v.GetRenderMode(), CMapView3D::Wireframe);
    // Wireframe: the centre of the top face is empty, the picture's corner too.
    EXPECT_EQ(CentrePixel(v), qRgb(0, 0, 0));

    v.SetRenderMode(CMapView3D::Flat);
    // Filled: the top face (facing up, fully lit) shows the solid's own colour.
    EXPECT_EQ(CentrePixel(v), Rgb(box->GetColor()));
    const QImage picture = v.grabFramebuffer();
    EXPECT_EQ(picture.pixel(2, 2), qRgb(0, 0, 0));

    doc->SelectObject(box, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(CentrePixel(v), qRgb(220, 0, 0));
    doc->SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    EXPECT_EQ(CentrePixel(v), Rgb(box->GetColor()));
}

TEST_F(MapView3DTest, DrawsOnlyWhenSomethingChangedAndKeysMoveTheCamera) {
    AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    Finish();
    CMapView3D& v = Show();
    v.setFocus();
    // The frames of showing the window (its expose events) come first; on a busy machine they
    // take a while.
    int settled = v.FramesDrawn();
    WaitFor(
        [&] {
            QTest::qWait(4 * CMapView3D::kRenderInterval);
            const bool quiet = v.FramesDrawn() == settled;
            settled = v.FramesDrawn();
            return quiet;
        },
        3000);
    QTest::qWait(4 * CMapView3D::kRenderInterval);
    EXPECT_EQ(v.FramesDrawn(), settled);

    QTest::keyClick(&v, Qt::Key_D);
    EXPECT_EQ(v.Model().Camera().Position().z, 1950.0f);
    EXPECT_TRUE(WaitFor([&] { return v.FramesDrawn() > settled; }, 1000));
    QTest::keyClick(&v, Qt::Key_1);
    EXPECT_EQ(v.Model().Camera().Back(), 4000.0f);
    QTest::keyClick(&v, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(v.Model().Camera().Position().x, -50.0f);
    // Ctrl turns the map, not the camera.
    QTest::keyClick(&v, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(v.Model().Camera().Forward().z, -1.0f);
    EXPECT_NE(v.Model().Camera().ObjectsMatrix().At(0, 0), 1.0f);
}

TEST_F(MapView3DTest, FocusMakesTheDocumentActiveAndPageKeysStepThroughThePickList) {
    CMapSolid* first = AddBox(*doc->World(), {-128, -128, 0}, {0, 0, 64});
    CMapSolid* second = AddBox(*doc->World(), {0, 0, 0}, {128, 128, 64});
    Finish();
    FakeStatusPanes panes;
    panes.panes = {"0", "1", "2", "3", "4", "5"};
    context.Context().statusPanes = &panes;
    CMapDoc::SetActiveMapDoc(nullptr);
    CMapView3D& v = Show();
    v.activateWindow();
    v.setFocus();
    EXPECT_TRUE(WaitFor([&] { return CMapDoc::GetActiveMapDoc() == doc.get(); }, 2000));
    EXPECT_EQ(panes.panes[2], "");
    EXPECT_EQ(panes.panes[4], "");
    EXPECT_EQ(panes.panes[3], "3");

    doc->AddToPickList(first);
    doc->AddToPickList(second);
    QTest::keyClick(&v, Qt::Key_PageUp);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{first});
    QTest::keyClick(&v, Qt::Key_PageUp);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{second});
    QTest::keyClick(&v, Qt::Key_PageDown);
    EXPECT_EQ(doc->SelectedObjects(), std::vector<CMapClass*>{first});
    context.Context().statusPanes = nullptr;
}

TEST_F(MapView3DTest, AViewMovedToAnotherWindowKeepsDrawingWithItsOwnContext) {
    CMapSolid* box = AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    Finish();
    CMapView3D& v = Show();
    v.SetRenderMode(CMapView3D::Flat);
    EXPECT_EQ(CentrePixel(v), Rgb(box->GetColor()));
    const std::size_t uploads = v.Renderer()->ChunkUploads();
    QWidget window;
    window.resize(320, 240);
    v.setParent(&window);
    v.move(0, 0);
    v.show();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int frames = v.FramesDrawn();
    v.Model().MarkDirty();
    EXPECT_TRUE(WaitFor([&] { return v.FramesDrawn() > frames; }));
    EXPECT_EQ(CentrePixel(v), Rgb(box->GetColor()));
    // The view's window has its own context, so its buffers stay valid: nothing is sent again.
    EXPECT_EQ(v.Renderer()->ChunkUploads(), uploads);
    v.setParent(nullptr);
}

TEST_F(MapView3DTest, ASelectionChangeSendsOnlyTheChunkOfTheSelectedSolid) {
    std::vector<CMapSolid*> boxes;
    for (int i = 0; i < 400; ++i) {
        const float x = static_cast<float>(i % 20) * 80.0f;
        const float y = static_cast<float>(i / 20) * 80.0f;
        boxes.push_back(AddBox(*doc->World(), {x, y, 0}, {x + 64, y + 64, 64}));
    }
    Finish();
    CMapView3D& v = Show();
    const std::size_t before = v.Renderer()->ChunkUploads();
    // A new mode re-makes every chunk: two of them for 2,400 faces.
    v.SetRenderMode(CMapView3D::Flat);
    v.grabFramebuffer();
    const std::size_t uploads = v.Renderer()->ChunkUploads();
    EXPECT_EQ(uploads, before + 2);
    doc->SelectObject(boxes.back(), SELECT_ADD | SELECT_UPDATE);
    v.grabFramebuffer();
    EXPECT_EQ(v.Renderer()->ChunkUploads(), uploads + 1);
}

TEST_F(MapView3DTest, ABrightnessChangeSendsTheTexturesAgain) {
    std::vector<std::uint8_t> paletteBytes(768);
    for (int i = 0; i < 256; ++i) {
        paletteBytes[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>(i / 2);
        paletteBytes[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>(i / 2);
        paletteBytes[static_cast<std::size_t>(i) * 3 + 2] = static_cast<std::uint8_t>(i / 2);
    }
    GamePalette palette;
    ASSERT_TRUE(palette.LoadFromBytes(paletteBytes.data(), paletteBytes.size()));
    TextureManager& textures = context.Context().TextureCatalogue();
    textures.SetPalette(&palette);
    Wad2Writer writer;
    writer.AddTexture("GREY", 16, 16, {std::vector<std::uint8_t>(16 * 16, 160)});
    ASSERT_NE(textures.AddWadFromMemory("grey.wad", writer.Build()), 0);
    textures.SortAllTextures();
    context.Context().textures = &textures;

    CMapSolid* box = AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    box->SetTexture("GREY");
    Finish();
    CMapView3D& v = Show();
    v.SetRenderMode(CMapView3D::Textured);
    EXPECT_EQ(CentrePixel(v), qRgb(80, 80, 80));
    EXPECT_EQ(v.Renderer()->TextureUploads(), 1u);

    palette.SetBrightness(2.0f);
    EXPECT_TRUE(v.Model().IsDirty());
    EXPECT_EQ(CentrePixel(v), qRgb(160, 160, 160));
    EXPECT_EQ(v.Renderer()->TextureUploads(), 2u);
    textures.SetPalette(nullptr);
}

TEST_F(MapView3DTest, AViewWithoutOpenGLSaysSoInTheMessageWindow) {
    AddBox(*doc->World(), {0, 0, 0}, {64, 64, 64});
    Finish();
    view = std::make_unique<CMapView3D>(*doc);
    // An OpenGL ES 2 context has none of what the view needs.
    QSurfaceFormat unusable;
    unusable.setRenderableType(QSurfaceFormat::OpenGLES);
    unusable.setVersion(2, 0);
    view->SetSurfaceFormat(unusable);
    view->resize(160, 120);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const MessageLog& log = context.Context().messages;
    EXPECT_TRUE(WaitFor([&] { return log.Count() > 0; }, 3000));
    ASSERT_GT(log.Count(), 0u);
    EXPECT_EQ(log.Lines().back().kind, MessageLog::Error);
    EXPECT_EQ(log.Lines().back().text.rfind("GL CreateContext(): ", 0), 0u)
        << log.Lines().back().text;
    std::printf("[ message  ] %s\n", log.Lines().back().text.c_str());
    EXPECT_FALSE(view->IsReady());
    // It says so once, however often it is painted.
    view->RequestFrame();
    QTest::qWait(100);
    EXPECT_EQ(log.Count(), 1u);
}

TEST_F(MapView3DTest, ALeakTrailShowsThroughTheFacesInItsOwnColour) {
    AddBox(*doc->World(), {-128, -128, 0}, {128, 128, 64});
    Finish();
    CMapView3D& v = Show();
    v.SetRenderMode(CMapView3D::Flat);
    // Under the box's top face, from the middle out past its side.
    const std::string pts = (std::filesystem::temp_directory_path() / "view3d-leak.pts").string();
    std::FILE* file = std::fopen(pts.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("0 0 32\n600 0 32\n", file);
    std::fclose(file);
    ASSERT_TRUE(doc->LoadPointfile(pts));
    std::remove(pts.c_str());
    auto trailPixels = [&] {
        const QImage image = v.grabFramebuffer();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == Rgb(View2DColors::kLeakTrail & 0xFFFFFFu) ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_GT(trailPixels(), 20);
    EXPECT_EQ(v.Renderer()->TrailVerticesDrawn(), 2u);
    doc->ClearPointfile();
    EXPECT_EQ(trailPixels(), 0);
}
