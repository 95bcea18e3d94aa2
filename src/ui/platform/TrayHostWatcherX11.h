// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TrayHostWatcher.h"

// The X11 notification area is whoever owns the selection _NET_SYSTEM_TRAY_S<screen>; the
// XFixes extension reports each new owner and the owner's going away.
namespace TrayHostWatcherX11 {

// A watcher on the X server Qt is connected to; one that stays silent where the server
// lacks XFixes or the program was built without it.
TrayHostWatcher *create(QObject *parent);

} // namespace TrayHostWatcherX11
