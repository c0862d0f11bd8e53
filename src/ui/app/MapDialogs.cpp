#include "app/MapDialogs.h"

#include "app/ToolbarIcons.h"
#include "mapobjects/MapInformation.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton* AddCloseButton(QDialog* dialog, QBoxLayout* layout, const QString& text) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* close = buttons->addButton(text, QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    return close;
}
} // namespace

MapInformationDialog::MapInformationDialog(const CMapWorld& world, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Map Information");
    const MapInformation counts = CountMapInformation(world);
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const std::pair<const char*, int> rows[] = {{"Solids:", counts.solids},
                                                {"Faces:", counts.faces},
                                                {"PointEntities:", counts.pointEntities},
                                                {"SolidEntities:", counts.solidEntities}};
    for (const auto& [label, value] : rows) {
        auto* number = new QLabel(QString::number(value));
        number->setObjectName(label);
        form->addRow(label, number);
    }
    column->addLayout(form);
    AddCloseButton(this, column, "Close");
}

QString MapInformationDialog::ValueOf(const QString& label) const {
    auto* value = findChild<QLabel*>(label);
    return value ? value->text() : QString();
}

MapErrorsDialog::MapErrorsDialog(const ErrorList& errors, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle("Map Errors");
    resize(520, 320);
    // Messages name the file and explain the fault: they wrap instead of running off the side.
    m_list->setWordWrap(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QVBoxLayout(this);
    for (std::size_t i = 0; i < errors.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(errors[i].message), m_list);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
        item->setData(Qt::UserRole + 1, errors[i].objectId);
    }
    column->addWidget(m_list);
    AddCloseButton(this, column, "&Close");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Brickhaven");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel;
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    row->addWidget(icon);
    row->addWidget(new QLabel("<b>Brickhaven</b><br>Tarno, the map editor, version " +
                              QString(BRICKHAVEN_VERSION_TEXT) +
                              "<br>A level editor for Quake maps."));
    column->addLayout(row);
    AddCloseButton(this, column, "Close");
}
