#include "app/ToolbarIcons.h"

#include "app/CommandIds.h"
#include "tools/ToolIcon.h"
#include "tools/ToolRegistry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

constexpr int kIconSize = 24;
const QColor kInk(40, 40, 48);
const QColor kBrick(178, 74, 52);
const QColor kMortar(226, 214, 196);
const QColor kBlue(52, 96, 170);

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1.4));
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

// Paints a tool's own picture.
class PainterIconCanvas : public ToolIconCanvas {
public:
    explicit PainterIconCanvas(QPainter& painter) : m_painter(painter) {}

    void SetPen(IconColor color, float width, bool dashed, bool roundCap) override {
        m_painter.setPen(QPen(ColorOf(color), width, dashed ? Qt::DashLine : Qt::SolidLine,
                              roundCap ? Qt::RoundCap : Qt::SquareCap));
    }
    void SetFill(IconColor color) override { m_painter.setBrush(ColorOf(color)); }
    void NoFill() override { m_painter.setBrush(Qt::NoBrush); }
    void Line(IconPoint from, IconPoint to) override {
        m_painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
    }
    void Polygon(std::initializer_list<IconPoint> points) override {
        QPolygonF polygon;
        for (const IconPoint& p : points) {
            polygon << QPointF(p.x, p.y);
        }
        m_painter.drawPolygon(polygon);
    }
    void Rect(float x, float y, float width, float height, float cornerRadius) override {
        if (cornerRadius > 0.0f) {
            m_painter.drawRoundedRect(QRectF(x, y, width, height), cornerRadius, cornerRadius);
        } else {
            m_painter.drawRect(QRectF(x, y, width, height));
        }
    }
    void Ellipse(float x, float y, float width, float height) override {
        m_painter.drawEllipse(QRectF(x, y, width, height));
    }

private:
    static QColor ColorOf(IconColor color) { return QColor(color.r, color.g, color.b); }
    QPainter& m_painter;
};

QIcon Lettered(const QString& text, const QColor& fill) {
    return Drawn([text, fill](QPainter& p) {
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 2, 2);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 4, 20, 16), Qt::AlignCenter, text);
    });
}

// A cube in a simple oblique view; fill decides wireframe, flat or textured.
QIcon Cube(int style) {
    return Drawn([style](QPainter& p) {
        const QPointF front[] = {{4, 9}, {15, 9}, {15, 20}, {4, 20}};
        const QPointF top[] = {{4, 9}, {9, 4}, {20, 4}, {15, 9}};
        const QPointF side[] = {{15, 9}, {20, 4}, {20, 15}, {15, 20}};
        if (style == 1) {
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(4, 20), QPointF(9, 15));
            p.drawLine(QPointF(9, 15), QPointF(20, 15));
            p.drawLine(QPointF(9, 15), QPointF(9, 4));
        }
        const QColor shades[] = {QColor(150, 160, 175), QColor(205, 212, 222),
                                 QColor(110, 120, 135)};
        const QPointF* faces[] = {front, top, side};
        for (int i = 0; i < 3; ++i) {
            if (style == 2) {
                p.setBrush(shades[i]);
            } else if (style == 3) {
                p.setBrush(i == 0 ? kBrick : (i == 1 ? kBrick.lighter(130) : kBrick.darker(130)));
            } else {
                p.setBrush(Qt::NoBrush);
            }
            p.drawPolygon(faces[i], 4);
        }
        if (style == 3) {
            p.setPen(QPen(kMortar, 1));
            p.drawLine(QPointF(4, 14.5), QPointF(15, 14.5));
            p.drawLine(QPointF(9.5, 9), QPointF(9.5, 14.5));
            p.drawLine(QPointF(7, 14.5), QPointF(7, 20));
            p.drawLine(QPointF(12, 14.5), QPointF(12, 20));
        }
    });
}

QIcon Grid(int sign) {
    return Drawn([sign](QPainter& p) {
        p.setPen(QPen(QColor(120, 120, 120), 1));
        const double step = sign < 0 ? 3.0 : (sign > 0 ? 7.0 : 5.0);
        for (double x = 3; x <= 21; x += step) {
            p.drawLine(QPointF(x, 3), QPointF(x, 21));
            p.drawLine(QPointF(3, x), QPointF(21, x));
        }
        p.setPen(QPen(Qt::black, 1.6));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
    });
}

QIcon Page(int kind) {
    return Drawn([kind](QPainter& p) {
        if (kind == 1) { // open: a folder
            p.setBrush(QColor(240, 200, 90));
            const QPointF folder[] = {{2, 7}, {9, 7}, {11, 9}, {21, 9}, {21, 20}, {2, 20}};
            p.drawPolygon(folder, 6);
            return;
        }
        if (kind == 2) { // save: a disk
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 3, 10, 7));
            p.drawRect(QRectF(6, 13, 12, 8));
            return;
        }
        p.setBrush(Qt::white);
        const QPointF page[] = {{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}};
        p.drawPolygon(page, 5);
        p.drawLine(QPointF(15, 2), QPointF(15, 7));
        p.drawLine(QPointF(15, 7), QPointF(20, 7));
    });
}

QIcon CurvedArrow(bool redo) {
    return Drawn([redo](QPainter& p) {
        p.save();
        if (redo) {
            p.translate(kIconSize, 0);
            p.scale(-1, 1);
        }
        p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(5, 6, 15, 13), 0, 180 * 16);
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        const QPointF head[] = {{1.5, 12}, {8.5, 12}, {5, 17}};
        p.drawPolygon(head, 3);
        p.restore();
    });
}

QIcon Scissors() {
    return Drawn([](QPainter& p) {
        p.drawLine(QPointF(7, 3), QPointF(16, 16));
        p.drawLine(QPointF(17, 3), QPointF(8, 16));
        p.drawEllipse(QRectF(3, 15, 6, 6));
        p.drawEllipse(QRectF(15, 15, 6, 6));
    });
}

QIcon TwoPages(bool clipboard) {
    return Drawn([clipboard](QPainter& p) {
        if (clipboard) {
            p.setBrush(QColor(190, 150, 100));
            p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 8, 10, 12));
            p.setBrush(QColor(120, 120, 120));
            p.drawRect(QRectF(9, 2, 6, 4));
            return;
        }
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 11, 14));
        p.drawRect(QRectF(10, 8, 11, 14));
    });
}

QIcon Boxes(int kind) {
    return Drawn([kind](QPainter& p) {
        p.setBrush(QColor(170, 190, 215));
        switch (kind) {
        case 0: // carve: a box with a bite
        {
            const QPointF shape[] = {{3, 4},   {21, 4}, {21, 20}, {14, 20},
                                     {14, 12}, {9, 12}, {9, 20},  {3, 20}};
            p.drawPolygon(shape, 8);
            break;
        }
        case 1: // hollow: a thick frame
            p.drawRect(QRectF(3, 3, 18, 18));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 7, 10, 10));
            break;
        case 2: // group: two boxes in a frame
        case 3: // ungroup: two boxes apart
            p.drawRect(QRectF(kind == 2 ? 5 : 2, 6, 7, 7));
            p.drawRect(QRectF(kind == 2 ? 12 : 15, 11, 7, 7));
            if (kind == 2) {
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(kInk, 1, Qt::DashLine));
                p.drawRect(QRectF(2.5, 3.5, 19, 17));
            }
            break;
        case 4: // tie to entity: box with a link
            p.drawRect(QRectF(3, 8, 10, 10));
            p.setBrush(QColor(255, 210, 60));
            p.drawEllipse(QRectF(14, 3, 7, 7));
            p.drawLine(QPointF(12, 10), QPointF(15, 8));
            break;
        default: // move to world: a globe
            p.setBrush(QColor(150, 200, 240));
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.drawEllipse(QRectF(8, 3, 8, 18));
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            break;
        }
    });
}

QIcon Eye(bool crossed) {
    return Drawn([crossed](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2, 7, 20, 10));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(9, 9, 6, 6));
        if (crossed) {
            p.setPen(QPen(QColor(200, 30, 30), 2.2));
            p.drawLine(QPointF(4, 20), QPointF(20, 4));
        }
    });
}

QIcon Roller() {
    return Drawn([](QPainter& p) {
        p.setBrush(kBrick);
        p.drawRoundedRect(QRectF(3, 3, 16, 7), 2, 2);
        p.drawLine(QPointF(19, 6), QPointF(21, 6));
        p.drawLine(QPointF(21, 6), QPointF(21, 13));
        p.drawLine(QPointF(21, 13), QPointF(12, 13));
        p.setBrush(kInk);
        p.drawRect(QRectF(10.5, 13, 3, 9));
    });
}

QIcon FaceBrush() {
    return Drawn([](QPainter& p) {
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                p.setBrush((x + y) % 2 ? kBrick : kMortar);
                p.drawRect(QRectF(3 + x * 6, 3 + y * 6, 6, 6));
            }
        }
    });
}

QIcon Warning() {
    return Drawn([](QPainter& p) {
        p.setBrush(QColor(250, 200, 40));
        const QPointF sign[] = {{12, 2}, {22, 21}, {2, 21}};
        p.drawPolygon(sign, 3);
        p.setPen(QPen(kInk, 2.2));
        p.drawLine(QPointF(12, 8), QPointF(12, 14));
        p.drawPoint(QPointF(12, 18));
    });
}

QIcon Play() {
    return Drawn([](QPainter& p) {
        p.setBrush(QColor(60, 160, 70));
        const QPointF triangle[] = {{6, 3}, {20, 12}, {6, 21}};
        p.drawPolygon(triangle, 3);
    });
}

} // namespace

QIcon CommandIcon(int id) {
    using namespace CommandId;
    if (const ToolRegistration* tool = FindToolCommand(id)) {
        if (!tool->drawIcon) {
            return QIcon();
        }
        return Drawn([tool](QPainter& p) {
            PainterIconCanvas canvas(p);
            tool->drawIcon(canvas);
        });
    }
    switch (id) {
    case FileNew:
        return Page(0);
    case FileOpen:
        return Page(1);
    case FileSave:
        return Page(2);
    case Cut:
        return Scissors();
    case Copy:
        return TwoPages(false);
    case Paste:
        return TwoPages(true);
    case Undo:
        return CurvedArrow(false);
    case Redo:
        return CurvedArrow(true);
    case View2DXY:
        return Lettered("XY", kBlue);
    case View2DYZ:
        return Lettered("YZ", kBlue);
    case View2DXZ:
        return Lettered("XZ", kBlue);
    case View3DWireframe:
        return Cube(1);
    case View3DFlat:
        return Cube(2);
    case View3DTextured:
        return Cube(3);
    case ShowGrid:
        return Grid(0);
    case SmallerGrid:
        return Grid(-1);
    case BiggerGrid:
        return Grid(1);
    case TextureApplication:
        return FaceBrush();
    case TextureLock:
        return Drawn([](QPainter& p) {
            // A padlock over a texture tile.
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 2; ++x) {
                    p.setBrush((x + y) % 2 ? kBrick : kMortar);
                    p.drawRect(QRectF(3 + x * 9, 10 + y * 6, 9, 6));
                }
            }
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kInk, 2.0));
            p.drawArc(QRectF(7, 2, 10, 12), 0, 180 * 16);
        });
    case Carve:
        return Boxes(0);
    case MakeHollow:
        return Boxes(1);
    case Group:
        return Boxes(2);
    case Ungroup:
        return Boxes(3);
    case TieToEntity:
        return Boxes(4);
    case MoveToWorld:
        return Boxes(5);
    case HideSelected:
        return Eye(true);
    case ShowHidden:
        return Eye(false);
    case ApplyTexture:
        return Roller();
    case CheckProblems:
        return Warning();
    case RunMap:
        return Play();
    default:
        return QIcon();
    }
}

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / double(kIconSize), size / double(kIconSize));
    p.setPen(QPen(kMortar, 1));
    // Four courses of bricks, every other one shifted by half a brick, clipped to the square.
    p.setClipRect(QRectF(0, 0, kIconSize, kIconSize));
    for (int row = 0; row < 4; ++row) {
        const double offset = row % 2 ? -4.5 : 0;
        for (double x = offset; x < kIconSize; x += 9) {
            p.setBrush(kBrick.darker(100 + 8 * ((row + static_cast<int>(x)) % 3)));
            p.drawRect(QRectF(x, 2 + row * 5, 9, 5));
        }
    }
    p.end();
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    }
    return icon;
}

QPixmap LogoPixmap() {
    QPixmap pixmap(480, 280);
    pixmap.fill(kMortar);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kMortar, 3));
    for (int row = 0; row < 10; ++row) {
        const int offset = row % 2 ? -30 : 0;
        for (int x = offset; x < 480; x += 60) {
            const int shade = (row * 7 + x / 60 * 3) % 5;
            p.setBrush(kBrick.darker(90 + shade * 8));
            p.drawRect(x, row * 28, 60, 28);
        }
    }
    QLinearGradient shadow(0, 150, 0, 280);
    shadow.setColorAt(0, QColor(0, 0, 0, 0));
    shadow.setColorAt(1, QColor(0, 0, 0, 170));
    p.fillRect(pixmap.rect(), shadow);
    QFont title = p.font();
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 248, 235));
    p.drawText(QRect(0, 150, 480, 70), Qt::AlignCenter, "Brickhaven");
    QFont small = p.font();
    small.setPixelSize(15);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(0, 220, 480, 30), Qt::AlignCenter, "Tarno map editor");
    return pixmap;
}
