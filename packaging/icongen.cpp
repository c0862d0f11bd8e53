// Draws the program's icon and the icons of its two file types for the desktop's hicolor
// theme:
//   brickhaven_icongen OUTDIR SIZE...   writes, for each SIZE,
//     OUTDIR/<SIZE>x<SIZE>/apps/org.brickhaven.Tarno.png
//     OUTDIR/<SIZE>x<SIZE>/mimetypes/text-x-quake-map.png
//     OUTDIR/<SIZE>x<SIZE>/mimetypes/application-x-brickhaven-rmf.png
#include "app/ToolbarIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>

namespace {

// A sheet of paper with a folded corner and the program's icon on it; MAP text gets ruled
// lines under the icon, the editor's own maps a solid band of the icon's colour.
QImage FileTypeIcon(int size, bool text) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal left = s * 0.14;
    const qreal right = s * 0.86;
    const qreal top = s * 0.04;
    const qreal bottom = s * 0.96;
    const qreal fold = s * 0.22;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(90, 90, 90), std::max(1.0, s / 48.0)));
    painter.setBrush(QColor(250, 250, 246));
    painter.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    painter.setBrush(QColor(215, 215, 210));
    painter.drawPath(corner);

    const int iconSize = std::max(1, static_cast<int>(s * 0.5));
    const QPointF iconAt(s * 0.25, s * 0.3);
    if (text) {
        painter.setPen(QPen(QColor(150, 150, 150), std::max(1.0, s / 40.0)));
        for (qreal y = s * 0.82; y < bottom - s * 0.04; y += s * 0.08) {
            painter.drawLine(QPointF(left + s * 0.08, y), QPointF(right - s * 0.08, y));
        }
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(150, 60, 40));
        painter.drawRect(QRectF(left + s * 0.04, s * 0.82, right - left - s * 0.08, s * 0.08));
    }
    painter.drawImage(iconAt, ProgramIconImage(iconSize));
    return image;
}

bool Save(const QImage& image, const QString& folder, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name;
    if (!QDir().mkpath(folder) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "brickhaven_icongen: could not write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

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
        const QString folder = QStringLiteral("%1/%2x%2").arg(root).arg(size);
        if (!Save(ProgramIconImage(size), folder + QStringLiteral("/apps"),
                  QStringLiteral("org.brickhaven.Tarno.png")) ||
            !Save(FileTypeIcon(size, true), folder + QStringLiteral("/mimetypes"),
                  QStringLiteral("text-x-quake-map.png")) ||
            !Save(FileTypeIcon(size, false), folder + QStringLiteral("/mimetypes"),
                  QStringLiteral("application-x-brickhaven-rmf.png"))) {
            return 1;
        }
    }
    return 0;
}
