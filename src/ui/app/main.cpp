#include "app/BatchCommands.h"
#include "common/EditorContext.h"
#include "gamedata/GameDataSet.h"
#include "gamedata/GameDataStartup.h"
#include "gamedata/TextureManager.h"

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <string>

namespace {
// Loads the game data and the texture files that ship beside the program.
QString LoadStartupContent() {
    EditorContext& editor = Editor();
    editor.programDirectory = QCoreApplication::applicationDirPath().toStdString();
    const std::string gameData = editor.Settings().GetString("General", "Gamedata", "quake.ymx");
    if (!LoadGameData(gameData)) {
        editor.GetPrompts().Message("An error occured loading the default game data file.",
                                    Prompts::Icon::Error);
    }
    LoadTextureFiles({"textures.wad"});
    return QString("Game data \"%1\": %2 entity classes\n%3 textures")
        .arg(QString::fromStdString(editor.GameData().Name()))
        .arg(editor.GameData().ClassCount())
        .arg(editor.TextureCatalogue().TextureCount());
}
// Until the texture browser exists: every catalogued texture as a thumbnail with its name.
QWidget* TextureOverview() {
    TextureManager& textures = Editor().TextureCatalogue();
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    const int columns = 8;
    const TextureList& all = textures.AllTextures();
    for (int position = 0; position < all.Count(); ++position) {
        QuakeGraphic* texture = textures.TextureAt(all.IndexAt(position));
        auto* cell = new QLabel;
        cell->setAlignment(Qt::AlignCenter);
        if (const TextureImage* image = textures.GetNaturalImage(*texture)) {
            QImage picture(image->rgba.data(), image->width, image->height, image->width * 4,
                           QImage::Format_RGBA8888);
            cell->setPixmap(QPixmap::fromImage(picture.scaled(
                std::min(image->width, 96), std::min(image->height, 96), Qt::KeepAspectRatio)));
        } else {
            cell->setText("No Image");
        }
        cell->setToolTip(QString::fromStdString(texture->name));
        layout->addWidget(cell, (position / columns) * 2, position % columns);
        layout->addWidget(new QLabel(QString("%1 %2x%3")
                                         .arg(QString::fromStdString(texture->name))
                                         .arg(texture->width)
                                         .arg(texture->height)),
                          (position / columns) * 2 + 1, position % columns, Qt::AlignHCenter);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(grid);
    return scroll;
}
} // namespace

int main(int argc, char** argv) {
    // Batch options run without a window or a display: no QApplication on that path.
    if (auto exitCode = RunBatchCommand(argc, argv)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    QString screenshotPath;
    const QStringList arguments = app.arguments();
    const qsizetype screenshotAt = arguments.indexOf("--screenshot");
    if (screenshotAt >= 0 && screenshotAt + 1 < arguments.size()) {
        screenshotPath = arguments[screenshotAt + 1];
    }

    QMainWindow window;
    window.setWindowTitle("Tarno");
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    auto* label = new QLabel("Brickhaven\n" + LoadStartupContent());
    label->setAlignment(Qt::AlignCenter);
    column->addWidget(label);
    column->addWidget(TextureOverview(), 1);
    window.setCentralWidget(central);
    window.resize(1024, 768);
    window.show();
    if (!screenshotPath.isEmpty()) {
        QTimer::singleShot(500, &window, [&window, screenshotPath] {
            window.grab().save(screenshotPath);
            QApplication::quit();
        });
    }
    return app.exec();
}
