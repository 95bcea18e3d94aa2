// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteServer.h"

#include "HttpRequestParser.h"
#include "PeerRules.h"
#include "RemoteApi.h"
#include "RemoteLimits.h"
#include "RemoteToken.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <QWebSocket>
#include <QWebSocketServer>

namespace {

// A WebSocket reader that lets this much pile up unread is dropped, not waited for.
constexpr qint64 maxUnsent = 64 * 1024;
// What a connection may hold unread: one request at its limits.
constexpr qint64 readBuffer = 3 * RemoteLimits::maxPart + 1024;

QByteArray contentTypeOf(const QByteArray &name)
{
    if (name.endsWith(".html"))
        return "text/html; charset=utf-8";
    if (name.endsWith(".js"))
        return "text/javascript; charset=utf-8";
    return "text/css; charset=utf-8";
}

QByteArray errorBody(int status)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("error"),
                                      QString::fromLatin1(RemoteApi::reason(status))}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

RemoteServer::RemoteServer(Callbacks callbacks, MonotonicClock clock, QObject *parent)
    : QObject(parent)
    , m_tcp(new QTcpServer(this))
    , m_webSockets(new QWebSocketServer(QStringLiteral("tarvik-timer"),
                                        QWebSocketServer::NonSecureMode, this))
    , m_heartbeat(new QTimer(this))
    , m_callbacks(std::move(callbacks))
    , m_clock(std::move(clock))
    , m_throttle(m_clock)
{
    Q_INIT_RESOURCE(remote);
    for (const char *name : {"view.html", "control.html", "remote.js", "remote.css"}) {
        QFile file(QStringLiteral(":/remote/") + QLatin1StringView(name));
        if (file.open(QIODevice::ReadOnly))
            m_pages.insert(name, file.readAll());
    }
    m_tcp->setMaxPendingConnections(RemoteLimits::maxConnections);
    connect(m_tcp, &QTcpServer::newConnection, this, &RemoteServer::acceptConnections);
    connect(m_webSockets, &QWebSocketServer::newConnection, this, &RemoteServer::acceptWebSocket);
    m_heartbeat->setInterval(RemoteLimits::heartbeat);
    connect(m_heartbeat, &QTimer::timeout, this, &RemoteServer::sendHeartbeat);
}

RemoteServer::~RemoteServer()
{
    const auto sockets = m_sockets.keys();
    m_sockets.clear();
    for (QWebSocket *socket : sockets) {
        disconnect(socket, nullptr, this, nullptr);
        delete socket;
    }
}

void RemoteServer::listen(const QString &address, quint16 port)
{
    m_tcp->close();
    const bool ok = m_tcp->listen(
        address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address), port);
    if (ok)
        m_heartbeat->start();
    if (m_callbacks.listening)
        m_callbacks.listening(ok, ok ? m_tcp->serverPort() : port,
                              ok ? QString() : m_tcp->errorString());
}

void RemoteServer::setToken(const QByteArray &token)
{
    m_token = token;
    m_throttle.clear();
    // Sockets that controlled with the old token only watch from now on.
    for (auto it = m_sockets.begin(); it != m_sockets.end(); ++it)
        it.value() = false;
}

void RemoteServer::acceptConnections()
{
    while (QTcpSocket *socket = m_tcp->nextPendingConnection()) {
        if (!PeerRules::isLocalNetwork(socket->peerAddress()) ||
            connectionCount() >= RemoteLimits::maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_requests.insert(socket);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_requests.remove(socket); });
        socket->setReadBufferSize(readBuffer);
        // From its first byte to its last answer, a connection has this long.
        auto *deadline = new QTimer(socket);
        deadline->setObjectName(QStringLiteral("deadline"));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, &QTcpSocket::abort);
        deadline->start(RemoteLimits::requestTimeout);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QAbstractSocket::errorOccurred, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

int RemoteServer::connectionCount()
{
    m_handshakes.removeIf([](const QPointer<QTcpSocket> &tcp) {
        return !tcp || tcp->state() == QAbstractSocket::UnconnectedState;
    });
    return int(m_requests.size() + m_handshakes.size() + m_sockets.size());
}

void RemoteServer::readRequest(QTcpSocket *socket)
{
    const QByteArray bytes = socket->peek(readBuffer);
    const auto parsed = HttpRequestParser::parse(bytes);
    using Kind = HttpRequestParser::Result::Kind;
    if (parsed.kind == Kind::Incomplete) {
        if (bytes.size() >= readBuffer)
            respond(socket, 431, errorBody(431));
        return;
    }
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr); // one request per connection
    if (parsed.kind == Kind::Bad) {
        respond(socket, parsed.status, errorBody(parsed.status));
        return;
    }
    const QHostAddress peer = socket->peerAddress();
    if (m_throttle.isRefused(peer)) {
        respond(socket, 429, errorBody(429));
        return;
    }
    const HttpRequest &request = parsed.request;
    const auto route = RemoteApi::route(request, m_token);
    if (route.wrongToken)
        m_throttle.recordWrongToken(peer);
    using Route = RemoteApi::Route::Kind;
    m_headOnly = request.method == "HEAD";
    switch (route.kind) {
    case Route::Error:
        respond(socket, route.status, errorBody(route.status));
        break;
    case Route::Page:
        respond(socket, 200, m_pages.value(route.page), contentTypeOf(route.page), true);
        break;
    case Route::State:
        respond(socket, 200, m_state);
        break;
    case Route::Command:
        socket->read(parsed.consumed);
        submit(route.command, Waiting{socket, nullptr});
        break;
    case Route::WebSocket:
        upgrade(socket); // the token is read again from the WebSocket's address
        break;
    }
    m_headOnly = false;
}

void RemoteServer::respond(QTcpSocket *socket, int status, const QByteArray &body,
                           const QByteArray &contentType, bool page)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + RemoteApi::reason(status) +
                      "\r\nContent-Type: " + contentType +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\nCache-Control: no-store"
                      "\r\nX-Content-Type-Options: nosniff\r\nReferrer-Policy: no-referrer"
                      "\r\nX-Frame-Options: DENY\r\n";
    if (page)
        head += "Content-Security-Policy: default-src 'self'; connect-src 'self'; "
                "img-src 'self' data:; frame-ancestors 'none'\r\n";
    if (status == 429)
        head += "Retry-After: " + QByteArray::number(RemoteLimits::refusal.count()) + "\r\n";
    socket->write(head + "\r\n" + (m_headOnly ? QByteArray() : body));
    // Whatever else arrives is not read; the client has until its deadline to take the answer.
    socket->disconnectFromHost();
}

void RemoteServer::upgrade(QTcpSocket *socket)
{
    delete socket->findChild<QTimer *>(QStringLiteral("deadline"));
    disconnect(socket, nullptr, this, nullptr);
    disconnect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    disconnect(socket, &QAbstractSocket::errorOccurred, socket, &QObject::deleteLater);
    m_requests.remove(socket);
    // Counted as a handshake until Qt's WebSocket server hands it back or drops it.
    m_handshakes.append(socket);
    m_webSockets->handleConnection(socket);
}

void RemoteServer::acceptWebSocket()
{
    while (QWebSocket *socket = m_webSockets->nextPendingConnection()) {
        socket->setParent(this);
        socket->setMaxAllowedIncomingFrameSize(RemoteLimits::maxPart);
        socket->setMaxAllowedIncomingMessageSize(RemoteLimits::maxPart);
        const QUrlQuery query(socket->requestUrl());
        const bool control =
            query.hasQueryItem(QStringLiteral("t")) &&
            RemoteToken::equals(m_token, query.queryItemValue(QStringLiteral("t")).toLatin1());
        m_sockets.insert(socket, control);
        m_handshakes.removeIf([socket](const QPointer<QTcpSocket> &tcp) {
            return !tcp || (tcp->peerPort() == socket->peerPort() &&
                            tcp->peerAddress() == socket->peerAddress());
        });
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString &message) { readMessage(socket, message); });
        connect(socket, &QWebSocket::binaryMessageReceived, socket,
                [socket] { socket->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported); });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            m_sockets.remove(socket);
            socket->deleteLater();
        });
        if (!m_state.isEmpty())
            send(socket, m_state);
    }
}

void RemoteServer::readMessage(QWebSocket *socket, const QString &message)
{
    const auto command = RemoteApi::commandFromMessage(message.toUtf8());
    const auto reply = [this, socket](int status) {
        send(socket, "{\"status\":" + QByteArray::number(status) + "}");
    };
    if (!m_sockets.value(socket))
        reply(401);
    else if (!command)
        reply(400);
    else
        submit(*command, Waiting{nullptr, socket});
}

quint64 RemoteServer::submit(const RemoteCommand &command, Waiting waiting)
{
    const quint64 ticket = m_nextTicket++;
    m_waiting.insert(ticket, waiting);
    if (m_callbacks.commandReceived)
        m_callbacks.commandReceived(ticket, command);
    return ticket;
}

void RemoteServer::answer(quint64 ticket, int status, const QByteArray &state)
{
    const Waiting waiting = m_waiting.take(ticket);
    if (waiting.http) {
        respond(waiting.http, status, status == 200 ? state : errorBody(status));
    } else if (waiting.socket && m_sockets.contains(waiting.socket)) {
        send(waiting.socket, "{\"status\":" + QByteArray::number(status) + "}");
    }
}

void RemoteServer::publish(const QByteArray &state)
{
    m_state = state;
    m_lastSent = m_clock();
    // A copy: a reader too slow is dropped on the way, which takes it out of the table.
    const auto sockets = m_sockets.keys();
    for (QWebSocket *socket : sockets)
        send(socket, state);
}

void RemoteServer::send(QWebSocket *socket, const QByteArray &text)
{
    if (socket->bytesToWrite() > maxUnsent) {
        socket->abort();
        return;
    }
    socket->sendTextMessage(QString::fromUtf8(text));
    // Out now, not at the next turn of the loop: the first readers need not wait for the last.
    socket->flush();
}

void RemoteServer::sendHeartbeat()
{
    // A page hears from the server at least every second, also while nothing changes.
    if (m_clock() - m_lastSent < RemoteLimits::heartbeat - std::chrono::milliseconds(100))
        return;
    m_lastSent = m_clock();
    const auto sockets = m_sockets.keys();
    for (QWebSocket *socket : sockets)
        send(socket, "{\"alive\":true}");
}
