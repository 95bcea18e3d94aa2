// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

namespace {

const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString defaultAction = QStringLiteral("default");

} // namespace

DesktopNotification::DesktopNotification(QObject *parent)
    : QObject(parent)
{}

DesktopNotification::~DesktopNotification() = default;

void DesktopNotification::send(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Listened to from the first notification on: each subscription is a round trip to the
    // bus, which a start-up that may never notify need not wait for. The bus handles the
    // subscriptions before the call that follows them.
    if (!m_listening) {
        m_listening = true;
        bus.connect(QString(), path, service, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(QString(), path, service, QStringLiteral("NotificationClosed"), this,
                    SLOT(onClosed(uint, uint)));
    }
    m_withdrawn = false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Notify"));
    const QStringList actions{defaultAction, tr("显示")};
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},
                            {QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName()}};
    // The program's icon is installed under the desktop entry's name.
    call << QCoreApplication::applicationName() << uint(m_id) << QGuiApplication::desktopFileName()
         << summary << body << actions << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            return;
        m_id = reply.value();
        if (m_withdrawn)
            withdraw();
    });
}

void DesktopNotification::withdraw()
{
    m_withdrawn = true;
    if (m_id == 0)
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("CloseNotification"));
    call << uint(m_id);
    QDBusConnection::sessionBus().send(call);
    m_id = 0;
}

void DesktopNotification::onActionInvoked(uint id, const QString &action)
{
    if (id != 0 && id == m_id && action == defaultAction)
        emit activated();
}

void DesktopNotification::onClosed(uint id, uint)
{
    if (id == m_id)
        m_id = 0;
}
