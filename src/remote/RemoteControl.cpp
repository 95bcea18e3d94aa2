// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteControl.h"

#include "RemoteServer.h"
#include "RemoteToken.h"
#include "TimerCore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>

#include <chrono>

RemoteControl::RemoteControl(TimerCore *core, QObject *parent)
    : QObject(parent)
    , m_core(core)
{
    m_thread.setObjectName(QStringLiteral("remote"));
    connect(core, &TimerCore::stateChanged, this, &RemoteControl::schedulePublish);
    connect(core, &TimerCore::countersChanged, this, &RemoteControl::schedulePublish);
    // The display changes last in a tick, after the counters: its message goes out at once,
    // before the window repaints, so the pages keep step with the window.
    connect(core, &TimerCore::displayChanged, this, &RemoteControl::publish);
}

RemoteControl::~RemoteControl()
{
    stop();
}

void RemoteControl::start(quint16 port)
{
    stop();
    m_error.clear();
    m_token = RemoteToken::generate();
    m_server = new RemoteServer;
    m_server->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    connect(m_server, &RemoteServer::listening, this, &RemoteControl::onListening);
    connect(m_server, &RemoteServer::commandReceived, this, &RemoteControl::onCommand);
    m_thread.start();
    QMetaObject::invokeMethod(m_server, [server = m_server, token = m_token, state = stateJson(),
                                         address = m_listen, port] {
        server->setToken(token);
        server->publish(state);
        server->listen(address, port);
    });
}

void RemoteControl::stop()
{
    if (!m_server)
        return;
    // The server's thread never waits on a client either, so this returns at once.
    m_thread.quit();
    m_thread.wait();
    m_server = nullptr;
    m_port = 0;
    m_token.clear();
    emit linksChanged();
}

void RemoteControl::renewToken()
{
    if (!m_server)
        return;
    m_token = RemoteToken::generate();
    QMetaObject::invokeMethod(m_server,
                              [server = m_server, token = m_token] { server->setToken(token); });
    emit linksChanged();
}

QString RemoteControl::viewUrl() const
{
    if (!m_port)
        return {};
    const QString host =
        m_listen == QHostAddress::Any || m_listen == QHostAddress::AnyIPv4 ? lanAddress()
        : m_listen.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + m_listen.toString() + u']'
                                                               : m_listen.toString();
    return QStringLiteral("http://%1:%2/view").arg(host).arg(m_port);
}

QString RemoteControl::controlUrl() const
{
    QString url = viewUrl();
    if (url.isEmpty())
        return {};
    url.chop(4);
    return url + QStringLiteral("control?t=") + QString::fromLatin1(m_token);
}

QString RemoteControl::lanAddress()
{
    // The first private IPv4 address of an interface that is up: what a phone on the same
    // network reaches.
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLinkLocal() &&
                (address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8"))) ||
                 address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("172.16.0.0/12"))) ||
                 address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("192.168.0.0/16")))))
                return address.toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

QByteArray RemoteControl::stateJson() const
{
    QJsonObject state{
        {QStringLiteral("state"), CommandStates::stateName(m_core->state())},
        {QStringLiteral("total"), m_core->total()},
        {QStringLiteral("elapsed"), m_core->elapsed()},
        {QStringLiteral("remaining"), m_core->remaining()},
        {QStringLiteral("display"), m_core->displayText()},
        {QStringLiteral("message"), m_message},
    };
    // The pages count on from here to the next tick, so that they keep step with the window
    // between messages.
    if (const auto next = m_core->timeToNextTick())
        state.insert(QStringLiteral("next"),
                     qint64(std::chrono::ceil<std::chrono::milliseconds>(*next).count()));
    if (m_hooks.look) {
        const Look look = m_hooks.look();
        state.insert(QStringLiteral("color"), look.foreground);
        state.insert(QStringLiteral("background"), look.background);
    }
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}

void RemoteControl::schedulePublish()
{
    // The moves and the tick change several things at once; one message carries them all.
    if (!m_server || m_publishQueued)
        return;
    m_publishQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_publishQueued = false;
            publish();
        },
        Qt::QueuedConnection);
}

void RemoteControl::publish()
{
    if (!m_server)
        return;
    QMetaObject::invokeMethod(m_server,
                              [server = m_server, state = stateJson()] { server->publish(state); });
}

void RemoteControl::onListening(bool ok, quint16 port, const QString &error)
{
    if (!ok) {
        m_error = error;
        emit failed(error);
        return;
    }
    m_port = port;
    emit linksChanged();
}

void RemoteControl::onCommand(quint64 ticket, const RemoteCommand &command)
{
    const int status = execute(command);
    if (!m_server)
        return;
    QMetaObject::invokeMethod(m_server, [server = m_server, ticket, status, state = stateJson()] {
        server->answer(ticket, status, state);
    });
}

int RemoteControl::execute(const RemoteCommand &command)
{
    using Kind = RemoteCommand::Kind;
    bool done = false;
    const auto run = [this, &command, &done] {
        switch (command.kind) {
        case Kind::Start:
            done = command.hasSeconds ? m_core->startFor(command.seconds) : m_core->start();
            break;
        case Kind::Pause:
            done = m_core->pause();
            break;
        case Kind::Resume:
            done = m_core->resume();
            break;
        case Kind::End:
            done = m_core->end();
            break;
        case Kind::Add:
            done = m_core->addSeconds(command.seconds);
            break;
        case Kind::Message:
            m_message = command.text;
            emit messageChanged(m_message);
            schedulePublish();
            done = true;
            break;
        case Kind::Mode:
            if (m_hooks.displayMode)
                m_hooks.displayMode(command.text);
            done = true;
            break;
        }
    };
    if (m_hooks.guarded) {
        if (!m_hooks.guarded(run))
            return 500;
    } else {
        run();
    }
    return done ? 200 : 409;
}
