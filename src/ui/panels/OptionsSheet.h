#pragma once

#include <QDialog>

#include <functional>

class Options;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSlider;
class QSpinBox;
class QTabWidget;

// "Configure Brickhaven": the editor's settings on three pages, "General", "2D views" and
// "3D views". OK stores them in the settings object and applies them (WAD files read at once,
// the brightness to the palette, the 2D views redrawn); Cancel changes nothing.
class OptionsSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kQuickNote =
        "You have removed some texture files from the list.\nThese texture files will continue "
        "to be used during this\nsession, but will not be loaded the next time you run\n"
        "Brickhaven.";

    explicit OptionsSheet(Options& options, QWidget* parent = nullptr);

    // The folder picker: given a title and the current folder, the chosen folder or an empty
    // string (tests replace it).
    std::function<QString(const QString& title, const QString& start)> chooseFolder;

    QTabWidget* Tabs() const { return m_tabs; }

public slots:
    void accept() override;

private:
    QWidget* MakeGeneralPage();
    QWidget* MakeView2DPage();
    QWidget* MakeView3DPage();
    QWidget* FolderRow(QLineEdit* field, const QString& title, const QString& objectName);
    void AddWad();
    void RemoveWad();

    Options& m_options;
    QTabWidget* m_tabs;
    // General
    QLineEdit* m_quakeDirectory = nullptr;
    QLineEdit* m_mapDirectory = nullptr;
    QListWidget* m_wads = nullptr;
    QSlider* m_brightness = nullptr;
    QSpinBox* m_undoLevels = nullptr;
    QSpinBox* m_autosaveMinutes = nullptr;
    QCheckBox* m_keepBackup = nullptr;
    bool m_removedWad = false;
    // 2D views
    QCheckBox* m_crosshairs = nullptr;
    QCheckBox* m_rotateConstrain = nullptr;
    QCheckBox* m_scrollbars = nullptr;
    QCheckBox* m_drawVertices = nullptr;
    QCheckBox* m_groupCarve = nullptr;
    QComboBox* m_defaultGrid = nullptr;
    // 3D views
    QCheckBox* m_hardware = nullptr;
    QCheckBox* m_reverseY = nullptr;
};
