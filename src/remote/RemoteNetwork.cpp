// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteNetwork.h"

#include "QrCodeImage.h"
#include "RemoteServer.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <chrono>

RemoteServerPort *RemoteNetwork::createServer(RemoteServerPort::Callbacks callbacks)
{
    // The steady clock, written out: the program's clock library stays out of the module.
    return new RemoteServer(std::move(callbacks), [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    });
}

QString RemoteNetwork::urlHost(const QString &address)
{
    const QHostAddress host =
        address.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address);
    if (host == QHostAddress::Any || host == QHostAddress::AnyIPv4)
        return lanAddress();
    return host.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + host.toString() + u']'
                                                            : host.toString();
}

QImage RemoteNetwork::qrCode(const QString &text)
{
    return QrCodeImage::encode(text);
}

QString RemoteNetwork::lanAddress()
{
    // The first private IPv4 address of an interface that is up: what a phone on the same
    // network reaches.
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLinkLocal() &&
                (address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("10.0.0.0/8"))) ||
                 address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("172.16.0.0/12"))) ||
                 address.isInSubnet(QHostAddress::parseSubnet(QStringLiteral("192.168.0.0/16")))))
                return address.toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}
