// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskbarPresenceX11.h"

#include "X11Atoms.h"
#include "X11TraySelection.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace TaskbarPresenceX11 {

namespace {

// Before mapping: merged into _NET_WM_STATE, which Qt keeps when it maps the window.
void addToStateProperty(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmState,
                        xcb_atom_t skipTaskbar)
{
    const auto cookie = xcb_get_property(connection, 0, window, netWmState, XCB_ATOM_ATOM, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i) {
            if (atoms[i] == skipTaskbar)
                return;
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, netWmState, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskbar);
}

// After mapping: the window manager owns the state and takes a request.
void requestState(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmState,
                  xcb_atom_t skipTaskbar, bool skip)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = netWmState;
    event.data.data32[0] = skip ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
    event.data.data32[1] = skipTaskbar;
    event.data.data32[2] = 0;
    event.data.data32[3] = 1; // from a normal application
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
}

void apply(QWidget *window, bool mapped)
{
    xcb_connection_t *connection = X11TraySelection::connection();
    if (!connection)
        return;
    const bool skip = canLeaveTaskbar();
    // An unmapped window has no entry to restore: the window manager cleared its state.
    if (!mapped && !skip)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto atoms =
        X11Atoms::intern(connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
    const xcb_atom_t netWmState = atoms[0];
    const xcb_atom_t skipTaskbar = atoms[1];
    if (netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    if (mapped)
        requestState(connection, id, netWmState, skipTaskbar, skip);
    else
        addToStateProperty(connection, id, netWmState, skipTaskbar);
    xcb_flush(connection);
}

class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The show event comes before the window is mapped; the window manager
        // drops the state whenever the window is withdrawn, so it is set each time.
        if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous()) {
            apply(m_window, false);
            QTimer::singleShot(0, this, [this] {
                if (m_window->isVisible())
                    apply(m_window, true);
            });
        }
        return false;
    }

private:
    QWidget *const m_window;
};

} // namespace

bool canLeaveTaskbar()
{
    // The server's answer: Qt's own lags behind a tray that has just gone.
    return X11TraySelection::isOwned();
}

void keepOffTaskbar(QWidget *window)
{
    new ShowWatcher(window);
}

void refresh(QWidget *window)
{
    if (window->isVisible())
        apply(window, true);
}

} // namespace TaskbarPresenceX11
