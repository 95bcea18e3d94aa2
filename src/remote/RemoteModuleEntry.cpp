// SPDX-License-Identifier: GPL-3.0-or-later
// The network module's entry: the one symbol the program looks up in it.
#include "RemoteNetwork.h"

extern "C" Q_DECL_EXPORT RemoteServices *tarvik_remote_services(int interfaceVersion)
{
    if (interfaceVersion != RemoteServices::interfaceVersion)
        return nullptr;
    static RemoteNetwork services;
    return &services;
}
