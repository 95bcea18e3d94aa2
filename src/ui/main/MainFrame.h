// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class CommandList;
class PopupMenu;
class QVBoxLayout;
class TrayIcon;

// The main window's top level: title, panel font, state and size, the layout its controls go
// into, and what must exist before the window first shows: the commands, their menu, the tray
// icon, and the window's absence from the taskbar. It is built before the controls and shows
// at the end of its constructor: the window manager then maps the window while the controls
// are built and their text is measured, and the first paint, which comes after all of that,
// shows them complete.
class MainFrame : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainFrame)

public:
    explicit MainFrame(QWidget *parent = nullptr);
    ~MainFrame() override;

protected:
    QVBoxLayout *frameLayout() const { return m_layout; }
    CommandList *frameCommands() const { return m_commands; }
    PopupMenu *frameMenu() const { return m_menu; }
    TrayIcon *frameTrayIcon() const { return m_trayIcon; }

private:
    CommandList *const m_commands;
    PopupMenu *const m_menu;
    TrayIcon *const m_trayIcon;
    QVBoxLayout *const m_layout;
};
