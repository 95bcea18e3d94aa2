// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopPlatform.h"

#include <QGuiApplication>
#include <QScreen>

#ifdef TARVIK_HAVE_QPA_NATIVE
#include <qpa/qplatformnativeinterface.h>
#endif

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

int x11HintStyle()
{
#ifdef TARVIK_HAVE_QPA_NATIVE
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!isX11() || !native || !screen)
        return -1;
    // Qt's xcb plugin gives the style plus one, 0 when the resources set none.
    return int(reinterpret_cast<qintptr>(native->nativeResourceForScreen("hintstyle", screen))) - 1;
#else
    return -1;
#endif
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
