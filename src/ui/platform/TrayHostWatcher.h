// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Follows the notification area by event: emits changed() when its host may have come or
// gone, so the tray icon asks again whether there is one. Nothing is polled; a watcher that
// cannot follow its host (no X11 extension, no session bus) stays silent.
class TrayHostWatcher : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayHostWatcher)

public:
    enum class Kind
    {
        // The owner of the X11 notification area's selection, _NET_SYSTEM_TRAY_S<screen>.
        X11Selection,
        // The StatusNotifierItem watcher on the session bus and the hosts it announces.
        StatusNotifier,
    };

    // The watcher for this kind of host, made for the window system in use.
    static TrayHostWatcher *create(Kind kind, QObject *parent);

    // Whether events about the host will arrive.
    virtual bool isWatching() const = 0;
    // Whether there is a notification area for the icon now.
    virtual bool isHostPresent() const;

signals:
    void changed();

protected:
    explicit TrayHostWatcher(QObject *parent)
        : QObject(parent)
    {}
};
