// SPDX-License-Identifier: GPL-3.0-or-later
#include "HandOver.h"

#include "CommandLine.h"
#include "TimerBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

namespace {

// The running program may be busy for a moment (a transition, a file on a slow disk).
constexpr int callTimeout = 25000;
constexpr int quitTimeout = 10000;

bool isNobody(const QDBusMessage &reply)
{
    const QString error = reply.errorName();
    return error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

QDBusMessage call(const QDBusConnection &bus, const QString &interface, const QString &method,
                  const QVariantList &arguments)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(TimerBus::service, TimerBus::path, interface, method);
    // Only a program that runs already; the bus must not start one.
    message.setAutoStartService(false);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, callTimeout);
}

// Waits until the program has let go of its name, so that a launch right after --quit starts
// a new one.
void waitForEnd(const QDBusConnection &bus)
{
    QDBusServiceWatcher watcher(TimerBus::service, bus,
                                QDBusServiceWatcher::WatchForUnregistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, &QEventLoop::quit);
    QTimer::singleShot(quitTimeout, &loop, &QEventLoop::quit);
    if (bus.interface()->isServiceRegistered(TimerBus::service))
        loop.exec();
}

// Qt's bus thread still announces a failed call after the caller has its reply; one more
// round trip lets it finish before this short-lived launch ends and its types go.
void settleFailure(const QDBusConnection &bus)
{
    bus.interface()->isServiceRegistered(TimerBus::service);
}

HandOver::Result failure(const QDBusConnection &bus, const QDBusMessage &reply)
{
    settleFailure(bus);

    const bool badArgument =
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs");
    return {badArgument ? CommandLine::BadInput : CommandLine::Refused,
            {},
            QStringLiteral("tarvik-timer: %1\n").arg(reply.errorMessage())};
}

} // namespace

namespace HandOver {

std::optional<Result> send(const Request &request, const QDBusConnection &bus)
{
    bool first = true;
    for (const Request::Call &each : request.calls()) {
        const QDBusMessage reply = call(bus, TimerBus::interface, each.method, each.arguments);
        if (first && isNobody(reply)) {
            settleFailure(bus);
            return std::nullopt;
        }
        first = false;
        if (reply.type() == QDBusMessage::ErrorMessage)
            return failure(bus, reply);
        if (each.method == QLatin1String("Quit"))
            waitForEnd(bus);
    }
    if (request.command == Request::Command::RemoteUrl) {
        const QDBusMessage reply =
            call(bus, TimerBus::interface, QStringLiteral("RemoteLinks"), {});
        if (first && isNobody(reply)) {
            settleFailure(bus);
            return std::nullopt;
        }
        if (reply.type() == QDBusMessage::ErrorMessage)
            return failure(bus, reply);
        const QVariantList links = reply.arguments();
        return Result{CommandLine::Done,
                      links.value(0).toString() + QLatin1Char('\n') + links.value(1).toString() +
                          QLatin1Char('\n'),
                      {}};
    }
    if (request.command != Request::Command::Status)
        return Result{};

    const QDBusMessage reply = call(bus, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("GetAll"), {TimerBus::interface});
    if (first && isNobody(reply)) {
        settleFailure(bus);
        return std::nullopt;
    }
    if (reply.type() == QDBusMessage::ErrorMessage)
        return failure(bus, reply);
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    return Result{CommandLine::Done,
                  properties.value(QStringLiteral("State")).toString() + QLatin1Char(' ') +
                      properties.value(QStringLiteral("Display")).toString() + QLatin1Char('\n'),
                  {}};
}

} // namespace HandOver
