// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteCommand.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;

// The remote's server as the window's side drives it. The server lives in the network
// module and the window's side in the program: they meet only through this plain interface,
// so that no QObject class is defined on both sides.
//
// Every function runs on the server's thread (QMetaObject::invokeMethod on object()), and
// the callbacks are called there too: the window's side posts them on to its own thread.
class RemoteServerPort
{
public:
    struct Callbacks
    {
        // The outcome of listen(): the port it listens on, or why it does not.
        std::function<void(bool ok, quint16 port, const QString &error)> listening;
        // A command to run; answer() with its ticket once it has run.
        std::function<void(quint64 ticket, const RemoteCommand &command)> commandReceived;
    };

    virtual ~RemoteServerPort() = default;

    // The object to move to the server's thread and to delete there, which deletes the server.
    virtual QObject *object() = 0;
    // address: an IPv4 or IPv6 address as text, empty for every address.
    virtual void listen(const QString &address, quint16 port) = 0;
    virtual void setToken(const QByteArray &token) = 0;
    // The state as JSON, sent to every WebSocket and kept for /api/state.
    virtual void publish(const QByteArray &state) = 0;
    // The outcome of a command: its status and the state after it.
    virtual void answer(quint64 ticket, int status, const QByteArray &state) = 0;
};
