#include <QApplication>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

// Widget tests need one QApplication for the whole run. OpenGL tests ask for a 3.3 core
// context before the application exists.
int main(int argc, char** argv) {
#ifdef BRICKHAVEN_GL_TESTS
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
#else
    // Widget tests never need a display (test discovery runs them without the ctest environment).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
