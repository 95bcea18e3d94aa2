// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameExtents.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace FrameExtents {

namespace {

QMargins qtMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

template<class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

QMargins of(const QWidget *window)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *const connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->testAttribute(Qt::WA_WState_Created))
        return qtMargins(window);

    static const char name[] = "_NET_FRAME_EXTENTS";
    const Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name),
                              nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return qtMargins(window);
    const Reply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(window->winId()),
                                                atom->atom, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr),
        &std::free);
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) != 16)
        return qtMargins(window);
    // Left, right, top, bottom.
    const auto *const v = static_cast<const std::uint32_t *>(xcb_get_property_value(property.get()));
    return {int(v[0]), int(v[2]), int(v[1]), int(v[3])};
}

} // namespace FrameExtents
