// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskbarPresence.h"

#include "DesktopPlatform.h"
#include "TaskbarPresenceX11.h"

// Only X11 lets a client drop its taskbar entry; elsewhere the entry stays.
namespace TaskbarPresence {

void keepOffTaskbar(QWidget *window)
{
    if (DesktopPlatform::isX11())
        TaskbarPresenceX11::keepOffTaskbar(window);
}

void refresh(QWidget *window)
{
    if (DesktopPlatform::isX11())
        TaskbarPresenceX11::refresh(window);
}

bool canLeaveTaskbar()
{
    return DesktopPlatform::isX11() && TaskbarPresenceX11::canLeaveTaskbar();
}

} // namespace TaskbarPresence
