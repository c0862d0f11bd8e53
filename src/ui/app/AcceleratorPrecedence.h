#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QWidget;

// Gives the main window's Alt+letter accelerators precedence over the menu bar's mnemonics,
// as accelerator tables do: Alt+M runs the memory report instead of opening "&Map". Installed
// on the application; keys typed into other windows (dialogs) are left alone.
class AcceleratorPrecedence : public QObject {
    Q_OBJECT
public:
    explicit AcceleratorPrecedence(QWidget& window);
    ~AcceleratorPrecedence() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* ActionFor(QObject* receiver, const QKeyEvent& key) const;

    QWidget& m_window;
};
