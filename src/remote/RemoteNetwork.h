// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteServices.h"

// The network module's services: the server, the links' host and the QR codes. The module
// hands out one; tests that link the network code in make their own.
class RemoteNetwork final : public RemoteServices
{
public:
    RemoteServerPort *createServer(RemoteServerPort::Callbacks callbacks) override;
    QString urlHost(const QString &address) override;
    QImage qrCode(const QString &text) override;

    // The machine's address on its local network, or the loopback address without one.
    static QString lanAddress();
};
