#include "TrayHostWatcherDBus.h"

#include <QDBusServiceWatcher>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

} // namespace

TrayHostWatcherDBus::TrayHostWatcherDBus(QObject *parent, const QDBusConnection &bus)
    : TrayHostWatcher(parent)
{
    if (!bus.isConnected())
        return;
    auto *service = new QDBusServiceWatcher(watcherService, bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(service, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayHostWatcher::changed);
    QDBusConnection connection(bus);
    const QString path = QStringLiteral("/StatusNotifierWatcher");
    for (const char *name : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        connection.connect(watcherService, path, watcherService, QLatin1String(name), this,
                           SLOT(hostSignal()));
    }
    m_watching = true;
}

void TrayHostWatcherDBus::hostSignal()
{
    emit changed();
}
