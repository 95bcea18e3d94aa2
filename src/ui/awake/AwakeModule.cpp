// SPDX-License-Identifier: GPL-3.0-or-later
#include "AwakeModule.h"

#include "AwakeBackend.h"
#include "AwakeNativeBackends.h"
#include "ProgramModule.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAwake)

namespace {

const AwakeNativeBackends *installed()
{
    static const AwakeNativeBackends *const backends = [] {
        const ProgramModule::Loaded module = ProgramModule::load(
            ProgramModule::installedPaths(QStringLiteral(TARVIK_AWAKE_MODULE_FILE)),
            awakeNativeEntryName);
        const auto entry = reinterpret_cast<AwakeNativeEntry>(module.entry);
        const AwakeNativeBackends *found =
            entry ? entry(AwakeNativeBackends::interfaceVersion) : nullptr;
        if (!found)
            qCWarning(lcAwake) << "the screen-keeping module" << module.path
                               << "cannot be used:" << module.loadError;
        return found;
    }();
    return backends;
}

} // namespace

namespace AwakeModule {

std::unique_ptr<AwakeBackend> x11ScreenSaverSuspend()
{
    const AwakeNativeBackends *backends = installed();
    return std::unique_ptr<AwakeBackend>(backends ? backends->x11ScreenSaverSuspend() : nullptr);
}

std::unique_ptr<AwakeBackend> waylandIdleInhibitor(QWindow *window)
{
    const AwakeNativeBackends *backends = installed();
    return std::unique_ptr<AwakeBackend>(backends ? backends->waylandIdleInhibitor(window)
                                                  : nullptr);
}

} // namespace AwakeModule
