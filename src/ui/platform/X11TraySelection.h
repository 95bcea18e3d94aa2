// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <xcb/xcb.h>

// The X11 notification area is whoever owns the selection _NET_SYSTEM_TRAY_S<screen> of the
// screen the program shows on. Asked of the server each time, so the answer never lags
// behind a tray that has just gone.
namespace X11TraySelection {

// Qt's X server connection; null off X11.
xcb_connection_t *connection();
// The screen the program shows on and its root window.
int screen();
xcb_window_t root(xcb_connection_t *connection);
// The selection's atom; XCB_ATOM_NONE if the server gives none.
xcb_atom_t atom(xcb_connection_t *connection);
// Whether a notification area owns the selection now.
bool isOwned();

} // namespace X11TraySelection
