// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayHostWatcherDBus.h"

#include "StatusNotifierHost.h"

#include <QDBusServiceWatcher>

using StatusNotifierHost::watcherPath;
using StatusNotifierHost::watcherService;

TrayHostWatcherDBus::TrayHostWatcherDBus(QObject *parent, const QDBusConnection &bus)
    : TrayHostWatcher(parent)
{
    if (!bus.isConnected())
        return;
    auto *service = new QDBusServiceWatcher(watcherService, bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(service, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayHostWatcher::changed);
    QDBusConnection connection(bus);
    for (const char *name : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        connection.connect(watcherService, watcherPath, watcherService, QLatin1String(name), this,
                           SLOT(hostSignal()));
    }
    m_watching = true;
}

void TrayHostWatcherDBus::hostSignal()
{
    emit changed();
}
