#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QToolButton;

// The "New Objects" bar: what the Block tool (a primitive with its face count, or a prefab
// library object) and the Entity tool (a point entity class) create. It shows and edits the
// editor's NewObjectBarModel and follows the current tool.
class NewObjectsBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCategoryListId = 1010;
    static constexpr int kObjectListId = 1007;
    static constexpr int kFaceCountId = 1009;
    static constexpr int kUpDownId = 1008;

    explicit NewObjectsBar(QWidget* parent = nullptr);
    ~NewObjectsBar() override;

    QComboBox* CategoryList() const { return m_categories; }
    QComboBox* ObjectList() const { return m_objects; }
    QLineEdit* FaceCountEdit() const { return m_faceCount; }
    // Refills the controls from the model (lists, choice, face count and enabled states).
    void Refresh();
    // Enables the controls for whether a document is open.
    void UpdateEnabledStates();

private:
    void StepFaceCount(int direction);

    QComboBox* m_categories;
    QComboBox* m_objects;
    QLineEdit* m_faceCount;
    QToolButton* m_up;
    QToolButton* m_down;
    bool m_refreshing = false;
};
