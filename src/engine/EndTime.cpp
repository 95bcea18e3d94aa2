// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndTime.h"

#include <QRegularExpression>

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
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    return QTime(match.captured(1).toInt(), match.captured(2).toInt());
}

QString toText(QTime time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

} // namespace EndTime
