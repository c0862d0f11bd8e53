// Whole repaints of the main window as a designer sees it: E1M1 open in a maximised child
// frame of a 1600 x 1000 window, three 2D views and the 3D view. Needs a display with OpenGL:
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bench/bench_MainWindowBench
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "session/EditorContext.h"
#include "views/MapView2D.h"
#include "views/MapView3D.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setVersion(3, 3);
        format.setProfile(QSurfaceFormat::CoreProfile);
        format.setDepthBufferSize(24);
        QSurfaceFormat::setDefaultFormat(format);
        return new QApplication(argc, argv);
    }();
    return *app;
}

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct Window {
    ScopedEditorContext scoped;
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;
    std::unique_ptr<CMainFrame> main;
    CChildFrame* child = nullptr;

    explicit Window(const std::string& map) {
        Application();
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        scoped.Context().SetSettings(settings.get());
        main = std::make_unique<CMainFrame>(*settings);
        main->resize(1600, 1000);
        main->show();
        child = main->OpenMapFile(QString::fromStdString(map));
        if (child) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
                sub->showMaximized();
            }
        }
        // Let the first frames, the textures and the deferred start settle.
        for (int i = 0; i < 100 && child && !(child->View3D() && child->View3D()->IsReady()); ++i) {
            Wait(50);
        }
        Wait(500);
    }
    ~Window() {
        main.reset();
        scoped.Context().SetSettings(nullptr);
    }
};

std::string E1M1() {
    return std::string(BRICKHAVEN_CORPUS_DIR) + "/maps/E1M1-edited-ents.map";
}

// Every widget of the window painted and put on the screen, and the 3D view drawing a frame.
void BM_RepaintMainWindowWithE1M1(benchmark::State& state) {
    if (!std::filesystem::exists(E1M1())) {
        state.SkipWithError("the corpus is missing");
        return;
    }
    Window window(E1M1());
    if (!window.child || !window.child->View3D()) {
        state.SkipWithError("E1M1 did not open");
        return;
    }
    CMapView3D& view3D = *window.child->View3D();
    view3D.SetMeasureFrames(true);
    for (auto _ : state) {
        window.main->repaint();
        view3D.RenderFrameNow();
        QApplication::sync();
    }
    state.counters["3D frame ms"] = view3D.LastFrameMilliseconds();
}
BENCHMARK(BM_RepaintMainWindowWithE1M1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One 2D view repainted in that window, as while dragging.
void BM_RepaintOne2DViewInTheWindow(benchmark::State& state) {
    if (!std::filesystem::exists(E1M1())) {
        state.SkipWithError("the corpus is missing");
        return;
    }
    Window window(E1M1());
    if (!window.child || window.child->Views2D().empty()) {
        state.SkipWithError("E1M1 did not open");
        return;
    }
    CMapView2D& view = *window.child->Views2D().front();
    for (auto _ : state) {
        view.viewport()->repaint();
        QApplication::sync();
    }
}
BENCHMARK(BM_RepaintOne2DViewInTheWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
