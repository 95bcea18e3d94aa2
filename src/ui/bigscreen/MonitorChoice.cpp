// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonitorChoice.h"

#include <QCoreApplication>

namespace MonitorChoice {

int screenIndex(std::int64_t setting, int monitorCount)
{
    if (setting < 1 || setting > monitorCount)
        return windowsOwn;
    return int(setting - 1);
}

QString automaticEntry()
{
    return QCoreApplication::translate("MonitorChoice", "自动（窗口所在显示器）");
}

QString monitorEntry(int number, QSize pixels, const QString &name)
{
    QString text = QStringLiteral("%1: %2 × %3").arg(number).arg(pixels.width()).arg(pixels.height());
    if (!name.isEmpty())
        text += QStringLiteral(" (%1)").arg(name);
    return text;
}

QString absentEntry(int number)
{
    return QCoreApplication::translate("MonitorChoice", "%1: 未连接").arg(number);
}

} // namespace MonitorChoice
