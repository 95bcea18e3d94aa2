// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusInhibitors.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPointer>

#include <functional>

namespace {

// What the desktop lists as the reason the screen stays on.
QString reason()
{
    return QCoreApplication::translate("ScreenAwake", "计时进行中");
}
const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString portal = QStringLiteral("org.freedesktop.portal.Desktop");

// Sends a call without waiting; onReply runs with the reply when it comes, also after the
// caller is gone, so that a hold granted late is still given back.
void callAsync(const QDBusMessage &call, std::function<void(const QDBusMessage &)> onReply)
{
    QObject *const context = QCoreApplication::instance();
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, onReply = std::move(onReply)] {
                         if (onReply && !watcher->isError())
                             onReply(watcher->reply());
                         watcher->deleteLater();
                     });
}

} // namespace

void ScreenSaverInhibitor::hold()
{
    m_held = true;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Inhibit"));
    call << QGuiApplication::applicationDisplayName() << reason();
    callAsync(call, [self = QPointer(this)](const QDBusMessage &reply) {
        const std::uint32_t cookie = reply.arguments().value(0).toUInt();
        // Released while the answer was on its way.
        if (!self || !self->m_held) {
            unInhibit(cookie);
            return;
        }
        self->m_cookie = cookie;
        self->m_haveCookie = true;
    });
}

void ScreenSaverInhibitor::release()
{
    m_held = false;
    if (m_haveCookie)
        unInhibit(m_cookie);
    m_haveCookie = false;
}

void ScreenSaverInhibitor::unInhibit(std::uint32_t cookie)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("UnInhibit"));
    call << cookie;
    QDBusConnection::sessionBus().send(call);
}

void PortalIdleInhibitor::hold()
{
    m_held = true;
    constexpr std::uint32_t idle = 8;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << QString() << idle << QVariantMap{{QStringLiteral("reason"), reason()}};
    callAsync(call, [self = QPointer(this)](const QDBusMessage &reply) {
        const auto request = qvariant_cast<QDBusObjectPath>(reply.arguments().value(0));
        if (!self || !self->m_held) {
            close(request);
            return;
        }
        self->m_request = request;
    });
}

void PortalIdleInhibitor::release()
{
    m_held = false;
    if (!m_request.path().isEmpty())
        close(m_request);
    m_request = {};
}

void PortalIdleInhibitor::close(const QDBusObjectPath &request)
{
    QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(
        portal, request.path(), QStringLiteral("org.freedesktop.portal.Request"),
        QStringLiteral("Close")));
}
