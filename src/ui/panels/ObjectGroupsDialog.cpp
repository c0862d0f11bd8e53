#include "panels/ObjectGroupsDialog.h"

#include "document/MapDoc.h"
#include "editing/VisGroups.h"
#include "mapobjects/MapWorld.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
QColor FromRgb(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
} // namespace

ObjectGroupsDialog::ObjectGroupsDialog(CMapDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_list(new QListWidget(this)), m_name(new QLineEdit(this)),
      m_color(new QPushButton("&Color", this)), m_swatch(new QLabel(this)),
      m_remove(new QPushButton("&Remove", this)) {
    setObjectName("ObjectGroupsDialog");
    setWindowTitle("Object Groups");
    m_list->setObjectName("GroupList");
    m_name->setObjectName("GroupName");
    m_name->setMaxLength(static_cast<int>(VisGroup::kMaxName));
    m_color->setObjectName("ColorButton");
    m_swatch->setObjectName("ColorSwatch");
    m_swatch->setFixedSize(32, 20);
    m_swatch->setAutoFillBackground(true);
    m_swatch->setFrameShape(QFrame::Box);
    m_remove->setObjectName("RemoveButton");
    chooseColor = [this](std::uint32_t rgb) -> std::optional<std::uint32_t> {
        const QColor chosen = QColorDialog::getColor(FromRgb(rgb), this, "Color");
        if (!chosen.isValid()) {
            return std::nullopt;
        }
        return (static_cast<std::uint32_t>(chosen.red()) << 16) |
               (static_cast<std::uint32_t>(chosen.green()) << 8) |
               static_cast<std::uint32_t>(chosen.blue());
    };

    auto* groupsLabel = new QLabel("&Groups:", this);
    groupsLabel->setBuddy(m_list);
    auto* selected = new QGroupBox("Selected group", this);
    auto* nameLabel = new QLabel("&Name:", selected);
    nameLabel->setBuddy(m_name);
    auto* box = new QGridLayout(selected);
    box->addWidget(nameLabel, 0, 0);
    box->addWidget(m_name, 0, 1, 1, 2);
    box->addWidget(m_color, 1, 0);
    box->addWidget(m_swatch, 1, 1, Qt::AlignLeft);
    auto* newGroup = new QPushButton("&New group", this);
    newGroup->setObjectName("NewGroupButton");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("CloseButton");

    auto* grid = new QGridLayout(this);
    grid->addWidget(groupsLabel, 0, 0);
    grid->addWidget(m_list, 1, 0, 4, 1);
    grid->addWidget(selected, 1, 1);
    grid->addWidget(m_remove, 2, 1);
    grid->addWidget(newGroup, 3, 1);
    grid->addWidget(close, 4, 1, Qt::AlignBottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &ObjectGroupsDialog::ShowGroup);
    connect(m_name, &QLineEdit::textEdited, this, &ObjectGroupsDialog::OnName);
    connect(m_color, &QPushButton::clicked, this, &ObjectGroupsDialog::OnColor);
    connect(m_remove, &QPushButton::clicked, this, &ObjectGroupsDialog::OnRemove);
    connect(newGroup, &QPushButton::clicked, this, &ObjectGroupsDialog::OnNewGroup);
    connect(close, &QPushButton::clicked, this, &ObjectGroupsDialog::accept);
    Fill();
}

void ObjectGroupsDialog::Fill() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const VisGroup& group : m_doc.World()->VisGroups()) {
        m_list->addItem(QString::fromStdString(group.name));
    }
    const int first = m_list->count() > 0 ? 0 : -1;
    m_list->setCurrentRow(first);
    ShowGroup(first);
}

void ObjectGroupsDialog::ShowGroup(int index) {
    CMapWorld& world = *m_doc.World();
    const bool valid = index >= 0 && index < world.VisGroupCount();
    for (QWidget* control : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_color),
                             static_cast<QWidget*>(m_remove)}) {
        control->setEnabled(valid);
    }
    const QSignalBlocker block(m_name);
    if (!valid) {
        m_name->clear();
        m_swatch->setPalette(palette());
        return;
    }
    const VisGroup& group = world.VisGroupAt(index);
    m_name->setText(QString::fromStdString(group.name));
    QPalette swatch = m_swatch->palette();
    swatch.setColor(QPalette::Window, FromRgb(group.color));
    m_swatch->setPalette(swatch);
}

void ObjectGroupsDialog::OnName(const QString& text) {
    const int index = m_list->currentRow();
    if (index < 0) {
        return;
    }
    RenameVisGroup(*m_doc.World(), index, text.toStdString());
    m_list->item(index)->setText(QString::fromStdString(m_doc.World()->VisGroupAt(index).name));
}

void ObjectGroupsDialog::OnColor() {
    const int index = m_list->currentRow();
    if (index < 0 || !chooseColor) {
        return;
    }
    if (auto chosen = chooseColor(m_doc.World()->VisGroupAt(index).color)) {
        SetVisGroupColor(*m_doc.World(), index, *chosen);
        m_doc.SetModified();
        ShowGroup(index);
    }
}

void ObjectGroupsDialog::OnNewGroup() {
    const int index = NewVisGroup(*m_doc.World());
    if (index < 0) {
        return; // "Out of group IDs." went to the message window
    }
    m_doc.SetModified();
    {
        const QSignalBlocker block(m_list);
        m_list->addItem(QString::fromStdString(m_doc.World()->VisGroupAt(index).name));
        m_list->setCurrentRow(index);
    }
    ShowGroup(index);
    m_name->setFocus();
    m_name->selectAll();
}

void ObjectGroupsDialog::OnRemove() {
    const int index = m_list->currentRow();
    if (index < 0) {
        return;
    }
    RemoveVisGroup(m_doc, index);
    Fill();
    m_list->setCurrentRow(std::min(index, m_list->count() - 1));
}

void ObjectGroupsDialog::done(int result) {
    CloseObjectGroups(m_doc);
    QDialog::done(result);
}
