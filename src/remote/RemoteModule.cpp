// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteModule.h"

#include "RemoteServices.h"

#include "ProgramModule.h"

#include <QCoreApplication>

namespace RemoteModule {

Loaded load(const QStringList &paths)
{
    using Outcome = ProgramModule::Loaded::Outcome;
    const ProgramModule::Loaded module = ProgramModule::load(paths, remoteServicesEntryName);
    switch (module.outcome) {
    case Outcome::Missing:
        return {nullptr, QCoreApplication::translate("RemoteModule", "找不到手机遥控的网络部分 %1")
                             .arg(module.path)};
    case Outcome::Unloadable:
        return {nullptr,
                QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 无法载入：%2")
                    .arg(module.path, module.loadError)};
    case Outcome::NoEntry:
    case Outcome::Loaded:
        break;
    }
    const auto entry = reinterpret_cast<RemoteServicesEntry>(module.entry);
    RemoteServices *services = entry ? entry(RemoteServices::interfaceVersion) : nullptr;
    if (!services)
        return {nullptr,
                QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 与本程序不配套")
                    .arg(module.path)};
    return {services, {}};
}

QStringList installedPaths()
{
    return ProgramModule::installedPaths(QStringLiteral(TARVIK_REMOTE_MODULE_FILE));
}

const Loaded &installed()
{
    static const Loaded loaded = load(installedPaths());
    return loaded;
}

} // namespace RemoteModule
