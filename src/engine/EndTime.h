// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QTime>

#include <cstdint>

// A countdown that ends at a time of day: how long it runs from a given moment.
namespace EndTime {

// Seconds from now to the next time the clock shows end, rounded up to whole seconds: today
// while end is still ahead, else tomorrow (an end equal to now is tomorrow's). The result lies
// between 1 and 86400 on days without a clock change. end is read in now's time zone; now
// comes from the caller, so that tests pass the moment they need. Invalid input gives 0.
std::int32_t secondsUntil(QTime end, const QDateTime &now);

} // namespace EndTime
