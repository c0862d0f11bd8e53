#include "panels/ProblemCheckDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProblemCheckDialog::ProblemCheckDialog(CMapDoc& doc, QWidget* parent)
    : QDialog(parent), m_check(doc), m_list(new QListWidget(this)),
      m_description(new QPlainTextEdit(this)), m_goTo(new QPushButton("&Go to the error", this)) {
    setWindowTitle("Check map for problems");
    setObjectName("ProblemCheckDialog");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("&Problems:", this);
    label->setBuddy(m_list);
    m_list->setObjectName("Problems");
    layout->addWidget(label);
    layout->addWidget(m_list, 1);

    auto* descriptionBox = new QGroupBox("Description", this);
    auto* descriptionLayout = new QVBoxLayout(descriptionBox);
    m_description->setObjectName("Description");
    m_description->setReadOnly(true);
    m_description->setMaximumHeight(90);
    descriptionLayout->addWidget(m_description);
    layout->addWidget(descriptionBox);

    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton("&Close", this);
    m_goTo->setObjectName("GoToError");
    m_goTo->setEnabled(false);
    buttons->addWidget(m_goTo);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(420, 320);

    connect(m_list, &QListWidget::currentRowChanged, this, &ProblemCheckDialog::OnEntryChosen);
    connect(m_goTo, &QPushButton::clicked, this,
            [this] { m_check.GoToError(m_list->currentRow()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

bool ProblemCheckDialog::RunChecks() {
    m_list->clear();
    m_description->clear();
    m_goTo->setEnabled(false);
    if (!m_check.Run()) {
        return false;
    }
    for (const Problem& problem : m_check.Problems()) {
        m_list->addItem(QString::fromUtf8(ProblemShortText(problem.code)));
    }
    return true;
}

void ProblemCheckDialog::OnEntryChosen(int row) {
    if (row < 0) {
        return;
    }
    m_description->setPlainText(QString::fromStdString(m_check.SelectEntry(row)));
    m_goTo->setEnabled(m_check.CanGoTo(row));
}

void ProblemCheckDialog::CheckDocument(CMapDoc& doc, QWidget* parent) {
    ProblemCheckDialog dialog(doc, parent);
    if (dialog.RunChecks()) {
        dialog.exec();
    }
}
