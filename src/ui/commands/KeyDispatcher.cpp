// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyDispatcher.h"

#include "CommandList.h"
#include "PopupMenu.h"
#include "ShortcutValue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

KeyDispatcher::KeyDispatcher(PopupMenu *menu, CommandList *commands, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_commands(commands)
{}

void KeyDispatcher::install(QWidget *window)
{
    m_window = window;
    // On the application, because the native window is made anew when the frame changes.
    qApp->installEventFilter(this);
}

bool KeyDispatcher::dispatch(int qtKey, Qt::KeyboardModifiers modifiers)
{
    return dispatchShortcut(ShortcutValue::fromKeyPress(qtKey, modifiers));
}

bool KeyDispatcher::dispatchShortcut(int value)
{
    if (value == 0)
        return false;
    // A matching item uses the key up even when it is disabled.
    if (MenuItem *item = m_menu->findByKey(value)) {
        item->click();
        return true;
    }
    if (Command *command = m_commands->findByShortcut(value))
        return command->execute();
    return false;
}

bool KeyDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_window || !watched->isWindowType() ||
        watched != m_window->windowHandle())
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    bool used = true; // a handler that failed has still used the key
    m_commands->runGuarded([&] { used = dispatch(keyEvent->key(), keyEvent->modifiers()); });
    return used;
}
