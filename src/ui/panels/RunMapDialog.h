#pragma once

#include "document/RunMap.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

// "Run Map": which compile tools run and how, whether the game starts, its extra parameters,
// and where the tools and the game are found.
class RunMapDialog : public QDialog {
    Q_OBJECT
public:
    explicit RunMapDialog(const RunMapSettings& initial, QWidget* parent = nullptr);

    RunMapSettings Settings() const;

    // The radio groups of QBSP, LIGHT and VIS (ids are the modes).
    QButtonGroup* ToolGroup(int tool) const { return m_groups[static_cast<std::size_t>(tool)]; }
    QCheckBox* NoQuakeBox() const { return m_noQuake; }
    QCheckBox* VisibleOnlyBox() const { return m_visibleOnly; }
    QLineEdit* ParametersField() const { return m_parameters; }
    QLineEdit* ToolsDirectoryField() const { return m_toolsDirectory; }
    QLineEdit* GameField() const { return m_game; }

private:
    RunMapSettings m_initial;
    std::array<QButtonGroup*, 3> m_groups{};
    QCheckBox* m_noQuake;
    QCheckBox* m_visibleOnly;
    QLineEdit* m_parameters;
    QLineEdit* m_toolsDirectory;
    QLineEdit* m_game;
};
