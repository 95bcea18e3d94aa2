// SPDX-License-Identifier: GPL-3.0-or-later
// The screen-keeping module's entry: the one symbol the program looks up in it.
#include "AwakeNativeBackends.h"
#include "WaylandIdleInhibitor.h"
#include "X11ScreenSaverSuspend.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const AwakeNativeBackends *tarvik_awake_backends(int interfaceVersion)
{
    if (interfaceVersion != AwakeNativeBackends::interfaceVersion)
        return nullptr;
    static constexpr AwakeNativeBackends backends{
        []() -> AwakeBackend * { return X11ScreenSaverSuspend::create().release(); },
        [](QWindow *window) -> AwakeBackend * {
            return WaylandIdleInhibitor::create(window).release();
        },
    };
    return &backends;
}
