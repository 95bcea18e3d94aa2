// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteControl.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class RemoteQrWindow;
class TimerCore;

// The web remote in the window: on and off by the settings (or for one run), the menu item
// "遥控二维码" at the top of the window's menu while it is on, and its window.
class RemoteFront : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteFront)

public:
    RemoteFront(TimerCore *core, QMenu *menu, QWidget *window);
    ~RemoteFront() override;

    RemoteControl *control() const { return m_control; }
    // From every apply of the settings: starts, moves or stops the server only when these
    // change, so a countdown's start keeps the token.
    void apply(bool enabled, int port);
    // On for this run whatever the setting says (--remote); any time, also before the
    // window's first apply of the settings, which it then waits for.
    void forceOn();
    void showQrWindow();
    // The settings as last applied.
    bool isEnabled() const { return m_enabled; }
    int port() const { return m_port; }

private:
    void follow();

    RemoteControl *const m_control;
    QWidget *const m_window;
    QAction *const m_action;
    QAction *const m_separator;
    QPointer<RemoteQrWindow> m_qrWindow;
    bool m_enabled = false;
    bool m_forced = false;
    bool m_applied = false;
    int m_port = 0;
    int m_runningPort = 0;
};
