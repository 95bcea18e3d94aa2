// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QTime>

#include <cstdint>
#include <optional>

// The text forms the command line and the bus interface take, with the texts that say which
// forms are accepted. Each parse gives nothing for text that is not one of its forms.
namespace ArgumentRules {

// A countdown length of 1 to 2147483647 seconds:
//   90            seconds
//   90s 25m 1h30m 1h30m15s   hours, minutes and seconds in this order, each at most once
//   1:30          minutes:seconds, the seconds 00 to 59
//   1:30:00       hours:minutes:seconds, minutes and seconds 00 to 59
std::optional<std::int32_t> duration(QStringView text);
QString durationForms();

// A time of day, HH:MM from 00:00 to 23:59 (one hour digit will do).
std::optional<QTime> clockTime(QStringView text);
QString clockTimeForms();
// The time as clockTime reads it back.
QString clockTimeText(QTime time);

// A monitor number as the monitor setting has it: 0 the window's own monitor, 1 the first.
std::optional<std::int32_t> monitor(QStringView text);
QString monitorForms();

} // namespace ArgumentRules
