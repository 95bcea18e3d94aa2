// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The countdown display in the words a screen reader speaks: "剩余 24 分 59 秒" for
// "00:24:59". Hours and minutes that are zero are left out; no time left is "剩余 0 秒".
namespace SpokenTime {

QString remaining(int hours, int minutes, int seconds);

// For a display text "HH:MM:SS"; any other text is spoken as it is.
QString fromDisplay(const QString &display);

} // namespace SpokenTime
