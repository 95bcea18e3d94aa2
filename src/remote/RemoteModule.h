// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class RemoteServices;

// Finds and loads the remote's network module. It is a file of the installation: beside the
// program in the build tree, in the program's library folder once installed.
namespace RemoteModule {

struct Loaded
{
    RemoteServices *services = nullptr;
    QString error; // why not, when services is null
};

// The module at the first of paths that exists: its services, or why it cannot give them.
Loaded load(const QStringList &paths);
// Where this installation keeps it, in the order looked at.
QStringList installedPaths();
// The installation's module, loaded at the first call and kept (the window's thread only).
const Loaded &installed();

} // namespace RemoteModule
