#pragma once

#include "document/RunMap.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

// "Run Map": which compile tools run and how, whether the game starts, its extra parameters,
// and where the tools and the game are found. Beside each tool it says where it was found; a
// tool that was not found is off (its "No" chosen, the others disabled) with the reason
// beside it. It also says which file is compiled and where the BSP goes.
class RunMapDialog : public QDialog {
    Q_OBJECT
public:
    explicit RunMapDialog(const RunMapSettings& initial, const RunMapPaths& paths = {},
                          QWidget* parent = nullptr);

    RunMapSettings Settings() const;

    // The radio groups of QBSP, LIGHT and VIS (ids are the modes).
    QButtonGroup* ToolGroup(int tool) const { return m_groups[static_cast<std::size_t>(tool)]; }
    QCheckBox* NoQuakeBox() const { return m_noQuake; }
    QCheckBox* VisibleOnlyBox() const { return m_visibleOnly; }
    QLineEdit* ParametersField() const { return m_parameters; }
    QLineEdit* ToolsDirectoryField() const { return m_toolsDirectory; }
    QLineEdit* GameField() const { return m_game; }
    // What the dialog says of tool 0-2 (qbsp, light, vis), of the game, and of the files.
    QLabel* ToolStatus(int tool) const { return m_status[static_cast<std::size_t>(tool)]; }
    QLabel* GameStatus() const { return m_gameStatus; }
    QLabel* FilesLabel() const { return m_files; }

    // Looks for the tools and the game again (after the folder or the game changed).
    void RefreshToolStatus();

private:
    RunMapSettings m_initial;
    std::array<QButtonGroup*, 3> m_groups{};
    std::array<QLabel*, 3> m_status{};
    // The choices before a tool went missing, given back when it is found again.
    std::array<int, 3> m_wanted{};
    QLabel* m_gameStatus;
    QLabel* m_files;
    QCheckBox* m_noQuake;
    QCheckBox* m_visibleOnly;
    QLineEdit* m_parameters;
    QLineEdit* m_toolsDirectory;
    QLineEdit* m_game;
};
