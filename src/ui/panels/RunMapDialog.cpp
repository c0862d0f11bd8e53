#include "panels/RunMapDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

RunMapDialog::RunMapDialog(const RunMapSettings& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial), m_noQuake(new QCheckBox("Don't run Quake", this)),
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
        m_groups[tool] = group;
        groups->addWidget(box);
    }
    layout->addLayout(groups);

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
        }
    });
    toolsRow->addWidget(m_toolsDirectory);
    toolsRow->addWidget(browse);
    fields->addRow("Compile tools folder:", toolsRow);
    m_game->setText(QString::fromStdString(initial.game));
    fields->addRow("Game program:", m_game);
    layout->addLayout(fields);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
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
    const QString game = m_game->text().trimmed();
    settings.game = game.isEmpty() ? m_initial.game : game.toStdString();
    return settings;
}
