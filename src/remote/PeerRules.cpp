// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeerRules.h"

#include <QHostAddress>

namespace PeerRules {

namespace {

bool isLocalIPv4(quint32 a)
{
    const auto inNet = [a](quint32 net, int bits) {
        return (a >> (32 - bits)) == (net >> (32 - bits));
    };
    return inNet(0x7f000000, 8)      // 127/8
           || inNet(0x0a000000, 8)   // 10/8
           || inNet(0xac100000, 12)  // 172.16/12
           || inNet(0xc0a80000, 16)  // 192.168/16
           || inNet(0xa9fe0000, 16); // 169.254/16
}

} // namespace

bool isLocalNetwork(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4); // also unwraps ::ffff:a.b.c.d
    if (isV4)
        return isLocalIPv4(v4);
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    if (address == QHostAddress(QHostAddress::LocalHostIPv6))
        return true;
    const Q_IPV6ADDR six = address.toIPv6Address();
    return (six[0] & 0xfe) == 0xfc                         // fc00::/7
           || (six[0] == 0xfe && (six[1] & 0xc0) == 0x80); // fe80::/10
}

} // namespace PeerRules
