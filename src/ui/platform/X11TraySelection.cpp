// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11TraySelection.h"

#include "DesktopPlatform.h"
#include "X11Atoms.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace X11TraySelection {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

int screen()
{
    // Qt's connection was opened on DISPLAY's screen.
    return DesktopPlatform::x11ScreenOfDisplayName(qgetenv("DISPLAY"));
}

xcb_window_t root(xcb_connection_t *connection)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screen())
            return it.data->root;
    }
    return XCB_WINDOW_NONE;
}

xcb_atom_t atom(xcb_connection_t *connection)
{
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen());
    return X11Atoms::intern(connection, name.constData());
}

bool isOwned()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_atom_t selection = atom(c);
    if (selection == XCB_ATOM_NONE)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr),
        &std::free);
    return reply && reply->owner != XCB_WINDOW_NONE;
}

} // namespace X11TraySelection
