// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HttpRequest.h"
#include "RemoteCommand.h"

#include <QByteArray>
#include <QJsonObject>

#include <optional>

// What the remote answers to a request, decided without sockets: the pages, the state, the
// commands with their token and arguments, and the WebSocket's upgrade. The server does
// what the route says; the token's wrong-guess count is its business.
namespace RemoteApi {

struct Route
{
    enum class Kind
    {
        Error,
        Page,
        State,
        Command,
        WebSocket
    };
    Kind kind = Kind::Error;
    int status = 0;          // for Error
    QByteArray page;         // for Page: the resource's name
    RemoteCommand command;   // for Command
    bool control = false;    // for WebSocket: the token was given and right
    bool wrongToken = false; // a token was given and was wrong (counts toward refusal)
};

// token: the current control token.
Route route(const HttpRequest &request, QByteArrayView token);

// A command from a WebSocket text message: {"cmd":"start","seconds":300} and the like, with
// the same arguments as the HTTP API. Empty for anything malformed (answered with 400).
std::optional<RemoteCommand> commandFromMessage(QByteArrayView message);

// The reason phrase of a status the remote answers with.
QByteArray reason(int status);

} // namespace RemoteApi
