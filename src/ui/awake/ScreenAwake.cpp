// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenAwake.h"

#include "AwakeBackend.h"
#include "AwakeModule.h"
#include "DBusInhibitors.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

Q_LOGGING_CATEGORY(lcAwake, "tarvik.awake", QtWarningMsg)

ScreenAwake::DisplayServer ScreenAwake::currentDisplayServer()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") ? DisplayServer::X11
                                                                   : DisplayServer::Wayland;
}

ScreenAwake::ScreenAwake(QWidget *window, QObject *parent, DisplayServer server)
    : QObject(parent)
    , m_window(window)
    , m_server(server)
{
    // A window shown again has a new surface, which needs an inhibitor of its own.
    if (window)
        window->installEventFilter(this);
}

ScreenAwake::~ScreenAwake()
{
    releaseBackend();
}

void ScreenAwake::setHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    ++m_generation;
    if (held)
        chooseAndHold();
    else
        releaseBackend();
}

void ScreenAwake::chooseAndHold()
{
    if (m_server == DisplayServer::X11) {
        const quint64 generation = m_generation;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            holdWith(AwakeModule::x11ScreenSaverSuspend());
            return;
        }
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        ask << ScreenSaverInhibitor::service;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
            watcher->deleteLater();
            if (generation != m_generation || !m_held)
                return;
            const QDBusPendingReply<bool> owned = *watcher;
            if (!owned.isError() && owned.value())
                holdWith(std::make_unique<ScreenSaverInhibitor>());
            else
                holdWith(AwakeModule::x11ScreenSaverSuspend());
        });
        return;
    }
    std::unique_ptr<AwakeBackend> backend;
    if (m_window && m_window->isVisible())
        backend = AwakeModule::waylandIdleInhibitor(m_window->windowHandle());
    if (!backend && QDBusConnection::sessionBus().isConnected())
        backend = std::make_unique<PortalIdleInhibitor>();
    holdWith(std::move(backend));
}

void ScreenAwake::holdWith(std::unique_ptr<AwakeBackend> backend)
{
    releaseBackend();
    m_backend = std::move(backend);
    if (!m_backend) {
        qCInfo(lcAwake, "no way to keep the screen on");
        return;
    }
    m_backend->hold();
    qCInfo(lcAwake) << "screen held on by" << m_backend->name();
}

void ScreenAwake::releaseBackend()
{
    if (!m_backend)
        return;
    m_backend->release();
    qCInfo(lcAwake) << "screen released by" << m_backend->name();
    m_backend.reset();
}

bool ScreenAwake::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
        m_held && m_server == DisplayServer::Wayland) {
        // After the platform window has made or dropped its surface.
        QTimer::singleShot(0, this, [this, generation = m_generation] {
            if (m_held && generation == m_generation) {
                ++m_generation;
                chooseAndHold();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}
