// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"

namespace EndTime {

std::int32_t secondsUntil(QTime end, const QDateTime &now)
{
    if (!end.isValid() || !now.isValid())
        return 0;
    // setTime keeps now's date and time zone.
    QDateTime target = now;
    target.setTime(end);
    if (target <= now) {
        target = now.addDays(1);
        target.setTime(end);
    }
    const qint64 milliseconds = now.msecsTo(target);
    return std::int32_t((milliseconds + 999) / 1000);
}

} // namespace EndTime
