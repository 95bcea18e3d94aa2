// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

// Which monitor full screen goes to, from the `monitor` setting: 0 is the monitor the
// window is on; N ≥ 1 is the N-th monitor in the platform's order, as long as there is
// one. A number with no monitor, and a monitor that has been unplugged, count as 0.
namespace MonitorChoice {

// No particular monitor: the one the window is on.
inline constexpr int windowsOwn = -1;

// The index into the platform's list of monitors (0-based), or windowsOwn.
int screenIndex(std::int64_t setting, int monitorCount);

// The settings dialog's entries: the automatic choice, one a monitor ("1: 1920 × 1080
// (HDMI-1)", its size in the monitor's own pixels), and a stored number with no
// monitor attached now, kept so that saving other settings does not forget it.
QString automaticEntry();
QString monitorEntry(int number, QSize pixels, const QString &name);
QString absentEntry(int number);

} // namespace MonitorChoice
