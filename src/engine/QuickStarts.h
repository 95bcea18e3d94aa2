// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// The entries of the quick-start menu: the presets, in minutes as the settings hold them,
// and the durations started last, most recent first.
namespace QuickStarts {

inline constexpr qsizetype recentCount = 5;

// "5,10,15" as seconds; entries that are not whole minutes from 1 up are left out.
QList<std::int32_t> presetSeconds(const QString &minutes);

// The stored list of recent durations in seconds, at most recentCount of them.
QList<std::int32_t> recentFromText(const QString &text);
QString recentToText(const QList<std::int32_t> &recent);
// After a start of seconds: it moves to the front, once, and the oldest falls off.
QList<std::int32_t> recentAfterStart(QList<std::int32_t> recent, std::int32_t seconds);

// "25 分钟" for whole minutes under an hour, else HH:MM:SS.
QString caption(std::int32_t seconds);

} // namespace QuickStarts
