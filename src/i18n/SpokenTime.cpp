// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpokenTime.h"

#include <QCoreApplication>
#include <QStringList>

namespace SpokenTime {

QString remaining(int hours, int minutes, int seconds)
{
    QStringList parts;
    if (hours > 0)
        parts << QCoreApplication::translate("SpokenTime", "%n 小时", nullptr, hours);
    if (minutes > 0)
        parts << QCoreApplication::translate("SpokenTime", "%n 分", nullptr, minutes);
    if (seconds > 0 || parts.isEmpty())
        parts << QCoreApplication::translate("SpokenTime", "%n 秒", nullptr, seconds);
    return QCoreApplication::translate("SpokenTime", "剩余 %1").arg(parts.join(QLatin1Char(' ')));
}

QString fromDisplay(const QString &display)
{
    const QStringList fields = display.split(QLatin1Char(':'));
    if (fields.size() != 3)
        return display;
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = fields.at(i).toInt(&ok);
        if (!ok || values[i] < 0)
            return display;
    }
    return remaining(values[0], values[1], values[2]);
}

} // namespace SpokenTime
