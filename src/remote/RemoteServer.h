// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"
#include "RemoteServerPort.h"
#include "TokenThrottle.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <cstdint>

class QTcpServer;
class QTcpSocket;
class QTimer;
class QWebSocket;
class QWebSocketServer;

// The remote's HTTP and WebSocket server. It lives on its own thread: the window's thread
// posts it the state and the token and is posted the commands, and never waits on a client.
// Every function below runs on the server's thread (QMetaObject::invokeMethod from others),
// and so do the callbacks.
//
// Requests are read by HttpRequestParser and answered as RemoteApi routes them, one request
// per connection; /ws is handed to Qt's WebSocket server once the request has passed.
class RemoteServer : public QObject, public RemoteServerPort
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteServer)

public:
    RemoteServer(Callbacks callbacks, MonotonicClock clock, QObject *parent = nullptr);
    ~RemoteServer() override;

    QObject *object() override { return this; }
    // Calls back listening() with the outcome.
    void listen(const QString &address, quint16 port) override;
    void setToken(const QByteArray &token) override;
    void publish(const QByteArray &state) override;
    void answer(quint64 ticket, int status, const QByteArray &state) override;
    // Connections open now: requests being read or answered, WebSocket handshakes, WebSockets.
    int connectionCount();

private:
    struct Waiting
    {
        QPointer<QTcpSocket> http;
        QPointer<QWebSocket> socket;
    };

    void acceptConnections();
    void readRequest(QTcpSocket *socket);
    void respond(QTcpSocket *socket, int status, const QByteArray &body,
                 const QByteArray &contentType = "application/json", bool page = false);
    void upgrade(QTcpSocket *socket);
    void acceptWebSocket();
    void readMessage(QWebSocket *socket, const QString &message);
    void send(QWebSocket *socket, const QByteArray &text);
    void sendHeartbeat();
    quint64 submit(const RemoteCommand &command, Waiting waiting);

    QTcpServer *const m_tcp;
    QWebSocketServer *const m_webSockets;
    QTimer *const m_heartbeat;
    const Callbacks m_callbacks;
    MonotonicClock m_clock;
    TokenThrottle m_throttle;
    QByteArray m_token;
    QByteArray m_state;
    std::chrono::nanoseconds m_lastSent{0};
    QSet<QTcpSocket *> m_requests;
    QList<QPointer<QTcpSocket>> m_handshakes;
    QHash<QWebSocket *, bool> m_sockets; // and whether each may control
    QHash<quint64, Waiting> m_waiting;
    quint64 m_nextTicket = 1;
    bool m_headOnly = false; // answering a HEAD request: the headers alone
    QHash<QByteArray, QByteArray> m_pages;
};
