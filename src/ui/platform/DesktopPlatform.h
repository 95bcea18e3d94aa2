// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// What differs between the window systems the program runs on, decided at run time
// from the name of Qt's platform plugin.
namespace DesktopPlatform {

// Qt's "xcb" plugin: the program talks to an X server.
bool isX11();

// Whether the tray icon may be shown before there is a notification area: an X11
// notification area that appears later takes it in. Elsewhere Qt's only notification
// area is a StatusNotifierItem host present when the icon is made, and showing the
// icon without one only tries X11's way.
bool trayIconWaitsForTray();

// Whether a request to minimise is known to be carried out. X11 window managers do;
// a Wayland compositor may ignore it (sway has no minimised state at all), so there a
// window is hidden instead when the tray icon can bring it back.
bool minimiseIsHonoured();

// The hint style the desktop asks X11 programs to use (Xft.hintstyle in the X resources), as
// QFont's: 0 none, 1 slight, 2 medium, 3 full; -1 where it asks for none or there is no X11.
int x11HintStyle();

// The screen number in an X display name ("host:display.screen"), as Xlib and xcb read
// DISPLAY; 0 when it names none.
int x11ScreenOfDisplayName(const QByteArray &displayName);

} // namespace DesktopPlatform
