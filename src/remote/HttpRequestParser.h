// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HttpRequest.h"

#include <QByteArrayView>

// Reads one HTTP/1.x request from the bytes a client has sent so far. Only what the remote
// needs: a request line, headers, and a body of Content-Length bytes, each within
// RemoteLimits::maxPart; chunked bodies and folded headers are refused.
namespace HttpRequestParser {

struct Result
{
    enum class Kind
    {
        Incomplete,
        Complete,
        Bad
    };
    Kind kind = Kind::Incomplete;
    // For Bad: the status to answer with (400, 413, 414, 431, 501, 505).
    int status = 0;
    HttpRequest request;
    // For Complete: the bytes the request took.
    qsizetype consumed = 0;
};

Result parse(QByteArrayView bytes);

} // namespace HttpRequestParser
