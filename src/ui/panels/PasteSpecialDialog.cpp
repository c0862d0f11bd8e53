#include "panels/PasteSpecialDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kOffsetLimit = 65536;
constexpr double kRotationLimit = 360000.0;
const char* const kAxisNames[] = {"X:", "Y:", "Z:"};
} // namespace

PasteSpecialDialog::PasteSpecialDialog(const PasteSpecialSettings& initial,
                                       const Clipboard& clipboard, QWidget* parent)
    : QDialog(parent), m_clipboard(clipboard), m_copies(new QSpinBox(this)),
      m_center(new QCheckBox("Start at &center of original", this)),
      m_group(new QCheckBox("&Group copies", this)) {
    setWindowTitle("Paste Special");
    setObjectName("PasteSpecialDialog");
    auto* layout = new QVBoxLayout(this);

    auto* copiesRow = new QFormLayout;
    m_copies->setObjectName("Copies");
    m_copies->setRange(PasteSpecialSettings::kMinCopies, PasteSpecialSettings::kMaxCopies);
    m_copies->setValue(initial.copies);
    copiesRow->addRow("&Number of copies to paste:", m_copies);
    layout->addLayout(copiesRow);
    m_center->setChecked(initial.center);
    m_group->setChecked(initial.group);
    layout->addWidget(m_center);
    layout->addWidget(m_group);

    auto* offsetBox = new QGroupBox("Offset (accumulative):", this);
    auto* offsetGrid = new QGridLayout(offsetBox);
    auto* rotationBox = new QGroupBox("Rotation (accumulative):", this);
    auto* rotationGrid = new QGridLayout(rotationBox);
    for (int axis = 0; axis < 3; ++axis) {
        const auto index = static_cast<std::size_t>(axis);
        auto* offset = new QSpinBox(offsetBox);
        offset->setObjectName(QString("Offset%1").arg(axis));
        offset->setRange(-kOffsetLimit, kOffsetLimit);
        offset->setValue(initial.offset[index]);
        auto* extent = new QPushButton("<", offsetBox);
        extent->setObjectName(QString("Extent%1").arg(axis));
        extent->setFixedWidth(28);
        extent->setAutoDefault(false);
        connect(extent, &QPushButton::clicked, this, [this, offset, axis] {
            offset->setValue(OffsetButtonValue(offset->value(), m_clipboard, axis));
        });
        offsetGrid->addWidget(new QLabel(kAxisNames[axis], offsetBox), axis, 0);
        offsetGrid->addWidget(offset, axis, 1);
        offsetGrid->addWidget(extent, axis, 2);
        m_offset[index] = offset;
        m_extentButtons[index] = extent;

        auto* rotation = new QDoubleSpinBox(rotationBox);
        rotation->setObjectName(QString("Rotation%1").arg(axis));
        rotation->setDecimals(1);
        rotation->setRange(-kRotationLimit, kRotationLimit);
        rotation->setValue(static_cast<double>(initial.rotate[index]));
        rotationGrid->addWidget(new QLabel(kAxisNames[axis], rotationBox), axis, 0);
        rotationGrid->addWidget(rotation, axis, 1);
        m_rotation[index] = rotation;
    }
    auto* fields = new QHBoxLayout;
    fields->addWidget(offsetBox);
    fields->addWidget(rotationBox);
    layout->addLayout(fields);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

PasteSpecialSettings PasteSpecialDialog::Settings() const {
    PasteSpecialSettings settings;
    settings.copies = m_copies->value();
    settings.center = m_center->isChecked();
    settings.group = m_group->isChecked();
    for (std::size_t axis = 0; axis < 3; ++axis) {
        settings.offset[axis] = m_offset[axis]->value();
        settings.rotate[axis] = static_cast<float>(m_rotation[axis]->value());
    }
    return settings;
}
