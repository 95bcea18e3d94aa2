// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteControl.h"

#include "RemoteModule.h"
#include "RemoteServices.h"
#include "RemoteToken.h"
#include "TimerCore.h"

#include <QJsonDocument>
#include <QJsonObject>

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

template<typename F>
void RemoteControl::post(F f)
{
    QMetaObject::invokeMethod(m_server->object(),
                              [server = m_server, f = std::move(f)] { f(server); });
}

void RemoteControl::start(quint16 port)
{
    stop();
    m_running = true;
    m_error.clear();
    m_token = RemoteToken::generate();
    const quint64 run = ++m_run;
    if (!m_services) {
        const RemoteModule::Loaded &module = RemoteModule::installed();
        m_services = module.services;
        if (!m_services) {
            // After this call, as the server reports a port that is taken.
            QMetaObject::invokeMethod(
                this, [this, run, error = module.error] { onListening(run, false, 0, error); },
                Qt::QueuedConnection);
            return;
        }
    }
    // The server calls these on its thread.
    RemoteServerPort::Callbacks callbacks;
    callbacks.listening = [this, run](bool ok, quint16 port, const QString &error) {
        QMetaObject::invokeMethod(
            this, [this, run, ok, port, error] { onListening(run, ok, port, error); },
            Qt::QueuedConnection);
    };
    callbacks.commandReceived = [this, run](quint64 ticket, const RemoteCommand &command) {
        QMetaObject::invokeMethod(
            this, [this, run, ticket, command] { onCommand(run, ticket, command); },
            Qt::QueuedConnection);
    };
    m_server = m_services->createServer(std::move(callbacks));
    QObject *server = m_server->object();
    server->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, server, &QObject::deleteLater);
    m_thread.start();
    post(
        [token = m_token, state = stateJson(), address = m_listen, port](RemoteServerPort *server) {
            server->setToken(token);
            server->publish(state);
            server->listen(address, port);
        });
}

void RemoteControl::stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_server) {
        // The server's thread never waits on a client either, so this returns at once.
        m_thread.quit();
        m_thread.wait();
        m_server = nullptr;
    }
    m_port = 0;
    m_token.clear();
    emit linksChanged();
}

void RemoteControl::renewToken()
{
    if (!m_server)
        return;
    m_token = RemoteToken::generate();
    post([token = m_token](RemoteServerPort *server) { server->setToken(token); });
    emit linksChanged();
}

QString RemoteControl::viewUrl() const
{
    if (!m_port)
        return {};
    return QStringLiteral("http://%1:%2/view").arg(m_services->urlHost(m_listen)).arg(m_port);
}

QString RemoteControl::controlUrl() const
{
    QString url = viewUrl();
    if (url.isEmpty())
        return {};
    url.chop(4);
    return url + QStringLiteral("control?t=") + QString::fromLatin1(m_token);
}

QImage RemoteControl::qrCode(const QString &text) const
{
    return m_services ? m_services->qrCode(text) : QImage();
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
    post([state = stateJson()](RemoteServerPort *server) { server->publish(state); });
}

void RemoteControl::onListening(quint64 run, bool ok, quint16 port, const QString &error)
{
    if (run != m_run || !m_running)
        return;
    if (!ok) {
        m_error = error;
        emit failed(error);
        return;
    }
    m_port = port;
    emit linksChanged();
}

void RemoteControl::onCommand(quint64 run, quint64 ticket, const RemoteCommand &command)
{
    // A command for a server stopped since has no one to answer to, and its ticket would
    // mean another request to the server now.
    if (run != m_run || !m_server)
        return;
    const int status = execute(command);
    if (run != m_run || !m_server) // stopped while the command ran
        return;
    post([ticket, status, state = stateJson()](RemoteServerPort *server) {
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
