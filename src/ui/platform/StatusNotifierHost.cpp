// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace StatusNotifierHost {

bool isRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString watcher = watcherService;
    const QDBusReply<bool> hasWatcher = bus.interface()->isServiceRegistered(watcher);
    if (!hasWatcher.isValid() || !hasWatcher.value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that does not answer soon counts as no host.
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 1000);
    return reply.isValid() && reply.value().variant().toBool();
}

} // namespace StatusNotifierHost
