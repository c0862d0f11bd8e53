#include "app/CommandRegistry.h"

QHash<int, QPointer<QAction>>& CommandRegistry::Actions() {
    static QHash<int, QPointer<QAction>> actions;
    return actions;
}

void CommandRegistry::Register(int id, QAction* action) {
    Actions().insert(id, action);
}

void CommandRegistry::Unregister(QAction* action) {
    for (auto it = Actions().begin(); it != Actions().end();) {
        if (it.value() == action || it.value().isNull()) {
            it = Actions().erase(it);
        } else {
            ++it;
        }
    }
}

QAction* CommandRegistry::Find(int id) {
    auto it = Actions().constFind(id);
    return it == Actions().constEnd() ? nullptr : it.value().data();
}

bool CommandRegistry::Trigger(int id) {
    QAction* action = Find(id);
    if (!action || !action->isEnabled()) {
        return false;
    }
    action->trigger();
    return true;
}
