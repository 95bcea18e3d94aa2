// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContextMenuHook.h"

#include "PopupMenu.h"

#include <QContextMenuEvent>
#include <QWidget>

ContextMenuHook::ContextMenuHook(PopupMenu *menu, QWidget *window)
    : QObject(window)
    , m_menu(menu)
    , m_window(window)
{
    watch(window);
}

void ContextMenuHook::watch(QWidget *widget)
{
    widget->setContextMenuPolicy(Qt::DefaultContextMenu);
    widget->installEventFilter(this);
}

bool ContextMenuHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu || !watched->isWidgetType())
        return false;
    const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
    const QPoint position = menuEvent->reason() == QContextMenuEvent::Mouse
                                ? menuEvent->globalPos()
                                : m_window->mapToGlobal(QPoint(0, 0));
    m_menu->popup(position);
    return true;
}
