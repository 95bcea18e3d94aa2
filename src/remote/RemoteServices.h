// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RemoteServerPort.h"

#include <QImage>
#include <QString>

// What the network module gives the program: everything of the remote that needs Qt Network,
// Qt WebSockets or libqrencode. The program loads the module the first time the remote
// starts (RemoteModule), so a timer without the remote never maps those libraries.
class RemoteServices
{
public:
    // Raised with every change to this interface or RemoteServerPort: a module built for
    // another one is refused, not called.
    static constexpr int interfaceVersion = 1;

    virtual ~RemoteServices() = default;

    // A server that does not listen yet; the caller moves its object() to the server's
    // thread and owns it from there.
    virtual RemoteServerPort *createServer(RemoteServerPort::Callbacks callbacks) = 0;
    // The host of the links to a server listening on address (as listen() takes it): the
    // machine's address on its local network for every address, an IPv6 one in brackets.
    virtual QString urlHost(const QString &address) = 0;
    // The text as a QR code, one pixel per module; a null image when it does not fit.
    virtual QImage qrCode(const QString &text) = 0;
};

// The module's one exported function: its services, or null when it was built for another
// interfaceVersion. They live as long as the module, which is never unloaded.
using RemoteServicesEntry = RemoteServices *(*)(int interfaceVersion);
inline constexpr char remoteServicesEntryName[] = "tarvik_remote_services";
