// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopPlatform.h"

#include <QGuiApplication>

namespace DesktopPlatform {

bool isX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool trayIconWaitsForTray()
{
    return isX11();
}

bool minimiseIsHonoured()
{
    return isX11();
}

int x11ScreenOfDisplayName(const QByteArray &displayName)
{
    const qsizetype colon = displayName.lastIndexOf(':');
    const qsizetype dot = displayName.indexOf('.', colon + 1);
    if (colon < 0 || dot < 0)
        return 0;
    bool ok = false;
    const int screen = displayName.mid(dot + 1).toInt(&ok);
    return ok && screen >= 0 ? screen : 0;
}

} // namespace DesktopPlatform
