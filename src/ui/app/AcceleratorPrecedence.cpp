#include "app/AcceleratorPrecedence.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

AcceleratorPrecedence::AcceleratorPrecedence(QWidget& window) : QObject(&window), m_window(window) {
    qApp->installEventFilter(this);
}

AcceleratorPrecedence::~AcceleratorPrecedence() {
    qApp->removeEventFilter(this);
}

QAction* AcceleratorPrecedence::ActionFor(QObject* receiver, const QKeyEvent& key) const {
    if (key.modifiers() != Qt::AltModifier || key.key() < Qt::Key_A || key.key() > Qt::Key_Z) {
        return nullptr;
    }
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != &m_window) {
        return nullptr;
    }
    const QKeySequence pressed(QKeyCombination(key.modifiers(), static_cast<Qt::Key>(key.key())));
    for (QAction* action : m_window.actions()) {
        if (action->isEnabled() && action->shortcut() == pressed) {
            return action;
        }
    }
    return nullptr;
}

bool AcceleratorPrecedence::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    QAction* action = ActionFor(watched, *key);
    if (!action) {
        return false;
    }
    // Accepting the override keeps the menu bar from taking the key as a mnemonic; the key
    // press that follows runs the accelerator.
    event->accept();
    if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
        action->trigger();
    }
    return true;
}
