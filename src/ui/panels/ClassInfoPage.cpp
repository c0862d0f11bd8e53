#include "panels/ClassInfoPage.h"

#include "gamedata/ClassVariable.h"
#include "mapobjects/EditGameClass.h"
#include "panels/AngleDial.h"
#include "panels/NewKeyValueDialog.h"
#include "properties/ChoiceText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The key column of the keyvalue list (65 dialog units).
constexpr int kKeyColumnWidth = 130;
constexpr int kMaxDescriptionWidth = 240;
constexpr int kChoicesDropWidth = 150;
const int kMaxValueLength = static_cast<int>(CEditGameClass::kMaxValue);

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

ClassInfoPage::ClassInfoPage(QWidget* parent)
    : QWidget(parent), m_class(new QComboBox(this)), m_listLabel(new QLabel("Keyvalues:", this)),
      m_list(new QTreeWidget(this)), m_delete(new QPushButton("delete", this)),
      m_add(new QPushButton("add", this)), m_keyLabel(new QLabel("&Key:", this)),
      m_key(new QLineEdit(this)), m_valueLabel(new QLabel("&Value:", this)),
      m_value(new QLineEdit(this)), m_angle(new QComboBox(this)), m_dial(new AngleDial(this)),
      m_smartEdit(new QPushButton("&SmartEdit", this)), m_notice(new QLabel(this)),
      m_editorColumn(new QVBoxLayout) {
    setObjectName("ClassInfoPage");
    m_class->setObjectName("ClassCombo");
    m_class->setEditable(true);
    m_class->setInsertPolicy(QComboBox::NoInsert);
    m_list->setObjectName("KeyValueList");
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setColumnWidth(0, kKeyColumnWidth);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delete->setObjectName("DeleteButton");
    m_add->setObjectName("AddButton");
    m_key->setObjectName("KeyEdit");
    m_value->setObjectName("ValueEdit");
    m_value->setMaxLength(kMaxValueLength);
    m_angle->setObjectName("AngleCombo");
    m_angle->setEditable(true);
    m_angle->setInsertPolicy(QComboBox::NoInsert);
    m_angle->addItems({"Up", "Down"});
    m_smartEdit->setObjectName("SmartEditButton");
    m_smartEdit->setCheckable(true);
    m_smartEdit->setChecked(true);
    // A pressed toggle must read as pressed in every style: it takes the selection colours.
    m_smartEdit->setStyleSheet(
        "QPushButton { padding: 3px 10px; border: 1px solid palette(mid); border-radius: 3px;"
        " background: palette(button); color: palette(button-text); }"
        "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
        " border-color: palette(shadow); }"
        "QPushButton:disabled { color: palette(mid); }");
    m_smartEdit->setToolTip("SmartEdit: edit the attributes of the class (on) or the raw "
                            "keyvalues (off)");
    m_notice->setObjectName("KeyNotice");
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet("color: #b00000");
    m_notice->hide();
    m_keyLabel->setBuddy(m_key);
    m_valueLabel->setBuddy(m_value);

    auto* classLabel = new QLabel("&Class:", this);
    classLabel->setBuddy(m_class);
    auto* angleLabel = new QLabel("&Angle:", this);
    angleLabel->setBuddy(m_angle);

    auto* grid = new QGridLayout(this);
    grid->addWidget(classLabel, 0, 0);
    grid->addWidget(m_class, 0, 1, 1, 2);
    grid->addWidget(m_smartEdit, 0, 3);
    grid->addWidget(m_listLabel, 1, 0, 1, 4);
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(10);
    listRow->addWidget(m_list, 4);
    m_editorColumn->addStretch(1);
    listRow->addLayout(m_editorColumn, 3);
    grid->addLayout(listRow, 2, 0, 1, 4);
    grid->addWidget(m_delete, 3, 0);
    grid->addWidget(m_keyLabel, 3, 1);
    grid->addWidget(m_key, 3, 2, 1, 2);
    grid->addWidget(m_add, 4, 0);
    grid->addWidget(m_valueLabel, 4, 1);
    grid->addWidget(m_value, 4, 2, 1, 2);
    grid->addWidget(m_notice, 5, 0, 1, 4);
    grid->addWidget(angleLabel, 6, 0);
    grid->addWidget(m_angle, 6, 1, 1, 2);
    grid->addWidget(m_dial, 6, 3, Qt::AlignLeft);
    grid->setRowStretch(2, 1);

    connect(m_class, &QComboBox::editTextChanged, this, &ClassInfoPage::OnClassText);
    connect(m_smartEdit, &QPushButton::toggled, this, &ClassInfoPage::OnSmartEditToggled);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &ClassInfoPage::OnRowSelected);
    connect(m_value, &QLineEdit::textEdited, this, &ClassInfoPage::OnValueEdited);
    connect(m_add, &QPushButton::clicked, this, &ClassInfoPage::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &ClassInfoPage::OnDelete);
    connect(m_angle, &QComboBox::editTextChanged, this, &ClassInfoPage::OnAngleText);
    connect(m_dial, &AngleDial::angleDragged, this, [this](int angle) {
        if (!m_showing) {
            m_dial->SetAngle(angle);
        }
    });
    connect(m_dial, &AngleDial::angleChosen, this, &ClassInfoPage::OnDialChosen);
}

void ClassInfoPage::Load(const CEditGameClass& holder, const GameDataSet* gameData) {
    m_state.Load(holder, gameData);
    ShowState();
}

void ClassInfoPage::ShowState() {
    m_showing = true;
    {
        const QSignalBlocker blockClass(m_class);
        m_class->clear();
        for (const std::string& name : m_state.ClassChoices()) {
            m_class->addItem(Q(name));
        }
        m_class->setEditText(Q(m_state.ClassText()));
        m_class->setEnabled(m_state.ClassEditable());
    }
    {
        const QSignalBlocker blockAngle(m_angle);
        m_angle->setEditText(Q(m_state.AngleText()));
    }
    m_dial->SetAngle(m_state.DialAngle());
    m_notice->hide();
    ShowRows();
    m_showing = false;
}

void ClassInfoPage::ShowModeControls() {
    const bool smart = m_state.SmartEdit();
    m_listLabel->setText(smart ? "Attributes:" : "Keyvalues:");
    for (QWidget* widget :
         {static_cast<QWidget*>(m_delete), static_cast<QWidget*>(m_add),
          static_cast<QWidget*>(m_key), static_cast<QWidget*>(m_value),
          static_cast<QWidget*>(m_keyLabel), static_cast<QWidget*>(m_valueLabel)}) {
        widget->setVisible(!smart);
    }
    const QSignalBlocker block(m_smartEdit);
    m_smartEdit->setEnabled(m_state.SmartEditAvailable());
    m_smartEdit->setChecked(smart);
}

void ClassInfoPage::ShowRows() {
    ShowValueEditor(-1);
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
        const bool smart = m_state.SmartEdit();
        for (int row = 0; row < m_state.RowCount(); ++row) {
            QStringList columns;
            if (smart) {
                columns << Q(m_state.Rows()[static_cast<std::size_t>(row)].text)
                        << Q(m_state.RowValue(row));
            } else {
                auto [key, value] = m_state.RowKeyValue(row);
                columns << Q(key) << Q(value);
            }
            m_list->addTopLevelItem(new QTreeWidgetItem(columns));
        }
        // Variable descriptions are longer than keys: that column fits its text.
        if (smart) {
            m_list->resizeColumnToContents(0);
            m_list->setColumnWidth(0, std::min(m_list->columnWidth(0), kMaxDescriptionWidth));
        } else {
            m_list->setColumnWidth(0, kKeyColumnWidth);
        }
    }
    ShowModeControls();
    {
        const QSignalBlocker blockKey(m_key);
        const QSignalBlocker blockValue(m_value);
        m_key->clear();
        m_value->clear();
    }
}

int ClassInfoPage::CurrentRow() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void ClassInfoPage::SelectRow(int row) {
    if (QTreeWidgetItem* item = row >= 0 ? m_list->topLevelItem(row) : nullptr) {
        m_list->setCurrentItem(item);
    } else {
        m_list->clearSelection();
        OnRowSelected();
    }
}

void ClassInfoPage::OnClassText(const QString& text) {
    if (m_showing) {
        return;
    }
    m_state.SetClassText(text.toStdString());
    ShowRows();
    emit classChanged();
    emit edited();
}

void ClassInfoPage::OnSmartEditToggled(bool on) {
    // Only the way the keyvalues are shown changes: nothing is written for it.
    m_state.SetSmartEditPreferred(on);
    ShowRows();
}

void ClassInfoPage::ShowAngleRow() {
    if (QTreeWidgetItem* item = m_list->topLevelItem(m_state.AngleRow())) {
        item->setText(1, Q(m_state.AngleText()));
    }
}

void ClassInfoPage::OnRowSelected() {
    const int row = CurrentRow();
    if (m_state.SmartEdit()) {
        ShowValueEditor(row);
        return;
    }
    const QSignalBlocker blockKey(m_key);
    const QSignalBlocker blockValue(m_value);
    auto [key, value] = m_state.RowKeyValue(row);
    m_key->setText(Q(key));
    m_value->setText(Q(value));
    m_notice->hide();
}

void ClassInfoPage::ShowNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

void ClassInfoPage::OnValueEdited() {
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    if (auto error = m_state.SetRowKeyValue(row, m_key->text().toStdString(),
                                            m_value->text().toStdString())) {
        ShowNotice(Q(*error) + " The change was not stored.");
        return;
    }
    ShowNotice({});
    auto [key, value] = m_state.RowKeyValue(row);
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    item->setText(0, Q(key));
    item->setText(1, Q(value));
    emit edited();
}

void ClassInfoPage::OnAdd() {
    NewKeyValueDialog dialog(Q(m_state.NextNewKey()), "value", this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const ClassInfoState::AddResult added =
        m_state.AddKeyValue(dialog.Key().toStdString(), dialog.Value().toStdString());
    if (added.row < 0) {
        ShowNotice(Q(added.error));
        return;
    }
    auto [key, value] = m_state.RowKeyValue(added.row);
    m_list->addTopLevelItem(new QTreeWidgetItem(QStringList{Q(key), Q(value)}));
    SelectRow(added.row);
    emit edited();
}

void ClassInfoPage::OnDelete() {
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    const int next = m_state.DeleteRow(row);
    {
        const QSignalBlocker block(m_list);
        delete m_list->takeTopLevelItem(row);
        m_list->clearSelection();
    }
    SelectRow(next);
    emit edited();
}

void ClassInfoPage::ShowValueEditor(int row) {
    if (m_editor) {
        m_editor->deleteLater();
        m_editor->hide();
        m_editor = nullptr;
    }
    const ClassVariable* variable = m_state.SmartEdit() ? m_state.RowVariable(row) : nullptr;
    if (!variable) {
        return;
    }
    const std::string value = m_state.RowValue(row);
    auto showValue = [this, row] {
        if (QTreeWidgetItem* item = m_list->topLevelItem(row)) {
            item->setText(1, Q(m_state.RowValue(row)));
        }
    };
    switch (variable->type) {
    case VariableType::TargetDestination:
    case VariableType::TargetSource:
    case VariableType::Integer:
    case VariableType::String: {
        auto* edit = new QLineEdit(Q(value), this);
        edit->setObjectName("ValueEditor");
        edit->setMaxLength(kMaxValueLength);
        connect(edit, &QLineEdit::textEdited, this, [this, row, showValue](const QString& text) {
            m_state.SetRowValue(row, text.toStdString());
            showValue();
            emit edited();
        });
        m_editor = edit;
        break;
    }
    case VariableType::Choices: {
        auto* combo = new QComboBox(this);
        combo->setObjectName("ChoiceEditor");
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const VariableChoice& item : variable->items) {
            combo->addItem(Q(item.caption));
        }
        combo->view()->setMinimumWidth(kChoicesDropWidth);
        const ChoiceDisplay shown = ChoiceDisplayForValue(*variable, value);
        if (shown.index >= 0) {
            combo->setCurrentIndex(shown.index);
        } else {
            combo->setCurrentIndex(-1);
            combo->setEditText(Q(shown.text));
        }
        connect(combo, &QComboBox::editTextChanged, this,
                [this, row, variable, showValue](const QString& text) {
                    m_state.SetRowValue(row, ChoiceValueForText(*variable, text.toStdString()));
                    showValue();
                    emit edited();
                });
        m_editor = combo;
        break;
    }
    case VariableType::Angle:
    case VariableType::Flags:
        return;
    }
    m_editorColumn->insertWidget(0, m_editor);
    setTabOrder(m_list, m_editor);
    m_editor->show();
}

void ClassInfoPage::OnAngleText(const QString& text) {
    m_state.SetAngleText(text.toStdString());
    m_dial->SetAngle(m_state.DialAngle());
    ShowAngleRow();
    emit edited();
}

void ClassInfoPage::OnDialChosen(int angle) {
    m_state.SetDialAngle(angle);
    {
        const QSignalBlocker block(m_angle);
        m_angle->setEditText(Q(m_state.AngleText()));
    }
    ShowAngleRow();
    emit edited();
}
