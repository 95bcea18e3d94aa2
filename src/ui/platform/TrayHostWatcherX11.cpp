// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayHostWatcherX11.h"

#include "X11TraySelection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {

template<typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

class SelectionWatcher final : public TrayHostWatcher, public QAbstractNativeEventFilter
{
public:
    explicit SelectionWatcher(QObject *parent)
        : TrayHostWatcher(parent)
    {
        xcb_connection_t *connection = X11TraySelection::connection();
        if (!connection)
            return;
        const xcb_query_extension_reply_t *xfixes =
            xcb_get_extension_data(connection, &xcb_xfixes_id);
        if (!xfixes || !xfixes->present)
            return;
        // The version must be asked before any other request of the extension. Its answer
        // comes in the same round trip as the selection's atom.
        const xcb_xfixes_query_version_cookie_t versionAsked = xcb_xfixes_query_version(
            connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION);
        m_selection = X11TraySelection::atom(connection);
        const ReplyPtr<xcb_xfixes_query_version_reply_t> version(
            xcb_xfixes_query_version_reply(connection, versionAsked, nullptr), &std::free);
        const xcb_window_t root = X11TraySelection::root(connection);
        if (!version || m_selection == XCB_ATOM_NONE || root == XCB_WINDOW_NONE)
            return;
        m_notifyEvent = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        xcb_xfixes_select_selection_input(
            connection, root, m_selection,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(connection);
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_watching = true;
    }

    ~SelectionWatcher() override
    {
        if (m_watching && QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool isWatching() const override { return m_watching; }
    bool isHostPresent() const override { return X11TraySelection::isOwned(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7F) != m_notifyEvent)
            return false;
        const auto *notify = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
        if (notify->selection == m_selection) {
            // Queued, after the rest of the events read with this one.
            QMetaObject::invokeMethod(this, &TrayHostWatcher::changed, Qt::QueuedConnection);
        }
        return false;
    }

private:
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    uint8_t m_notifyEvent = 0;
    bool m_watching = false;
};

} // namespace

TrayHostWatcher *TrayHostWatcherX11::create(QObject *parent)
{
    return new SelectionWatcher(parent);
}
