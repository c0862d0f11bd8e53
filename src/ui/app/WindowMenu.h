#pragma once

#include <QObject>

#include <vector>

class QAction;
class QActionGroup;
class QMdiArea;
class QMenu;

// The open maps at the end of the Window menu, numbered as "&1 title", "&2 title", ... in the
// order they were opened, the active one checked; choosing one brings its frame forward.
class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenu* menu, QMdiArea* area);

    // Rebuilds the list (the menu does it each time it opens).
    void Refresh();
    const std::vector<QAction*>& DocumentActions() const { return m_documents; }

private:
    QMenu* m_menu;
    QMdiArea* m_area;
    QAction* m_separator = nullptr;
    QActionGroup* m_group;
    std::vector<QAction*> m_documents;
};

// Window > Cascade: the frames overlap from the top left, each at a size that shows its four
// panes (three quarters of the area, as far as the cascade's offset leaves room).
void CascadeDocuments(QMdiArea& area);
