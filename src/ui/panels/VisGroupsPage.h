#pragma once

#include "properties/VisGroupRows.h"

#include <QWidget>

#include <vector>

class CMapClass;
class CMapWorld;
class QListWidget;

// "VisGroups": the visgroups of the map with the selected objects' memberships: two-state
// checks for one object, three-state (mixed) for several; "&Make default" picks the group an
// object shows first; "&Edit groups" opens the Object Groups dialog.
class VisGroupsPage : public QWidget {
    Q_OBJECT
public:
    explicit VisGroupsPage(QWidget* parent = nullptr);

    // Rows for the world's groups, checked from the objects (load and merge).
    void Load(const CMapWorld* world, const std::vector<CMapClass*>& objects);
    const VisGroupRows& State() const { return m_rows; }
    QListWidget* List() const { return m_list; }

signals:
    void edited();
    void editGroupsRequested();

private:
    void ShowRows();

    VisGroupRows m_rows;
    std::vector<QString> m_names;
    bool m_several = false;
    QListWidget* m_list;
};
