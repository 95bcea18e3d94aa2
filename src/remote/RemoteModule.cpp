// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteModule.h"

#include "RemoteServices.h"

#include "ProgramModule.h"

#include <QCoreApplication>

namespace RemoteModule {

Loaded load(const QStringList &paths)
{
    const ProgramModule::Loaded module = ProgramModule::load(paths, remoteServicesEntryName);
    const auto entry = reinterpret_cast<RemoteServicesEntry>(module.entry);
    if (RemoteServices *services = entry ? entry(RemoteServices::interfaceVersion) : nullptr)
        return {services, {}};
    return {
        nullptr,
        ProgramModule::reason(
            module,
            {QCoreApplication::translate("RemoteModule", "找不到手机遥控的网络部分 %1"),
             QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 无法载入：%2"),
             QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 与本程序不配套")})};
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
