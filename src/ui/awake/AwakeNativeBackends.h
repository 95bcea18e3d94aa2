// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class AwakeBackend;
class QWindow;

// What the screen-keeping module gives: the ways of keeping the screen on that speak to the
// display server itself, and need its client libraries. Each returns a new backend, owned by
// the caller, or null where it cannot hold the screen.
struct AwakeNativeBackends
{
    // Raised when the members change.
    static constexpr int interfaceVersion = 1;

    AwakeBackend *(*x11ScreenSaverSuspend)();
    AwakeBackend *(*waylandIdleInhibitor)(QWindow *window);
};

// The module's one exported function: its backends, or null for another interface version.
using AwakeNativeEntry = const AwakeNativeBackends *(*)(int interfaceVersion);
inline constexpr char awakeNativeEntryName[] = "tarvik_awake_backends";
