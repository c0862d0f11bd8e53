#include "panels/FilterControlBar.h"

#include "document/MapDoc.h"
#include "mapobjects/MapWorld.h"
#include "panels/ObjectGroupsDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

FilterControlBar::FilterControlBar(QWidget* parent)
    : QWidget(parent), m_list(new QListWidget(this)), m_toggle(new QPushButton("VisGroups", this)) {
    setObjectName("FilterControlBar");
    m_list->setObjectName("VisGroupChecks");
    m_toggle->setObjectName("FilterToggle");
    m_toggle->setCheckable(true);
    auto* listLabel = new QLabel("VisGroups:", this);
    listLabel->setBuddy(m_list);
    auto* edit = new QPushButton("Edit groups", this);
    edit->setObjectName("EditGroupsButton");
    auto* apply = new QPushButton("Apply", this);
    apply->setObjectName("ApplyButton");

    auto* grid = new QGridLayout(this);
    grid->addWidget(listLabel, 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->addWidget(edit, 2, 0, 1, 2);
    grid->addWidget(new QLabel("Filter by:", this), 3, 0);
    grid->addWidget(m_toggle, 3, 1);
    grid->addWidget(apply, 4, 0, 1, 2);
    grid->setRowStretch(1, 1);

    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_state.SetChecked(m_list->row(item), item->checkState() == Qt::Checked);
    });
    connect(m_toggle, &QPushButton::clicked, this, [this] {
        m_state.ToggleVisGroups();
        m_toggle->setChecked(m_state.FilterByVisGroups());
    });
    connect(edit, &QPushButton::clicked, this, &FilterControlBar::EditGroups);
    connect(apply, &QPushButton::clicked, this, &FilterControlBar::Apply);
    Refill();
}

void FilterControlBar::Refill() {
    CMapDoc* doc = CMapDoc::GetActiveMapDoc();
    const CMapWorld* world = doc ? doc->World() : nullptr;
    m_state.Refill(world);
    const QSignalBlocker block(m_list);
    m_list->clear();
    if (world) {
        for (int i = 0; i < world->VisGroupCount(); ++i) {
            auto* item = new QListWidgetItem(
                QString::fromStdString(world->VisGroups()[static_cast<std::size_t>(i)].name),
                m_list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(m_state.Checked(i) ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_toggle->setChecked(m_state.FilterByVisGroups());
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setEnabled(world != nullptr);
    }
}

void FilterControlBar::Apply() {
    if (CMapDoc* doc = CMapDoc::GetActiveMapDoc()) {
        m_state.Apply(*doc);
    }
}

void FilterControlBar::EditGroups() {
    CMapDoc* doc = CMapDoc::GetActiveMapDoc();
    if (!doc) {
        return;
    }
    ObjectGroupsDialog dialog(*doc, window());
    dialog.exec();
    Refill();
}

void FilterControlBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refill();
}
