// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteApi.h"

#include "RemoteLimits.h"
#include "RemoteToken.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QStringDecoder>
#include <QUrlQuery>

#include <array>
#include <cmath>

namespace RemoteApi {

namespace {

using Kind = RemoteCommand::Kind;

struct CommandName
{
    QByteArrayView name;
    Kind kind;
};

// The one table of command names, for the API's paths and the WebSocket's "cmd".
constexpr std::array commandNames{
    CommandName{"start", Kind::Start},   CommandName{"pause", Kind::Pause},
    CommandName{"resume", Kind::Resume}, CommandName{"end", Kind::End},
    CommandName{"add", Kind::Add},       CommandName{"message", Kind::Message},
    CommandName{"mode", Kind::Mode},
};

struct PageName
{
    QByteArrayView path;
    QByteArrayView resource;
};

constexpr std::array openPages{
    PageName{"/", "view.html"},
    PageName{"/view", "view.html"},
    PageName{"/remote.js", "remote.js"},
    PageName{"/remote.css", "remote.css"},
};

Route error(int status, bool wrongToken = false)
{
    Route route;
    route.status = status;
    route.wrongToken = wrongToken;
    return route;
}

std::optional<Kind> commandKind(QByteArrayView name)
{
    for (const auto &entry : commandNames)
        if (entry.name == name)
            return entry.kind;
    return std::nullopt;
}

std::optional<QString> utf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Arguments as text or as a JSON value: seconds an integer in range, text UTF-8.
std::optional<std::int32_t> secondsFrom(const QJsonValue &value, bool allowNegative)
{
    double number = 0;
    if (value.isDouble()) {
        number = value.toDouble();
    } else if (value.isString()) {
        const QString text = value.toString();
        if (text.isEmpty() || text.size() > 8)
            return std::nullopt;
        bool ok = false;
        number = text.toInt(&ok, 10);
        if (!ok || text.startsWith(u'+') || text.contains(u' '))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const double low = allowNegative ? -RemoteLimits::maxSeconds : 0;
    if (!std::isfinite(number) || number != std::trunc(number) || number < low ||
        number > RemoteLimits::maxSeconds)
        return std::nullopt;
    return std::int32_t(number);
}

// Control characters would break the window's one line: they become spaces.
QString messageLine(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return text.trimmed();
}

std::optional<RemoteCommand> commandWith(Kind kind, const QJsonObject &args)
{
    RemoteCommand command;
    command.kind = kind;
    switch (kind) {
    case Kind::Start:
        if (args.contains(u"seconds")) {
            const auto seconds = secondsFrom(args.value(u"seconds"), false);
            if (!seconds)
                return std::nullopt;
            command.hasSeconds = true;
            command.seconds = *seconds;
        }
        break;
    case Kind::Add: {
        const auto seconds = secondsFrom(args.value(u"seconds"), true);
        if (!seconds)
            return std::nullopt;
        command.hasSeconds = true;
        command.seconds = *seconds;
        break;
    }
    case Kind::Message: {
        const QJsonValue text = args.value(u"text");
        if (!text.isString() || text.toString().size() > RemoteLimits::maxMessageLength)
            return std::nullopt;
        command.text = messageLine(text.toString());
        break;
    }
    case Kind::Mode: {
        const QString mode = args.value(u"mode").toString();
        if (mode != u"full" && mode != u"win" && mode != u"hide")
            return std::nullopt;
        command.text = mode;
        break;
    }
    case Kind::Pause:
    case Kind::Resume:
    case Kind::End:
        break;
    }
    return command;
}

// The query's parameters and a JSON object body, the body's winning; empty when either
// is malformed.
std::optional<QJsonObject> argumentsOf(const HttpRequest &request)
{
    QJsonObject args;
    if (!request.query.isEmpty()) {
        const auto query = utf8(request.query);
        if (!query)
            return std::nullopt;
        const QUrlQuery items(*query);
        for (const auto &[key, value] : items.queryItems(QUrl::FullyDecoded)) {
            // A percent-encoded byte that is not UTF-8 decodes to U+FFFD.
            if (value.contains(QChar::ReplacementCharacter))
                return std::nullopt;
            args.insert(key, value);
        }
    }
    if (!request.body.trimmed().isEmpty()) {
        if (!utf8(request.body))
            return std::nullopt;
        QJsonParseError error{};
        const auto document = QJsonDocument::fromJson(request.body, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return std::nullopt;
        const QJsonObject body = document.object();
        for (auto it = body.begin(); it != body.end(); ++it)
            args.insert(it.key(), it.value());
    }
    return args;
}

QByteArray queryValue(QByteArrayView query, QByteArrayView name)
{
    for (const QByteArray &item : QByteArrayView(query).toByteArray().split('&')) {
        const qsizetype eq = item.indexOf('=');
        if (eq >= 0 && QByteArrayView(item).first(eq) == name)
            return QByteArray::fromPercentEncoding(item.sliced(eq + 1));
    }
    return {};
}

bool hasQueryName(QByteArrayView query, QByteArrayView name)
{
    for (const QByteArray &item : QByteArrayView(query).toByteArray().split('&')) {
        const qsizetype eq = item.indexOf('=');
        if (QByteArrayView(item).first(eq < 0 ? item.size() : eq) == name)
            return true;
    }
    return false;
}

bool isGet(const HttpRequest &request)
{
    return request.method == "GET" || request.method == "HEAD";
}

// The WebSocket's Origin, when a browser sends one, names this very host.
bool originMatchesHost(const HttpRequest &request)
{
    if (!request.hasHeader("origin"))
        return true;
    const QByteArray host = request.header("host");
    return !host.isEmpty() && request.header("origin") == "http://" + host;
}

Route webSocket(const HttpRequest &request, QByteArrayView token)
{
    if (!isGet(request))
        return error(405);
    if (request.header("upgrade").toLower() != "websocket" ||
        !request.header("connection").toLower().contains("upgrade"))
        return error(426);
    if (!originMatchesHost(request))
        return error(403);
    Route route;
    route.kind = Route::Kind::WebSocket;
    if (hasQueryName(request.query, "t")) {
        if (!RemoteToken::equals(token, queryValue(request.query, "t")))
            return error(403, true);
        route.control = true;
    }
    return route;
}

Route command(const HttpRequest &request, QByteArrayView name, QByteArrayView token)
{
    const auto kind = commandKind(name);
    if (!kind)
        return error(404);
    if (request.method != "POST")
        return error(405); // no state changes through GET
    const QByteArray authorization = request.header("authorization");
    if (!request.hasHeader("authorization"))
        return error(401);
    if (!authorization.startsWith("Bearer ") ||
        !RemoteToken::equals(token, QByteArrayView(authorization).sliced(7).trimmed()))
        return error(403, true);
    const auto args = argumentsOf(request);
    if (!args)
        return error(400);
    const auto parsed = commandWith(*kind, *args);
    if (!parsed)
        return error(400);
    Route route;
    route.kind = Route::Kind::Command;
    route.command = *parsed;
    return route;
}

} // namespace

Route route(const HttpRequest &request, QByteArrayView token)
{
    const QByteArrayView path = request.path;
    if (path.startsWith("/api/") && path != "/api/state")
        return command(request, path.sliced(5), token);
    if (path == "/ws")
        return webSocket(request, token);

    Route route;
    if (path == "/api/state") {
        route.kind = Route::Kind::State;
    } else if (path == "/control") {
        if (!hasQueryName(request.query, "t"))
            return error(401);
        if (!RemoteToken::equals(token, queryValue(request.query, "t")))
            return error(403, true);
        route.kind = Route::Kind::Page;
        route.page = "control.html";
    } else {
        for (const auto &page : openPages)
            if (page.path == path) {
                route.kind = Route::Kind::Page;
                route.page = page.resource.toByteArray();
            }
        if (route.kind != Route::Kind::Page)
            return error(404);
    }
    if (!isGet(request))
        return error(405);
    return route;
}

std::optional<RemoteCommand> commandFromMessage(QByteArrayView message)
{
    if (message.size() > RemoteLimits::maxPart || !utf8(message))
        return std::nullopt;
    QJsonParseError parseError{};
    const auto document = QJsonDocument::fromJson(message.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue name = object.value(u"cmd");
    if (!name.isString())
        return std::nullopt;
    const auto kind = commandKind(name.toString().toUtf8());
    if (!kind)
        return std::nullopt;
    return commandWith(*kind, object);
}

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 426:
        return "Upgrade Required";
    case 429:
        return "Too Many Requests";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Error";
    }
}

} // namespace RemoteApi
