#include "app/EditorStartup.h"
#include "batch/BatchCommands.h"

#include <QApplication>
#include <QSurfaceFormat>

int main(int argc, char** argv) {
    // Batch options run without a window or a display: no QApplication on that path.
    if (auto exitCode = RunBatchCommand(argc, argv)) {
        return *exitCode;
    }
    // The 3D view draws with OpenGL 3.3 core.
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarno");
    QApplication::setOrganizationName("Brickhaven");
    // Names the desktop entry, so Wayland desktops show the entry's name and icon.
    QGuiApplication::setDesktopFileName("org.brickhaven.Tarno");
    EditorStartup startup(QApplication::arguments());
    if (!startup.Start()) {
        return 1;
    }
    return QApplication::exec();
}
