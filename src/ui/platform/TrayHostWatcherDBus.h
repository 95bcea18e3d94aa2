// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TrayHostWatcher.h"

#include <QDBusConnection>

// A StatusNotifierItem host comes and goes with the watcher service
// org.kde.StatusNotifierWatcher, and the watcher announces hosts that register with it.
class TrayHostWatcherDBus : public TrayHostWatcher
{
    Q_OBJECT

public:
    explicit TrayHostWatcherDBus(QObject *parent,
                                 const QDBusConnection &bus = QDBusConnection::sessionBus());

    bool isWatching() const override { return m_watching; }

private Q_SLOTS:
    // Named slot: QDBusConnection::connect takes D-Bus signals by name only.
    void hostSignal();

private:
    bool m_watching = false;
};
