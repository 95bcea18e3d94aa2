// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpRequestParser.h"

#include "RemoteLimits.h"

#include <algorithm>

namespace HttpRequestParser {

namespace {

using Kind = Result::Kind;

Result bad(int status)
{
    Result result;
    result.kind = Kind::Bad;
    result.status = status;
    return result;
}

bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isTokenChar);
}

// Visible ASCII only in the target: no spaces, no controls, no bytes above 0x7e.
bool isTarget(QByteArrayView text)
{
    return !text.isEmpty() && text.front() == '/' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7f; });
}

bool isFieldValue(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto u = quint8(c);
        return u == '\t' || (u >= 0x20 && u != 0x7f);
    });
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

bool parseRequestLine(QByteArrayView line, HttpRequest &request, int &status)
{
    const qsizetype sp1 = line.indexOf(' ');
    const qsizetype sp2 = sp1 < 0 ? -1 : line.indexOf(' ', sp1 + 1);
    if (sp2 < 0 || line.indexOf(' ', sp2 + 1) >= 0) {
        status = 400;
        return false;
    }
    const auto method = line.first(sp1);
    const auto target = line.sliced(sp1 + 1, sp2 - sp1 - 1);
    const auto version = line.sliced(sp2 + 1);
    if (!isToken(method) || !isTarget(target)) {
        status = 400;
        return false;
    }
    if (version != "HTTP/1.1" && version != "HTTP/1.0") {
        status = version.startsWith("HTTP/") ? 505 : 400;
        return false;
    }
    const qsizetype question = target.indexOf('?');
    request.method = method.toByteArray();
    request.path = (question < 0 ? target : target.first(question)).toByteArray();
    request.query = question < 0 ? QByteArray() : target.sliced(question + 1).toByteArray();
    request.version = version.toByteArray();
    return true;
}

} // namespace

Result parse(QByteArrayView bytes)
{
    const qsizetype lineEnd = bytes.indexOf("\r\n");
    if (lineEnd < 0)
        return bytes.size() > RemoteLimits::maxPart ? bad(414) : Result{};
    if (lineEnd > RemoteLimits::maxPart)
        return bad(414);

    Result result;
    HttpRequest &request = result.request;
    int status = 0;
    if (!parseRequestLine(bytes.first(lineEnd), request, status))
        return bad(status);

    // The header block after the request line, up to the empty line.
    const qsizetype headStart = lineEnd + 2;
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n", lineEnd);
    const qsizetype blockEnd = headEnd < 0 ? bytes.size() : headEnd + 2;
    if (blockEnd - headStart > RemoteLimits::maxPart)
        return bad(431);
    if (headEnd < 0)
        return {};

    qsizetype pos = headStart;
    while (pos < blockEnd) {
        const qsizetype end = bytes.indexOf("\r\n", pos);
        const auto line = bytes.sliced(pos, end - pos);
        pos = end + 2;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.first(colon)))
            return bad(400); // also a folded line, which starts with white space
        const auto value = trimmed(line.sliced(colon + 1));
        if (!isFieldValue(value))
            return bad(400);
        if (request.headers.size() == RemoteLimits::maxHeaders)
            return bad(431);
        request.headers.append({line.first(colon).toByteArray().toLower(), value.toByteArray()});
    }

    if (request.hasHeader("transfer-encoding"))
        return bad(501);
    qsizetype length = 0;
    bool seenLength = false;
    for (const auto &[name, value] : request.headers) {
        if (name != "content-length")
            continue;
        if (value.isEmpty() || value.size() > 9 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return bad(400);
        const qsizetype thisLength = value.toLongLong();
        if (seenLength && thisLength != length)
            return bad(400);
        seenLength = true;
        length = thisLength;
    }
    if (length > RemoteLimits::maxPart)
        return bad(413);
    const qsizetype bodyStart = headEnd + 4;
    if (bytes.size() - bodyStart < length)
        return {};
    request.body = bytes.sliced(bodyStart, length).toByteArray();
    result.kind = Kind::Complete;
    result.consumed = bodyStart + length;
    return result;
}

} // namespace HttpRequestParser
