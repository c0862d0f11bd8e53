#pragma once

#include "editing/PasteSpecial.h"

#include <QDialog>

#include <array>

class Clipboard;
class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

// "Paste Special": how many copies, where they start, whether they are grouped, and the offset
// and rotation added per copy. A "<" button beside an offset field puts the copied selection's
// extent on that axis into it (minus the extent when it holds the extent already).
class PasteSpecialDialog : public QDialog {
    Q_OBJECT
public:
    PasteSpecialDialog(const PasteSpecialSettings& initial, const Clipboard& clipboard,
                       QWidget* parent = nullptr);

    PasteSpecialSettings Settings() const;

    QSpinBox* CopiesField() const { return m_copies; }
    QCheckBox* CenterBox() const { return m_center; }
    QCheckBox* GroupBox() const { return m_group; }
    QSpinBox* OffsetField(int axis) const { return m_offset[static_cast<std::size_t>(axis)]; }
    QPushButton* ExtentButton(int axis) const {
        return m_extentButtons[static_cast<std::size_t>(axis)];
    }
    QDoubleSpinBox* RotationField(int axis) const {
        return m_rotation[static_cast<std::size_t>(axis)];
    }

private:
    const Clipboard& m_clipboard;
    QSpinBox* m_copies;
    QCheckBox* m_center;
    QCheckBox* m_group;
    std::array<QSpinBox*, 3> m_offset{};
    std::array<QPushButton*, 3> m_extentButtons{};
    std::array<QDoubleSpinBox*, 3> m_rotation{};
};
