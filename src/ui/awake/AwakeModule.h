// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class AwakeBackend;
class QWindow;

// The backends that talk to the display server directly, from the screen-keeping module. The
// module holds their client libraries, which the window does not need before the countdown
// first runs; it is loaded at the first call and kept (the window's thread only). Without it
// these backends are missing and the screen is kept on by the desktop's services alone.
namespace AwakeModule {

// The X screen-saver extension's suspend; null as X11ScreenSaverSuspend::create().
std::unique_ptr<AwakeBackend> x11ScreenSaverSuspend();
// An idle inhibitor on the window's Wayland surface; null as WaylandIdleInhibitor::create().
std::unique_ptr<AwakeBackend> waylandIdleInhibitor(QWindow *window);

} // namespace AwakeModule
