#include "app/BatchCommands.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    // Batch options run without a window or a display: no QApplication on that path.
    if (auto exitCode = RunBatchCommand(argc, argv)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Tarno");
    window.setCentralWidget(new QLabel("Brickhaven"));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
