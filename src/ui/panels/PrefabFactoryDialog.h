#pragma once

#include "panels/EditLibraryDialog.h"
#include "prefabs/PrefabFactory.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class CMapDoc;
class CPrefab;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

// "Prefab Factory": the loaded prefab libraries and their prefabs. Libraries are added,
// renamed (with their description) and deleted; prefabs are imported from map files, renamed,
// given notes, deleted, exported, and opened for editing as documents of their own.
class PrefabFactoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrefabFactoryDialog(QWidget* parent = nullptr);

    // Opens a new document, lets fill make it the prefab's document and keeps it when fill
    // succeeds (the main window supplies it).
    std::function<bool(const std::function<bool(CMapDoc&)>& fill)> openDocument;
    // The files "&Add object" imports (a file dialog unless replaced, as in tests).
    std::function<QStringList()> chooseImportFiles;

    QComboBox* LibraryList() const { return m_libraries; }
    QListWidget* PrefabList() const { return m_prefabs; }
    QLabel* LibraryDescription() const { return m_description; }
    QLabel* PrefabNotes() const { return m_notes; }
    QPushButton* Button(const QString& objectName) const;
    QMenu* EditMenu() const { return m_editMenu; }
    PrefabFactory& Factory() { return m_factory; }

    void done(int result) override;

private:
    void FillLibraries();
    // Lists the selected library's prefabs; the one with keepSelected stays selected.
    void FillPrefabs(std::uint32_t keepSelected = 0);
    void OnLibraryChosen(int index);
    void OnAddLibrary();
    void OnEditLibrary();
    void OnRemoveLibrary();
    void OnAddObjects();
    void OnRemoveObjects();
    void OnEditNames();
    void OnEditData();
    void OnExport();
    void OnLabelEdited(QListWidgetItem* item);
    void ShowNotes();
    std::vector<CPrefab*> SelectedPrefabs() const;
    // Shows "Edit Library" until action accepts the name or the user gives up.
    void AskForName(
        EditLibraryDialog::Form form, QString name, QString description,
        const std::function<PrefabFactory::Result(const std::string&, const std::string&)>& action);

    PrefabFactory m_factory;
    QComboBox* m_libraries;
    QLabel* m_description;
    QListWidget* m_prefabs;
    QLabel* m_notes;
    QMenu* m_editMenu;
    bool m_filling = false;
};
