// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemoteModule.h"

#include "RemoteServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>

namespace RemoteModule {

Loaded load(const QStringList &paths)
{
    const auto found = std::find_if(paths.cbegin(), paths.cend(),
                                    [](const QString &path) { return QFileInfo::exists(path); });
    if (found == paths.cend())
        return {nullptr, QCoreApplication::translate("RemoteModule", "找不到手机遥控的网络部分 %1")
                             .arg(QDir::toNativeSeparators(paths.value(paths.size() - 1)))};
    const QString path = QDir::toNativeSeparators(*found);
    // All symbols at once: a module that does not fit the libraries here fails now, not in
    // the middle of a call. It stays loaded for the rest of the run.
    QLibrary library(*found);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load())
        return {nullptr,
                QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 无法载入：%2")
                    .arg(path, library.errorString())};
    const auto entry =
        reinterpret_cast<RemoteServicesEntry>(library.resolve(remoteServicesEntryName));
    RemoteServices *services = entry ? entry(RemoteServices::interfaceVersion) : nullptr;
    if (!services)
        return {nullptr,
                QCoreApplication::translate("RemoteModule", "手机遥控的网络部分 %1 与本程序不配套")
                    .arg(path)};
    return {services, {}};
}

QStringList installedPaths()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QStringLiteral(TARVIK_REMOTE_MODULE_FILE)),
            QDir::cleanPath(programDir.filePath(
                QStringLiteral(TARVIK_REMOTE_MODULE_DIR "/" TARVIK_REMOTE_MODULE_FILE)))};
}

const Loaded &installed()
{
    static const Loaded loaded = load(installedPaths());
    return loaded;
}

} // namespace RemoteModule
