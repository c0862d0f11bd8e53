#include "panels/FlagsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSignalBlocker>

FlagsPage::FlagsPage(QWidget* parent) : QWidget(parent) {
    setObjectName("FlagsPage");
    auto* grid = new QGridLayout(this);
    constexpr int kRows = 4;
    for (int i = 0; i < SpawnFlagsState::kFlagCount; ++i) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QString("Flag%1").arg(SpawnFlagsState::Bit(i)));
        grid->addWidget(box, i % kRows, i / kRows);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            m_state.SetChecked(i, on);
            emit edited();
        });
        m_boxes[static_cast<std::size_t>(i)] = box;
    }
    auto* clear = new QPushButton("&Clear Flags", this);
    clear->setObjectName("ClearFlagsButton");
    grid->addWidget(clear, kRows, 0, Qt::AlignLeft);
    grid->setRowStretch(kRows + 1, 1);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_state.ClearAll();
        ShowState();
        emit edited();
    });
}

void FlagsPage::Load(const CEditGameClass& holder) {
    m_state.Load(holder);
    ShowState();
}

void FlagsPage::Relabel(const EntityClassDef* gameClass) {
    m_state.Relabel(gameClass);
    ShowState();
}

void FlagsPage::ShowState() {
    for (int i = 0; i < SpawnFlagsState::kFlagCount; ++i) {
        QCheckBox* box = m_boxes[static_cast<std::size_t>(i)];
        const QSignalBlocker block(box);
        box->setText(QString::fromStdString(m_state.Caption(i)));
        box->setChecked(m_state.Checked(i));
    }
}
