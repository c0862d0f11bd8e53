#pragma once

#include <QDialog>

class QTreeWidget;

// Everything the new-object bar can create, as a tree: the primitives, each prefab library
// with its objects, and the point entity classes of the game data.
class ObjectOverviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit ObjectOverviewDialog(QWidget* parent = nullptr);
    QTreeWidget* Tree() const { return m_tree; }

private:
    QTreeWidget* m_tree;
};
