// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class CommandList;
class PopupMenu;
class QWidget;

// Function keys of the main window: the menu's item keys first, then the commands'
// own keys, else the key goes on to the focused control.
//
// Wiring in the main window (after PopupMenu1):
//   m_keys = new KeyDispatcher(PopupMenu1, ActionList1, this);
//   m_keys->install(this);
// The dispatcher watches key presses that reach the window's own native window, so a
// modal dialog or an open menu keeps its keys. Each auto-repeat is dispatched too.
// Keys are never registered as QAction shortcuts, so Qt's shortcut map cannot
// take them first.
class KeyDispatcher : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyDispatcher)

public:
    KeyDispatcher(PopupMenu *menu, CommandList *commands, QObject *parent = nullptr);

    void install(QWidget *window);

    // Whether the key was used up. Errors from the command pass through.
    bool dispatch(int qtKey, Qt::KeyboardModifiers modifiers);
    bool dispatchShortcut(int value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PopupMenu *const m_menu;
    CommandList *const m_commands;
    QPointer<QWidget> m_window;
};
