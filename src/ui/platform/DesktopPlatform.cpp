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

} // namespace DesktopPlatform
