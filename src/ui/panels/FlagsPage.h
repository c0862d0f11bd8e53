#pragma once

#include "properties/SpawnFlagsState.h"

#include <QWidget>

#include <array>

class QCheckBox;

// "Flags": twelve boxes for the spawn flag bits, captioned from the class, and "&Clear Flags".
class FlagsPage : public QWidget {
    Q_OBJECT
public:
    explicit FlagsPage(QWidget* parent = nullptr);

    void Load(const CEditGameClass& holder);
    void Relabel(const EntityClassDef* gameClass);
    const SpawnFlagsState& State() const { return m_state; }
    QCheckBox* Box(int index) const { return m_boxes[static_cast<std::size_t>(index)]; }

signals:
    void edited();

private:
    void ShowState();

    SpawnFlagsState m_state;
    std::array<QCheckBox*, SpawnFlagsState::kFlagCount> m_boxes{};
};
