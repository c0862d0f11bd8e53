#include "panels/RunMapDialog.h"

#include "session/EditorContext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
struct ToolChoices {
    const char* title;
    std::array<const char*, 3> options;
};
constexpr std::array<ToolChoices, 3> kTools{{
    {"Run QBSP", {"No", "Normal", "Entities only"}},
    {"Run LIGHT", {"No", "Normal", "Extra"}},
    {"Run VIS", {"&No", "&Fast", "Fu&ll"}},
}};
} // namespace

RunMapDialog::RunMapDialog(const RunMapSettings& initial, const RunMapPaths& paths, QWidget* parent)
    : QDialog(parent), m_initial(initial), m_gameStatus(new QLabel(this)),
      m_files(new QLabel(this)), m_noQuake(new QCheckBox("Don't run Quake", this)),
      m_visibleOnly(new QCheckBox("Save visible objects only", this)),
      m_parameters(new QLineEdit(this)), m_toolsDirectory(new QLineEdit(this)),
      m_game(new QLineEdit(this)) {
    setWindowTitle("Run Map");
    setObjectName("RunMapDialog");
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    const std::array<int, 3> chosen{initial.qbsp, initial.light, initial.vis};
    for (std::size_t tool = 0; tool < kTools.size(); ++tool) {
        auto* box = new QGroupBox(kTools[tool].title, this);
        auto* boxLayout = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (int mode = 0; mode < 3; ++mode) {
            auto* button =
                new QRadioButton(kTools[tool].options[static_cast<std::size_t>(mode)], box);
            group->addButton(button, mode);
            boxLayout->addWidget(button);
        }
        const int mode = chosen[tool] >= 0 && chosen[tool] <= 2 ? chosen[tool] : 0;
        group->button(mode)->setChecked(true);
        m_wanted[tool] = mode;
        connect(group, &QButtonGroup::idClicked, this,
                [this, tool](int id) { m_wanted[tool] = id; });
        auto* status = new QLabel(box);
        status->setObjectName(QString("ToolStatus%1").arg(tool));
        status->setWordWrap(true);
        status->setTextInteractionFlags(Qt::TextSelectableByMouse);
        boxLayout->addWidget(status);
        m_status[tool] = status;
        m_groups[tool] = group;
        groups->addWidget(box);
    }
    layout->addLayout(groups);
    if (!paths.mapPath.empty()) {
        std::string quake = Editor().options.quakeDirectory;
        while (quake.size() > 1 && quake.back() == '/') {
            quake.pop_back();
        }
        const QString target =
            quake.empty() ? QString("(no Quake folder set: the BSP stays there)")
                          : QString::fromStdString(quake + "/id1/maps/" + paths.mapName + ".bsp");
        m_files->setText(QString("Compiles %1 into %2,\nthen copies the BSP to %3")
                             .arg(QString::fromStdString(paths.mapPath),
                                  QString::fromStdString(paths.bspPath), target));
        m_files->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(m_files);
    } else {
        m_files->hide();
    }

    m_noQuake->setChecked(initial.noQuake);
    layout->addWidget(m_noQuake);
    layout->addWidget(m_visibleOnly);
    auto* fields = new QFormLayout;
    m_parameters->setMaxLength(static_cast<int>(RunMapSettings::kMaxQuakeParms));
    m_parameters->setText(QString::fromStdString(initial.quakeParms));
    fields->addRow("Additional Quake parameters:", m_parameters);

    auto* toolsRow = new QHBoxLayout;
    m_toolsDirectory->setText(QString::fromStdString(initial.toolsDirectory));
    m_toolsDirectory->setPlaceholderText("(PATH)");
    auto* browse = new QPushButton("...", this);
    browse->setFixedWidth(32);
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, "Compile tools folder",
                                                                 m_toolsDirectory->text());
        if (!folder.isEmpty()) {
            m_toolsDirectory->setText(folder);
            RefreshToolStatus();
        }
    });
    toolsRow->addWidget(m_toolsDirectory);
    toolsRow->addWidget(browse);
    fields->addRow("Compile tools folder:", toolsRow);
    m_game->setText(QString::fromStdString(initial.game));
    m_game->setPlaceholderText("(quake in the Quake folder, quakespasm or darkplaces)");
    fields->addRow("Game program:", m_game);
    m_gameStatus->setObjectName("GameStatus");
    m_gameStatus->setWordWrap(true);
    fields->addRow("", m_gameStatus);
    layout->addLayout(fields);
    connect(m_toolsDirectory, &QLineEdit::editingFinished, this, &RunMapDialog::RefreshToolStatus);
    connect(m_game, &QLineEdit::editingFinished, this, &RunMapDialog::RefreshToolStatus);
    RefreshToolStatus();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void RunMapDialog::RefreshToolStatus() {
    const std::string folder = m_toolsDirectory->text().trimmed().toStdString();
    static constexpr std::array<const char*, 3> kNames{"qbsp", "light", "vis"};
    for (std::size_t tool = 0; tool < kNames.size(); ++tool) {
        const std::string found = RunMap::FindTool(kNames[tool], folder);
        QButtonGroup* group = m_groups[tool];
        if (found.empty()) {
            m_status[tool]->setText(
                QString("%1 not found (looked in %2): off")
                    .arg(kNames[tool], QString::fromStdString(RunMap::ToolPlaces(folder))));
            group->button(0)->setChecked(true);
            group->button(1)->setEnabled(false);
            group->button(2)->setEnabled(false);
        } else {
            m_status[tool]->setText(QString("Found: %1").arg(QString::fromStdString(found)));
            if (!group->button(1)->isEnabled()) {
                group->button(1)->setEnabled(true);
                group->button(2)->setEnabled(true);
                group->button(m_wanted[tool])->setChecked(true);
            }
        }
    }
    RunMapSettings settings = m_initial;
    settings.toolsDirectory = folder;
    settings.game = m_game->text().trimmed().toStdString();
    std::string quake = Editor().options.quakeDirectory;
    const std::string game = RunMap::FindGame(settings, quake);
    m_gameStatus->setText(game.empty() ? QString("No game program found: the game will not start.")
                                       : QString("Game: %1").arg(QString::fromStdString(game)));
}

RunMapSettings RunMapDialog::Settings() const {
    RunMapSettings settings = m_initial;
    settings.qbsp = m_groups[0]->checkedId();
    settings.light = m_groups[1]->checkedId();
    settings.vis = m_groups[2]->checkedId();
    settings.noQuake = m_noQuake->isChecked();
    settings.visibleOnly = m_visibleOnly->isChecked();
    settings.quakeParms = m_parameters->text().toStdString();
    settings.toolsDirectory = m_toolsDirectory->text().trimmed().toStdString();
    settings.game = m_game->text().trimmed().toStdString();
    return settings;
}
