// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

#include <cstdint>

// Counting to a time of day: the total that makes a countdown started now finish when the
// clock shows that time.
namespace EndTime {

// Whole seconds from now to the next time the clock shows end, rounded up, so that the
// finish comes at that time or less than a second after it. An end that is now or already
// past today is tomorrow's. -1 when end or now is not a valid time.
std::int32_t secondsUntil(QTime end, QDateTime now);

// "HH:MM" (hours 0 to 23, minutes 0 to 59); an invalid time for any other text.
QTime fromText(const QString &text);
QString toText(QTime time);

} // namespace EndTime
