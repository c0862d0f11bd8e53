#pragma once

#include <QAction>
#include <QHash>
#include <QPointer>

// The main window's actions by command id, so that views and pop-up menus share the main
// window's enabled state, check marks and handlers.
class CommandRegistry {
public:
    static void Register(int id, QAction* action);
    static void Unregister(QAction* action);
    // Null when no action of this id exists (no main window, as in view tests).
    static QAction* Find(int id);
    // Triggers the action when it exists and is enabled; false otherwise.
    static bool Trigger(int id);

private:
    static QHash<int, QPointer<QAction>>& Actions();
};
