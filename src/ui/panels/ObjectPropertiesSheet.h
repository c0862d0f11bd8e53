#pragma once

#include "document/EditorSinks.h"
#include "properties/PropertiesApply.h"

#include <QWidget>

#include <vector>

class CMapDoc;
class ClassInfoPage;
class FlagsPage;
class QLabel;
class QTabWidget;
class VisGroupsPage;

// "Object Properties": the modeless sheet that shows the selected objects' class, keyvalues,
// spawn flags and visgroups. Its pages follow the kind of selection. What the user changes is
// written into the objects, as one undo step, when the sheet loses activation, when it is
// hidden (Escape, Close), before the selection is replaced and before the document takes
// another step (ApplyPending); there is no OK button and closing only hides.
class ObjectPropertiesSheet : public QWidget, public ObjectPropertiesSink {
    Q_OBJECT
public:
    explicit ObjectPropertiesSheet(QWidget* parent = nullptr);
    ~ObjectPropertiesSheet() override;

    // ObjectPropertiesSink
    void SetObjects(const std::vector<CMapClass*>& objects) override;
    void ClearObjects() override;
    void ShowAndActivate() override;
    void ApplyPending() override;
    // An object about to be destroyed leaves the sheet.
    void RemoveObject(CMapClass* object);

    // Writes the pages into the objects when the user changed something since they were
    // loaded, as one undo step; returns how many objects changed. Only a change of the user's
    // is written: class defaults the pages fill in are shown, and stored with the next change.
    int Apply();
    // Moves the sheet beside the main window's client area (done when first shown).
    void PlaceBesideClientArea();

    const std::vector<CMapClass*>& Objects() const { return m_objects; }
    QTabWidget* Tabs() const { return m_tabs; }
    ClassInfoPage* ClassInfo() const { return m_classInfo; }
    FlagsPage* Flags() const { return m_flags; }
    VisGroupsPage* VisGroups() const { return m_visGroups; }
    // Tab captions in order.
    QStringList PageCaptions() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RebuildPages();
    void LoadPages();
    void EditGroups();
    CMapDoc* Document() const;

    std::vector<CMapClass*> m_objects;
    SelectionKind m_kind = SelectionKind::Nothing;
    // The user changed a page since it was loaded.
    bool m_edited = false;
    // The sheet was given its first place.
    bool m_placed = false;
    QTabWidget* m_tabs;
    ClassInfoPage* m_classInfo;
    FlagsPage* m_flags;
    VisGroupsPage* m_visGroups;
    QLabel* m_noProperties;
};
