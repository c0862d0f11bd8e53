#pragma once

#include "properties/ClassInfoState.h"

#include <QWidget>

class AngleDial;
class GameDataSet;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// "Class Info": the class, angle and keyvalues of an entity or the world, in keyvalue mode
// or SmartEdit mode (one row per variable of the class, with an editor for the selected row).
class ClassInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit ClassInfoPage(QWidget* parent = nullptr);

    void Load(const CEditGameClass& holder, const GameDataSet* gameData);
    const ClassInfoState& State() const { return m_state; }

    // The editor of the selected SmartEdit row (a line edit or a combo box), or null.
    QWidget* ValueEditor() const { return m_editor; }

signals:
    // The user changed something that is written on the next apply.
    void edited();
    // The class text changed (the Flags page relabels its boxes).
    void classChanged();

private:
    void OnClassText(const QString& text);
    void OnSmartEditToggled(bool on);
    void OnRowSelected();
    void OnValueEdited();
    void OnAdd();
    void OnDelete();
    void OnAngleText(const QString& text);
    void OnDialChosen(int angle);
    // The SmartEdit row of the angle shows the combo's text.
    void ShowAngleRow();
    void ShowState();
    void ShowRows();
    void ShowModeControls();
    void ShowValueEditor(int row);
    void SelectRow(int row);
    void ShowNotice(const QString& text);
    int CurrentRow() const;

    ClassInfoState m_state;
    QComboBox* m_class;
    QLabel* m_listLabel;
    QTreeWidget* m_list;
    QPushButton* m_delete;
    QPushButton* m_add;
    QLabel* m_keyLabel;
    QLineEdit* m_key;
    QLabel* m_valueLabel;
    QLineEdit* m_value;
    QComboBox* m_angle;
    AngleDial* m_dial;
    QPushButton* m_smartEdit;
    QLabel* m_notice;
    QVBoxLayout* m_editorColumn;
    QWidget* m_editor = nullptr;
    bool m_showing = false;
};
