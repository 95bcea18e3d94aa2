// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickStarts.h"

#include "Countdown.h"

#include <QCoreApplication>

#include <limits>

namespace QuickStarts {

namespace {

// Positive whole numbers up to limit, in order; anything else is left out.
QList<std::int32_t> positiveNumbers(const QString &text, std::int32_t limit)
{
    QList<std::int32_t> numbers;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (ok && value > 0 && value <= limit)
            numbers.append(value);
    }
    return numbers;
}

} // namespace

QList<std::int32_t> presetSeconds(const QString &minutes)
{
    QList<std::int32_t> seconds =
        positiveNumbers(minutes, std::numeric_limits<std::int32_t>::max() / 60);
    for (std::int32_t &value : seconds)
        value *= 60;
    return seconds;
}

QList<std::int32_t> recentFromText(const QString &text)
{
    // A list edited by hand may repeat an entry or run long: the first of each counts.
    QList<std::int32_t> recent;
    for (std::int32_t seconds : positiveNumbers(text, std::numeric_limits<std::int32_t>::max())) {
        if (!recent.contains(seconds) && recent.size() < recentCount)
            recent.append(seconds);
    }
    return recent;
}

QString recentToText(const QList<std::int32_t> &recent)
{
    QStringList parts;
    for (std::int32_t seconds : recent)
        parts.append(QString::number(seconds));
    return parts.join(QLatin1Char(','));
}

QList<std::int32_t> recentAfterStart(QList<std::int32_t> recent, std::int32_t seconds)
{
    recent.removeAll(seconds);
    recent.prepend(seconds);
    return recent.mid(0, recentCount);
}

QString caption(std::int32_t seconds)
{
    if (seconds % 60 == 0 && seconds < 3600)
        return QCoreApplication::translate("QuickStarts", "%1 分钟").arg(seconds / 60);
    return Countdown::displayText(seconds);
}

} // namespace QuickStarts
