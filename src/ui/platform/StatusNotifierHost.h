// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>

// A StatusNotifierItem host on the session bus (swaybar's tray, KDE Plasma, GNOME's
// AppIndicator extension). When one is registered as the tray icon is made, Qt hands
// the icon to it over D-Bus instead of embedding a window in an X11 notification
// area: the host then sends activations and menu requests, never raw clicks.
namespace StatusNotifierHost {

// The watcher that hosts register with.
inline constexpr QLatin1StringView watcherService{"org.kde.StatusNotifierWatcher"};
inline constexpr QLatin1StringView watcherPath{"/StatusNotifierWatcher"};

bool isRegistered();

} // namespace StatusNotifierHost
