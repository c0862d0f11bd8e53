#include "panels/FacePropertiesBar.h"

#include "document/MapDoc.h"
#include "editing/FacePropertyValues.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureManager.h"
#include "panels/FaceSpinField.h"
#include "session/EditorContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
void SetFieldText(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
    }
}

QString FieldText(float value) {
    return QString::fromStdString(FacePropertyValues::FieldText(value));
}

float FieldValue(const QString& text) {
    return FacePropertyValues::FieldValue(text.toStdString());
}
} // namespace

FacePropertiesBar::FacePropertiesBar(TextureManager& textures, QWidget* parent)
    : TextureBar(textures, "&Browse...", parent), m_scaleX(new QLineEdit(this)),
      m_scaleY(new QLineEdit(this)),
      m_shiftX(new FaceSpinField(-FacePropertyValues::kShiftLimit, FacePropertyValues::kShiftLimit,
                                 this)),
      m_shiftY(new FaceSpinField(-FacePropertyValues::kShiftLimit, FacePropertyValues::kShiftLimit,
                                 this)),
      m_rotation(new FaceSpinField(0, FacePropertyValues::kRotationLimit, this)),
      m_revert(new QPushButton("&Revert", this)), m_apply(new QPushButton("&Apply", this)) {
    m_scaleX->setObjectName("ScaleX");
    m_scaleY->setObjectName("ScaleY");
    m_shiftX->setObjectName("ShiftX");
    m_shiftY->setObjectName("ShiftY");
    m_rotation->setObjectName("Rotation");
    m_revert->setObjectName("Revert");
    m_apply->setObjectName("Apply");

    QGridLayout* grid = Grid();
    int row = NextRow();
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Scale:", this), 0, 0);
    fields->addWidget(new QLabel("X:", this), 0, 1);
    fields->addWidget(m_scaleX, 0, 2);
    fields->addWidget(new QLabel("Y:", this), 0, 3);
    fields->addWidget(m_scaleY, 0, 4);
    fields->addWidget(new QLabel("Shift:", this), 1, 0);
    fields->addWidget(new QLabel("X:", this), 1, 1);
    fields->addWidget(m_shiftX, 1, 2);
    fields->addWidget(new QLabel("Y:", this), 1, 3);
    fields->addWidget(m_shiftY, 1, 4);
    fields->addWidget(new QLabel("Rotation:", this), 2, 0, 1, 2);
    fields->addWidget(m_rotation, 2, 2);
    grid->addLayout(fields, row++, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_revert);
    buttons->addWidget(m_apply);
    grid->addLayout(buttons, row, 0, 1, 2);

    connect(m_apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(m_revert, &QPushButton::clicked, this, [this] { Revert(); });
    for (FaceSpinField* spin : {m_shiftX, m_shiftY, m_rotation}) {
        connect(spin, &FaceSpinField::stepped, this, [this] { Apply(); });
    }
    Editor().faceProperties = this;
    m_buttonStates.setInterval(250);
    connect(&m_buttonStates, &QTimer::timeout, this, [this] { UpdateButtons(); });
    m_buttonStates.start();
    UpdateButtons();
    Load({});
}

FacePropertiesBar::~FacePropertiesBar() {
    if (Editor().faceProperties == this) {
        Editor().faceProperties = nullptr;
    }
}

void FacePropertiesBar::UpdateButtons() {
    const bool active = CMapDoc::GetActiveMapDoc() != nullptr;
    m_apply->setEnabled(active);
    m_revert->setEnabled(active);
}

void FacePropertiesBar::SetFaces(const std::vector<CMapFace*>& faces,
                                 const std::vector<CMapSolid*>&) {
    Load(faces);
}

void FacePropertiesBar::Revert() {
    if (CMapDoc* document = CMapDoc::GetActiveMapDoc()) {
        Load(document->SelectedFaces());
    }
}

void FacePropertiesBar::Load(const std::vector<CMapFace*>& faces) {
    const FacePropertyValues values = FacePropertyValues::Merge(faces);
    SetFieldText(m_scaleX, FieldText(values.scaleX));
    SetFieldText(m_scaleY, FieldText(values.scaleY));
    m_shiftX->SetText(FieldText(values.shiftX));
    m_shiftY->SetText(FieldText(values.shiftY));
    m_rotation->SetText(FieldText(values.rotation));
    QuakeGraphic* texture =
        values.texture.empty() ? nullptr : Textures().FindTexture(values.texture, true);
    if (!texture) {
        // Faces of different textures (or one this editor has no picture of): nothing shows.
        const QSignalBlocker block(TextureBox());
        TextureBox()->setCurrentIndex(-1);
        ShowTexture(nullptr);
        return;
    }
    // A texture outside the group heads the recently used entries, so it can be selected.
    if (!SelectByName(QString::fromStdString(texture->name))) {
        SetCurrentTexture(texture);
        ChooseItem(0);
    }
}

void FacePropertiesBar::Apply() {
    CMapDoc* document = CMapDoc::GetActiveMapDoc();
    if (!document || document->SelectedFaces().empty()) {
        return;
    }
    FacePropertyValues values;
    values.scaleX = FieldValue(m_scaleX->text());
    values.scaleY = FieldValue(m_scaleY->text());
    values.shiftX = FieldValue(m_shiftX->Text());
    values.shiftY = FieldValue(m_shiftY->Text());
    values.rotation = FieldValue(m_rotation->Text());
    std::optional<std::string> texture;
    if (QuakeGraphic* chosen = SelectedTexture()) {
        texture = chosen->name;
    }
    ApplyFaceProperties(*document, document->SelectedFaces(), document->FaceOwners(), values,
                        texture);
}
