#include "panels/OptionsSheet.h"

#include "gamedata/Options.h"
#include "session/EditorContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kMinBrightnessTenths = 1;
constexpr int kMaxBrightnessTenths = 50;
constexpr int kMinUndoLevels = 5;
constexpr int kMaxUndoLevels = 999;
constexpr int kMaxAutosaveMinutes = 120;
const char* const kWadFilter = "Texture WAD files (*.wad)";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QCheckBox* Box(const QString& text, bool checked, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}
} // namespace

OptionsSheet::OptionsSheet(Options& options, QWidget* parent)
    : QDialog(parent), m_options(options), m_tabs(new QTabWidget(this)) {
    setObjectName("OptionsSheet");
    setWindowTitle("Configure Brickhaven");
    chooseFolder = [this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
    };
    m_tabs->setObjectName("OptionPages");
    m_tabs->addTab(MakeGeneralPage(), "General");
    m_tabs->addTab(MakeView2DPage(), "2D views");
    m_tabs->addTab(MakeView3DPage(), "3D views");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("OptionButtons");
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

QWidget* OptionsSheet::FolderRow(QLineEdit* field, const QString& title,
                                 const QString& objectName) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    field->setObjectName(objectName);
    auto* browse = new QPushButton("Browse...", row);
    browse->setObjectName(objectName + "Browse");
    layout->addWidget(field, 1);
    layout->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, [this, field, title] {
        const QString chosen = chooseFolder ? chooseFolder(title, field->text()) : QString();
        if (!chosen.isEmpty()) {
            field->setText(chosen);
        }
    });
    return row;
}

QWidget* OptionsSheet::MakeGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName("GeneralPage");
    auto* column = new QVBoxLayout(page);

    auto* directories = new QGroupBox("Directories", page);
    auto* directoryColumn = new QVBoxLayout(directories);
    m_quakeDirectory = new QLineEdit(Q(m_options.quakeDirectory), directories);
    m_mapDirectory = new QLineEdit(Q(m_options.mapDirectory), directories);
    auto* quakeLabel =
        new QLabel("Enter the directory your copy of &QUAKE is located in.", directories);
    quakeLabel->setBuddy(m_quakeDirectory);
    auto* mapLabel =
        new QLabel("Enter the directory you want to store your &map files in.", directories);
    mapLabel->setBuddy(m_mapDirectory);
    directoryColumn->addWidget(quakeLabel);
    directoryColumn->addWidget(FolderRow(
        m_quakeDirectory, "Select the directory where Quake is located.", "QuakeDirectory"));
    directoryColumn->addWidget(mapLabel);
    directoryColumn->addWidget(FolderRow(
        m_mapDirectory, "Select the directory that you store your MAP files in.", "MapDirectory"));
    column->addWidget(directories);

    auto* wads = new QGroupBox("Texture WAD files", page);
    auto* wadGrid = new QGridLayout(wads);
    m_wads = new QListWidget(wads);
    m_wads->setObjectName("WadList");
    for (const std::string& path : m_options.textureFiles) {
        m_wads->addItem(Q(path));
    }
    auto* add = new QPushButton("&Add", wads);
    add->setObjectName("AddWadButton");
    auto* remove = new QPushButton("&Remove", wads);
    remove->setObjectName("RemoveWadButton");
    wadGrid->addWidget(
        new QLabel("Enter the texture WAD files you want to use with Brickhaven.", wads), 0, 0, 1,
        2);
    wadGrid->addWidget(m_wads, 1, 0, 3, 1);
    wadGrid->addWidget(add, 1, 1);
    wadGrid->addWidget(remove, 2, 1);
    wadGrid->setRowStretch(3, 1);
    connect(add, &QPushButton::clicked, this, &OptionsSheet::AddWad);
    connect(remove, &QPushButton::clicked, this, &OptionsSheet::RemoveWad);
    column->addWidget(wads);

    auto* settings = new QGridLayout;
    m_brightness = new QSlider(Qt::Horizontal, page);
    m_brightness->setObjectName("BrightnessSlider");
    m_brightness->setRange(kMinBrightnessTenths, kMaxBrightnessTenths);
    m_brightness->setValue(Options::BrightnessToTenths(m_options.brightness));
    auto* brightnessLabel = new QLabel("&Texture brightness:", page);
    brightnessLabel->setBuddy(m_brightness);
    auto* brightnessRow = new QHBoxLayout;
    brightnessRow->addWidget(new QLabel("darker", page));
    brightnessRow->addWidget(m_brightness, 1);
    brightnessRow->addWidget(new QLabel("brighter", page));
    settings->addWidget(brightnessLabel, 0, 0);
    settings->addLayout(brightnessRow, 0, 1);

    m_undoLevels = new QSpinBox(page);
    m_undoLevels->setObjectName("UndoLevels");
    m_undoLevels->setRange(kMinUndoLevels, kMaxUndoLevels);
    m_undoLevels->setValue(m_options.undoLevels);
    auto* undoLabel = new QLabel("&Undo levels:", page);
    undoLabel->setBuddy(m_undoLevels);
    settings->addWidget(undoLabel, 1, 0);
    settings->addWidget(m_undoLevels, 1, 1, Qt::AlignLeft);

    m_autosaveMinutes = new QSpinBox(page);
    m_autosaveMinutes->setObjectName("AutosaveMinutes");
    m_autosaveMinutes->setRange(0, kMaxAutosaveMinutes);
    m_autosaveMinutes->setSuffix(" min");
    m_autosaveMinutes->setSpecialValueText("off");
    int minutes = (m_options.autosaveInterval + 30) / 60;
    if (m_options.autosaveInterval > 0 && minutes == 0) {
        minutes = 1;
    }
    m_autosaveMinutes->setValue(minutes);
    auto* autosaveLabel = new QLabel("Autosave &every", page);
    autosaveLabel->setBuddy(m_autosaveMinutes);
    settings->addWidget(autosaveLabel, 2, 0);
    settings->addWidget(m_autosaveMinutes, 2, 1, Qt::AlignLeft);
    m_keepBackup = Box("Keep a backup (.bak) when saving over a map", m_options.keepBackup,
                       "KeepBackup", page);
    settings->addWidget(m_keepBackup, 3, 0, 1, 2);
    column->addLayout(settings);
    column->addStretch(1);
    return page;
}

QWidget* OptionsSheet::MakeView2DPage() {
    auto* page = new QWidget;
    page->setObjectName("View2DPage");
    auto* column = new QVBoxLayout(page);
    auto* group = new QGroupBox("Options", page);
    auto* groupColumn = new QVBoxLayout(group);
    m_crosshairs =
        Box("Display a crosshair under the cursor", m_options.crosshairs, "Crosshairs", group);
    m_rotateConstrain =
        Box("Default to 15 degree rotations", m_options.rotateConstrain, "RotateConstrain", group);
    m_scrollbars = Box("Display scrollbars", m_options.scrollbars, "Scrollbars", group);
    m_drawVertices = Box("Draw Vertices", m_options.drawVertices, "DrawVertices", group);
    // Kept in step with the setting but not offered.
    m_groupCarve = Box("Group carved fragments", m_options.groupCarve, "GroupCarve", group);
    m_groupCarve->hide();
    for (QCheckBox* box : {m_crosshairs, m_rotateConstrain, m_scrollbars, m_drawVertices}) {
        groupColumn->addWidget(box);
    }
    m_defaultGrid = new QComboBox(group);
    m_defaultGrid->setObjectName("DefaultGrid");
    m_defaultGrid->setEditable(true);
    m_defaultGrid->addItems({"4", "8", "16", "32", "64", "128", "256"});
    m_defaultGrid->setEditText(QString::number(m_options.defaultGrid));
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(new QLabel("Default grid size:", group));
    gridRow->addWidget(m_defaultGrid);
    gridRow->addStretch(1);
    groupColumn->addLayout(gridRow);
    column->addWidget(group);
    column->addStretch(1);
    return page;
}

QWidget* OptionsSheet::MakeView3DPage() {
    auto* page = new QWidget;
    page->setObjectName("View3DPage");
    auto* column = new QVBoxLayout(page);
    auto* performance = new QGroupBox("Performance", page);
    auto* performanceColumn = new QVBoxLayout(performance);
    m_hardware = Box("Hardware Acceleration", m_options.hardware, "Hardware", performance);
    performanceColumn->addWidget(m_hardware);
    auto* navigation = new QGroupBox("Navigation", page);
    auto* navigationColumn = new QVBoxLayout(navigation);
    m_reverseY = Box("Reverse mouse Y axis", m_options.reverseY, "ReverseY", navigation);
    navigationColumn->addWidget(m_reverseY);
    column->addWidget(performance);
    column->addWidget(navigation);
    column->addStretch(1);
    return page;
}

void OptionsSheet::AddWad() {
    auto path = Editor().GetPrompts().OpenFileName("Open", kWadFilter);
    if (path && !path->empty()) {
        // Linux file names are case-sensitive: the path is kept exactly as chosen.
        m_wads->addItem(Q(*path));
    }
}

void OptionsSheet::RemoveWad() {
    const int row = m_wads->currentRow();
    if (row >= 0) {
        delete m_wads->takeItem(row);
        m_removedWad = true;
    }
}

void OptionsSheet::accept() {
    // General
    m_options.quakeDirectory = m_quakeDirectory->text().toStdString();
    m_options.mapDirectory = m_mapDirectory->text().toStdString();
    m_options.brightness = static_cast<float>(m_brightness->value()) * 0.1f;
    m_options.undoLevels = m_undoLevels->value();
    m_options.autosaveInterval = m_autosaveMinutes->value() * 60;
    m_options.keepBackup = m_keepBackup->isChecked();
    m_options.textureFiles.clear();
    for (int row = 0; row < m_wads->count(); ++row) {
        m_options.textureFiles.push_back(m_wads->item(row)->text().toStdString());
    }
    m_options.Apply(Options::kApplyTextures | Options::kApplyBrightness);
    if (m_removedWad) {
        Editor().GetPrompts().Message(kQuickNote, Prompts::Icon::Information, "A Quick Note");
        m_removedWad = false;
    }
    // 2D views
    m_options.crosshairs = m_crosshairs->isChecked();
    m_options.rotateConstrain = m_rotateConstrain->isChecked();
    m_options.scrollbars = m_scrollbars->isChecked();
    m_options.drawVertices = m_drawVertices->isChecked();
    m_options.groupCarve = m_groupCarve->isChecked();
    bool isNumber = false;
    const int grid = m_defaultGrid->currentText().trimmed().toInt(&isNumber, 10);
    if (isNumber && grid > 0) {
        m_options.defaultGrid = grid;
    }
    m_options.Apply(Options::kApplyViews);
    // 3D views
    m_options.hardware = m_hardware->isChecked();
    m_options.reverseY = m_reverseY->isChecked();
    QDialog::accept();
}
