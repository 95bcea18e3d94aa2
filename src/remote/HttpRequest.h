// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// One parsed HTTP/1.x request. Header names are kept in lower case.
struct HttpRequest
{
    QByteArray method;
    QByteArray path;  // the target before '?', still percent-encoded
    QByteArray query; // after '?', without it
    QByteArray version;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The value of the first header of that (lower-case) name, empty when there is none.
    QByteArray header(QByteArrayView name) const
    {
        for (const auto &[key, value] : headers)
            if (key == name)
                return value;
        return {};
    }
    bool hasHeader(QByteArrayView name) const
    {
        for (const auto &item : headers)
            if (item.first == name)
                return true;
        return false;
    }
};
