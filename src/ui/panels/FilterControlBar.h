#pragma once

#include "editing/FilterControl.h"

#include <QWidget>

class CMapDoc;
class QListWidget;
class QPushButton;

// "Filter Control": which visgroups of the active map are switched on, and whether the views
// filter by them. Nothing changes on screen until "Apply".
class FilterControlBar : public QWidget {
    Q_OBJECT
public:
    explicit FilterControlBar(QWidget* parent = nullptr);

    // Refills from the active document (after it changed, the bar was shown, or the groups
    // were edited); disabled without one.
    void Refill();
    void Apply();

    QListWidget* List() const { return m_list; }
    QPushButton* ToggleButton() const { return m_toggle; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EditGroups();

    FilterControl m_state;
    QListWidget* m_list;
    QPushButton* m_toggle;
};
