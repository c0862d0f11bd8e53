#pragma once

#include <QObject>

#include <functional>

class CChildFrame;
class CMainFrame;
class CMapDoc;
class QMdiSubWindow;
class RunMapController;

// The editing and map commands of the main window's Edit, Map and Tools menus: Cut, Copy,
// Paste, Paste special, Delete, Carve, Make Hollow, Group, Ungroup, Tie to entity, Move to
// world, hiding and showing, Check for Problems, Run Map, Create Prefab and the Prefab
// Factory. It connects the main window's actions to the document commands and their dialogs
// and keeps their enabled states as the editor's state changes.
class MapCommandSet : public QObject {
    Q_OBJECT
public:
    explicit MapCommandSet(CMainFrame& frame);

    RunMapController& RunMapRunner() { return *m_runMap; }

    // Opens the prefab's document in a new child frame: fill turns the new document into it.
    // The frame is closed again when fill fails.
    bool OpenPrefabDocument(const std::function<bool(CMapDoc&)>& fill);

    // Removes from a document window's own menu every shortcut that one of the main window's
    // commands uses, so the accelerator reaches the command (Ctrl+W is Move to world, never
    // Close).
    static void ReleaseCollidingShortcuts(QMdiSubWindow& window, const QObject& mainWindow);

private:
    void Connect(int id, std::function<void(CMapDoc&)> command);
    void UpdateStates();
    void OnPrefabFactory();
    // Next (+1) or previous (-1) leak point: the document's 3D view goes there.
    void StepLeakTrail(CMapDoc& doc, int step);

    CMainFrame& m_frame;
    RunMapController* m_runMap;
};
