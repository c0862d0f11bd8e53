#include "app/WindowMenu.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

namespace {
constexpr int kNumberedDocuments = 9;
}

WindowMenu::WindowMenu(QMenu* menu, QMdiArea* area)
    : QObject(menu), m_menu(menu), m_area(area), m_group(new QActionGroup(this)) {
    m_group->setExclusive(true);
    connect(menu, &QMenu::aboutToShow, this, &WindowMenu::Refresh);
}

void WindowMenu::Refresh() {
    for (QAction* action : m_documents) {
        m_menu->removeAction(action);
        m_group->removeAction(action);
        action->deleteLater();
    }
    m_documents.clear();
    const QList<QMdiSubWindow*> windows = m_area->subWindowList(QMdiArea::CreationOrder);
    if (!m_separator) {
        m_separator = m_menu->addSeparator();
    }
    m_separator->setVisible(!windows.isEmpty());
    QMdiSubWindow* active = m_area->activeSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace('&', "&&");
        const QString text =
            i < kNumberedDocuments ? QString("&%1 %2").arg(i + 1).arg(title) : title;
        auto* action = new QAction(text, m_menu);
        action->setCheckable(true);
        action->setChecked(window == active);
        m_group->addAction(action);
        connect(action, &QAction::triggered, m_area, [area = m_area, window] {
            if (window->isMinimized()) {
                window->showNormal();
            }
            area->setActiveSubWindow(window);
        });
        m_menu->addAction(action);
        m_documents.push_back(action);
    }
}

void CascadeDocuments(QMdiArea& area) {
    area.cascadeSubWindows();
    const QSize room = area.viewport()->size();
    const QSize wanted(room.width() * 3 / 4, room.height() * 3 / 4);
    const QSize least(std::min(room.width(), 320), std::min(room.height(), 240));
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isMinimized() || window->isHidden()) {
            continue;
        }
        const QPoint at = window->pos();
        const int width = std::max(least.width(), std::min(wanted.width(), room.width() - at.x()));
        const int height =
            std::max(least.height(), std::min(wanted.height(), room.height() - at.y()));
        window->resize(width, height);
    }
}
