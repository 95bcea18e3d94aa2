// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayHostWatcher.h"

#include "DesktopPlatform.h"
#include "TrayHostWatcherDBus.h"
#include "TrayHostWatcherX11.h"

#include <QSystemTrayIcon>

TrayHostWatcher *TrayHostWatcher::create(Kind kind, QObject *parent)
{
    if (kind == Kind::X11Selection && DesktopPlatform::isX11())
        return TrayHostWatcherX11::create(parent);
    return new TrayHostWatcherDBus(parent);
}

bool TrayHostWatcher::isHostPresent() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
