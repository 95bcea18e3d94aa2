// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskbarPresenceX11.h"

// Built without the X11 client library: the taskbar entry stays.
namespace TaskbarPresenceX11 {

void keepOffTaskbar(QWidget *)
{}

void refresh(QWidget *)
{}

bool canLeaveTaskbar()
{
    return false;
}

} // namespace TaskbarPresenceX11
