// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The X11 side of TaskbarPresence: _NET_WM_STATE_SKIP_TASKBAR while a notification
// area is there. Only called when the program runs on X11.
namespace TaskbarPresenceX11 {

void keepOffTaskbar(QWidget *window);
void refresh(QWidget *window);
bool canLeaveTaskbar();

} // namespace TaskbarPresenceX11
