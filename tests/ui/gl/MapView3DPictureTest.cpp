#include "views/MapView3D.h"

#include "ViewTestSupport.h"
#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "session/GameDataStartup.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

// Pictures and frame times of whole maps in the textured mode. The pictures go to
// build/screenshots for a person to look at; the times are printed.
namespace {

const char* const kBinDir = BRICKHAVEN_BIN_DIR;

class MapView3DPictureTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    std::unique_ptr<CMapDoc> doc;
    std::unique_ptr<CMapView3D> view;

    void SetUp() override {
        EditorContext& editor = context.Context();
        editor.SetPrompts(&prompts);
        editor.programDirectory = kBinDir;
        if (!QFileInfo::exists(QString(kBinDir) + "/quake.ymx")) {
            GTEST_SKIP() << "the shipped content is not built in " << kBinDir;
        }
        ASSERT_TRUE(LoadGameData("quake.ymx"));
        ApplyBrightness(1.0f);
        LoadTextureFiles({"textures.wad"});
        doc = std::make_unique<CMapDoc>();
    }
    void TearDown() override {
        view.reset();
        doc.reset();
    }

    CMapView3D& ShowTextured() {
        view = std::make_unique<CMapView3D>(*doc);
        view->resize(800, 600);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        EXPECT_TRUE(WaitFor([&] { return view->IsReady(); }, 10000));
        view->SetRenderMode(CMapView3D::Textured);
        return *view;
    }

    // Median time of a few frames, after a first one that sends the drawing data.
    double FrameMilliseconds(CMapView3D& v, const char* what) {
        v.SetMeasureFrames(true);
        v.grabFramebuffer();
        const double first = v.LastFrameMilliseconds();
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            v.Model().MarkDirty();
            v.grabFramebuffer();
            times.push_back(v.LastFrameMilliseconds());
        }
        std::sort(times.begin(), times.end());
        std::printf("[ frame    ] %s: first frame %.1f ms, then %.1f ms (median of 5)\n", what,
                    first, times[2]);
        return times[2];
    }

    // At least one sample in minimumShare of a grid of samples 8 pixels apart is not black.
    void Save(CMapView3D& v, const QString& name, int minimumShare = 20) {
        const QString dir = QString(kBinDir) + "/../screenshots";
        QDir().mkpath(dir);
        const QImage image = v.grabFramebuffer();
        EXPECT_TRUE(image.save(dir + "/" + name + ".png")) << name.toStdString();
        std::printf("[ picture  ] %s\n", QDir(dir).absoluteFilePath(name + ".png").toUtf8().data());
        // Something was drawn: part of the picture is not black.
        int lit = 0;
        for (int y = 0; y < image.height(); y += 8) {
            for (int x = 0; x < image.width(); x += 8) {
                lit += (image.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
            }
        }
        EXPECT_GT(lit, (image.width() / 8) * (image.height() / 8) / minimumShare)
            << name.toStdString();
    }

    // Looks at the world's centre from the south and above: the camera keys turn the view
    // from straight down toward the north, then it backs away from the centre.
    void LookAtWorldFromAbove(CMapView3D& v, float distance) {
        Camera3D& camera = v.Model().Camera();
        camera.PlaceOverCenter(doc->World()->Bounds());
        for (int i = 0; i < 18; ++i) {
            camera.Press(Camera3D::Key::Up, false, false);
        }
        camera.SetPosition(doc->World()->Bounds().Center() - camera.Forward() * distance);
        v.Model().MarkDirty();
    }

    // Stands at the player start looking the way it faces (angle in degrees from +x).
    bool LookFromPlayerStart(CMapView3D& v) {
        const CMapEntity* start = nullptr;
        for (CMapClass* object : doc->World()->Children()) {
            auto* entity = dynamic_cast<CMapEntity*>(object);
            if (entity && entity->ClassName() == "info_player_start") {
                start = entity;
            }
        }
        if (!start) {
            return false;
        }
        const float degrees = static_cast<float>(start->Angle());
        Camera3D& camera = v.Model().Camera();
        camera.PlaceOverCenter(doc->World()->Bounds());
        // From straight down to level, facing north; then right toward the start's angle.
        for (int i = 0; i < 31; ++i) {
            camera.Press(Camera3D::Key::Up, false, false);
        }
        const int turns = static_cast<int>(std::lround((90.0f - degrees) / 2.8647888f));
        for (int i = 0; i < std::abs(turns); ++i) {
            camera.Press(turns > 0 ? Camera3D::Key::Right : Camera3D::Key::Left, false, false);
        }
        camera.SetPosition(start->Origin() + Vector{0, 0, 22});
        v.Model().MarkDirty();
        return true;
    }

    void PictureOfMap(const QString& path, const QString& name) {
        if (!QFileInfo::exists(path)) {
            GTEST_SKIP() << path.toStdString() << " is not there";
        }
        ASSERT_TRUE(doc->OpenDocument(path.toStdString()));
        CMapView3D& v = ShowTextured();
        Save(v, name + "-top");
        FrameMilliseconds(v, (name + " from above").toUtf8().data());
        LookAtWorldFromAbove(v, 2200.0f);
        Save(v, name + "-oblique");
        FrameMilliseconds(v, (name + " at an angle").toUtf8().data());
        v.SetRenderMode(CMapView3D::Wireframe);
        Save(v, name + "-oblique-wireframe", 200);
        v.SetRenderMode(CMapView3D::Flat);
        Save(v, name + "-oblique-flat");
        v.SetRenderMode(CMapView3D::Textured);
        if (LookFromPlayerStart(v)) {
            Save(v, name + "-inside");
            FrameMilliseconds(v, (name + " from the player start").toUtf8().data());
        }
    }
};

} // namespace

TEST_F(MapView3DPictureTest, ShippedExampleMap) {
    PictureOfMap(QString(kBinDir) + "/maps/example.map", "example");
}

TEST_F(MapView3DPictureTest, CorpusMapWithEditedEntities) {
    PictureOfMap(QString(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map", "e1m1");
}

// 60,025 boxes in a square of 245 x 245; only with BRICKHAVEN_GL_PERF=1 (takes seconds).
TEST_F(MapView3DPictureTest, TiledMapOfSixtyThousandBrushes) {
    if (qEnvironmentVariableIntValue("BRICKHAVEN_GL_PERF") != 1) {
        GTEST_SKIP() << "set BRICKHAVEN_GL_PERF=1 to measure the 60,000-brush map";
    }
    const char* names[] = {"stone_block", "wood_plank", "metal_rust", "brick_red"};
    CMapWorld& world = *doc->World();
    constexpr int kSide = 245;
    for (int i = 0; i < kSide * kSide; ++i) {
        // Inside the map's +-4096 limits: 24-unit boxes 32 units apart.
        const float x = static_cast<float>(i % kSide - kSide / 2) * 32.0f;
        const float y = static_cast<float>(i / kSide - kSide / 2) * 32.0f;
        const float h = static_cast<float>(8 + (i * 7) % 48);
        auto* solid = new CMapSolid;
        AddBoxPlanes(*solid, {x, y, 0}, {x + 24, y + 24, h});
        ASSERT_TRUE(solid->CreateFromPlanes());
        solid->SetTexture(names[i % 4]);
        solid->CalcBounds();
        world.AddChild(solid);
    }
    world.CalcBounds(true);
    world.UpdateVisibleObjects();
    QElapsedTimer timer;
    timer.start();
    CMapView3D& v = ShowTextured();
    const qint64 ready = timer.elapsed();
    v.grabFramebuffer();
    std::printf("[ frame    ] tiled 60025: view ready in textured mode %lld ms, first frame "
                "after %lld ms\n",
                static_cast<long long>(ready), static_cast<long long>(timer.elapsed()));
    Save(v, "tiled-top");
    FrameMilliseconds(v, "tiled 60025 from above");
    LookAtWorldFromAbove(v, 3000.0f);
    Save(v, "tiled-oblique");
    FrameMilliseconds(v, "tiled 60025 at an angle");
    v.Model().Camera().SetBack(20000.0f);
    LookAtWorldFromAbove(v, 9000.0f);
    Save(v, "tiled-whole");
    FrameMilliseconds(v, "tiled 60025 whole map in view (back plane 20000)");
}
