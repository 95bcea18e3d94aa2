// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"

#include <algorithm>

namespace EndTime {

std::int32_t secondsUntil(QTime end, QDateTime now)
{
    if (!end.isValid() || !now.isValid())
        return -1;
    QDateTime target = now;
    target.setTime(end);
    if (target <= now)
        target = target.addDays(1);
    if (!target.isValid())
        return -1;
    const qint64 ms = now.msecsTo(target);
    return std::int32_t((ms + 999) / 1000);
}

QTime fromText(const QString &text)
{
    // "H:MM" or "HH:MM", blanks around it allowed. Read by hand: a regular expression would
    // load its library at the start for this one setting.
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(u':');
    if (colon < 1 || colon > 2 || trimmed.size() - colon - 1 != 2)
        return {};
    const QStringView hours = QStringView(trimmed).first(colon);
    const QStringView minutes = QStringView(trimmed).sliced(colon + 1);
    const auto digits = [](QStringView part) {
        return std::all_of(part.begin(), part.end(),
                           [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (!digits(hours) || !digits(minutes))
        return {};
    return QTime(hours.toInt(), minutes.toInt());
}

QString toText(QTime time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

} // namespace EndTime
