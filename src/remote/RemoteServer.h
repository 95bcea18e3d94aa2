// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"
#include "RemoteCommand.h"
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
// Every function below runs on the server's thread (QMetaObject::invokeMethod from others).
//
// Requests are read by HttpRequestParser and answered as RemoteApi routes them, one request
// per connection; /ws is handed to Qt's WebSocket server once the request has passed.
class RemoteServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteServer)

public:
    explicit RemoteServer(MonotonicClock clock = Clocks::steady(), QObject *parent = nullptr);
    ~RemoteServer() override;

    // Emits listening() with the outcome.
    void listen(const QHostAddress &address, quint16 port);
    void setToken(const QByteArray &token);
    // The state as JSON, sent to every WebSocket and kept for /api/state.
    void publish(const QByteArray &state);
    // The outcome of a command: its status and the state after it.
    void answer(quint64 ticket, int status, const QByteArray &state);
    // Connections open now: requests being read or answered, WebSocket handshakes, WebSockets.
    int connectionCount();

signals:
    void listening(bool ok, quint16 port, const QString &error);
    void commandReceived(quint64 ticket, const RemoteCommand &command);

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
