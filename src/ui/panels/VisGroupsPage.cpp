#include "panels/VisGroupsPage.h"

#include "mapobjects/MapWorld.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
Qt::CheckState ToQt(VisGroupRows::Check check) {
    switch (check) {
    case VisGroupRows::Check::On:
        return Qt::Checked;
    case VisGroupRows::Check::Mixed:
        return Qt::PartiallyChecked;
    case VisGroupRows::Check::Off:
        break;
    }
    return Qt::Unchecked;
}

VisGroupRows::Check FromQt(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return VisGroupRows::Check::On;
    case Qt::PartiallyChecked:
        return VisGroupRows::Check::Mixed;
    case Qt::Unchecked:
        break;
    }
    return VisGroupRows::Check::Off;
}
} // namespace

VisGroupsPage::VisGroupsPage(QWidget* parent) : QWidget(parent), m_list(new QListWidget(this)) {
    setObjectName("VisGroupsPage");
    m_list->setObjectName("MemberList");
    auto* label = new QLabel("Member of Groups:", this);
    label->setBuddy(m_list);
    auto* edit = new QPushButton("&Edit groups", this);
    edit->setObjectName("EditGroupsButton");
    auto* makeDefault = new QPushButton("&Make default", this);
    makeDefault->setObjectName("MakeDefaultButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(makeDefault);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addWidget(m_list, 1);
    column->addLayout(buttons);

    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (row >= 0 && row < m_rows.Count()) {
            m_rows.SetCheck(row, FromQt(item->checkState()));
            emit edited();
        }
    });
    connect(makeDefault, &QPushButton::clicked, this, [this] {
        const int row = m_list->currentRow();
        if (row >= 0) {
            m_rows.SetDefaultRow(row);
            ShowRows();
            emit edited();
        }
    });
    connect(edit, &QPushButton::clicked, this, &VisGroupsPage::editGroupsRequested);
}

void VisGroupsPage::Load(const CMapWorld* world, const std::vector<CMapClass*>& objects) {
    m_names.clear();
    if (world) {
        m_rows.Refill(world->VisGroups());
        for (const VisGroup& group : world->VisGroups()) {
            m_names.push_back(QString::fromStdString(group.name));
        }
    } else {
        m_rows.Refill({});
    }
    m_several = objects.size() > 1;
    m_rows.LoadObjects(objects);
    ShowRows();
}

void VisGroupsPage::ShowRows() {
    const QSignalBlocker block(m_list);
    const int current = m_list->currentRow();
    m_list->clear();
    for (int row = 0; row < m_rows.Count(); ++row) {
        auto* item = new QListWidgetItem(m_names[static_cast<std::size_t>(row)], m_list);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
        if (m_several) {
            flags |= Qt::ItemIsUserTristate;
        }
        item->setFlags(flags);
        item->setCheckState(ToQt(m_rows.CheckAt(row)));
        if (row == m_rows.DefaultRow()) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
    }
    if (current >= 0 && current < m_list->count()) {
        m_list->setCurrentRow(current);
    }
}
