#pragma once

#include "document/EditorSinks.h"
#include "panels/TextureBar.h"

#include <QTimer>

class FaceSpinField;
class QLineEdit;

// The "Face Properties" bar: the texture bar's texture choice plus the alignment of the faces
// selected in texture application mode. Fields are blank where the faces disagree; Apply
// writes every field that is not blank (and the chosen texture) into the faces in one undo
// step; Revert loads the fields from the faces again.
class FacePropertiesBar : public TextureBar, public FacePropertiesSink {
    Q_OBJECT
public:
    explicit FacePropertiesBar(TextureManager& textures, QWidget* parent = nullptr);
    ~FacePropertiesBar() override;

    void SetFaces(const std::vector<CMapFace*>& faces,
                  const std::vector<CMapSolid*>& owners) override;
    // Loads the fields from the active document's selected faces.
    void Revert();
    // Writes the fields into the active document's selected faces.
    void Apply();

    QLineEdit* ScaleX() const { return m_scaleX; }
    QLineEdit* ScaleY() const { return m_scaleY; }
    FaceSpinField* ShiftX() const { return m_shiftX; }
    FaceSpinField* ShiftY() const { return m_shiftY; }
    FaceSpinField* Rotation() const { return m_rotation; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* RevertButton() const { return m_revert; }

private:
    void Load(const std::vector<CMapFace*>& faces);
    void UpdateButtons();

    QLineEdit* m_scaleX;
    QLineEdit* m_scaleY;
    FaceSpinField* m_shiftX;
    FaceSpinField* m_shiftY;
    FaceSpinField* m_rotation;
    QPushButton* m_revert;
    QPushButton* m_apply;
    QTimer m_buttonStates;
};
