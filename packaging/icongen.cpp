// Draws the program's icon for the desktop's hicolor theme:
//   brickhaven_icongen OUTDIR SIZE...   writes OUTDIR/<SIZE>x<SIZE>/apps/org.brickhaven.Tarno.png
#include "app/ToolbarIcons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: brickhaven_icongen OUTDIR SIZE...\n");
        return 2;
    }
    // Pixmaps need a GUI application; no display is needed for drawing into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "brickhaven_icongen: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString path = folder + QStringLiteral("/org.brickhaven.Tarno.png");
        if (!QDir().mkpath(folder) || !ProgramIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "brickhaven_icongen: could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
