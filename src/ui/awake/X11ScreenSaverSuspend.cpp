// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11ScreenSaverSuspend.h"

#ifdef TARVIK_HAVE_XCB_SCREENSAVER

#include <QGuiApplication>

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

std::unique_ptr<X11ScreenSaverSuspend> X11ScreenSaverSuspend::create()
{
    xcb_connection_t *const xcb = connection();
    if (!xcb)
        return nullptr;
    // Cached by xcb after the first ask; the answer is local to the server's connection.
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(xcb, &xcb_screensaver_id);
    if (!extension || !extension->present)
        return nullptr;
    return std::unique_ptr<X11ScreenSaverSuspend>(new X11ScreenSaverSuspend);
}

void X11ScreenSaverSuspend::hold()
{
    suspend(true);
}

void X11ScreenSaverSuspend::release()
{
    suspend(false);
}

void X11ScreenSaverSuspend::suspend(bool on)
{
    if (xcb_connection_t *const xcb = connection()) {
        xcb_screensaver_suspend(xcb, on ? 1 : 0);
        xcb_flush(xcb);
    }
}

#else

std::unique_ptr<X11ScreenSaverSuspend> X11ScreenSaverSuspend::create()
{
    return nullptr;
}

void X11ScreenSaverSuspend::hold()
{}
void X11ScreenSaverSuspend::release()
{}
void X11ScreenSaverSuspend::suspend(bool)
{}

#endif
