// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TrayClicks.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>

class PopupMenu;
class TrayHostWatcher;

// The notification-area icon `RxTrayIcon1`: the clock icon, the tooltip
// "Tarvik倒计时计时器", PopupMenu1 when the right button is released over it and the
// full-screen command on a left double click. A single click does nothing. It works
// while a dialog or a message box is open, also when that dialog has greyed the settings
// item of the menu.
//
// Wiring in the main window, in its constructor so the icon is there before the
// window first shows:
//   RxTrayIcon1 = new TrayIcon(PopupMenu1, this);
//   connect(RxTrayIcon1, &TrayIcon::doubleClicked, this, [this] { ac_fullExecute(); });
//   connect(RxTrayIcon1, &TrayIcon::trayAvailabilityChanged, this,
//           [this](bool available) { <keep a taskbar entry unless available> });
// doubleClicked is emitted inside the command list's error guard. The icon goes away
// with its owner; Qt removes it from the tray then.
class TrayIcon : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayIcon)

public:
    // How the notification area reports the user's clicks.
    enum class Host
    {
        // An X11 notification area embedding the icon: single, double and right clicks.
        Embedding,
        // A StatusNotifierItem host: "activate" (its left click) and "context menu",
        // no double click. Activation stands for the double click; the menu opens at
        // the pointer unless the host shows it itself.
        StatusNotifier,
    };

    // The host is the one Qt chooses: a StatusNotifierItem host on the session bus if
    // one is registered now.
    TrayIcon(PopupMenu *menu, QObject *parent);
    TrayIcon(PopupMenu *menu, Host host, QObject *parent);

    QSystemTrayIcon *systemTrayIcon() const { return m_icon; }
    // What tells the icon that the notification area came or went.
    TrayHostWatcher *hostWatcher() const { return m_hostWatcher; }
    bool isTrayAvailable() const { return m_available; }

    // What a left double click does: the menu's enabled default item, else doubleClicked.
    void doubleClick();
    // Pops the menu up at the pointer.
    void popupMenu();

    // The buttons on the icon, where the platform hands them over (platform/TrayButtons.h);
    // timeMs is the press's time stamp and position the pointer's place on the screen.
    void buttonPressed(Qt::MouseButton button, std::int64_t timeMs, QPoint position);
    void buttonReleased(Qt::MouseButton button);

signals:
    void doubleClicked();
    // The notification area came or went; without one a minimised window can only be
    // reached through a taskbar entry.
    void trayAvailabilityChanged(bool available);

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void checkAvailability();
    void act(TrayClicks::Action action);

    PopupMenu *const m_menu;
    const Host m_host;
    QSystemTrayIcon *const m_icon;
    TrayHostWatcher *const m_hostWatcher;
    bool m_available;
    TrayClicks m_clicks;
};
