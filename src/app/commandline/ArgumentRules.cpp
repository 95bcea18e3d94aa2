// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArgumentRules.h"

#include <QList>

#include <limits>

namespace {

constexpr std::int64_t largestSeconds = std::numeric_limits<std::int32_t>::max();
// More digits than this overflow the seconds anyway; stopping early keeps the sums small.
constexpr qsizetype longestNumber = 10;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A run of decimal digits as a number; nothing for an empty or too long run.
std::optional<std::int64_t> digits(QStringView text)
{
    if (text.isEmpty() || text.size() > longestNumber)
        return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// A field after a colon: two digits, 00 to 59.
std::optional<std::int64_t> sixtieths(QStringView text)
{
    const auto value = text.size() == 2 ? digits(text) : std::nullopt;
    if (!value || *value > 59)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> colonForm(QStringView text)
{
    const QList<QStringView> fields = text.split(u':');
    if (fields.size() > 3)
        return std::nullopt;
    std::optional<std::int64_t> total = digits(fields.constFirst());
    for (qsizetype i = 1; total && i < fields.size(); ++i) {
        const auto field = sixtieths(fields.at(i));
        if (!field)
            return std::nullopt;
        total = *total * 60 + *field;
    }
    return total;
}

// 1h30m15s and its parts: numbers each followed by h, m or s, in that order.
std::optional<std::int64_t> unitForm(QStringView text)
{
    static constexpr char16_t units[] = {u'h', u'm', u's'};
    static constexpr std::int64_t unitSeconds[] = {3600, 60, 1};
    std::int64_t total = 0;
    std::size_t nextUnit = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isDigit(text.at(i)))
            continue;
        std::size_t unit = nextUnit;
        while (unit < std::size(units) && text.at(i) != units[unit])
            ++unit;
        const auto number = digits(text.mid(start, i - start));
        if (unit == std::size(units) || !number)
            return std::nullopt;
        total += *number * unitSeconds[unit];
        nextUnit = unit + 1;
        start = i + 1;
    }
    // Digits after the last unit, as in "1m30", name no unit.
    if (start != text.size() || nextUnit == 0)
        return std::nullopt;
    return total;
}

} // namespace

namespace ArgumentRules {

std::optional<std::int32_t> duration(QStringView text)
{
    std::optional<std::int64_t> seconds;
    if (text.contains(u':'))
        seconds = colonForm(text);
    else if (!text.isEmpty() && isDigit(text.back()))
        seconds = digits(text);
    else
        seconds = unitForm(text);
    if (!seconds || *seconds < 1 || *seconds > largestSeconds)
        return std::nullopt;
    return std::int32_t(*seconds);
}

QString durationForms()
{
    return QStringLiteral("90, 90s, 25m, 1h30m, 1h30m15s, 1:30 (m:ss) or 1:30:00 (h:mm:ss), "
                          "from 1 second to %1 seconds")
        .arg(largestSeconds);
}

std::optional<QTime> clockTime(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    const auto hours = digits(text.left(colon));
    const auto minutes = sixtieths(text.mid(colon + 1));
    if (!hours || !minutes || *hours > 23)
        return std::nullopt;
    return QTime(int(*hours), int(*minutes));
}

QString clockTimeForms()
{
    return QStringLiteral("HH:MM, from 00:00 to 23:59");
}

QString clockTimeText(QTime time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

std::optional<std::int32_t> monitor(QStringView text)
{
    const auto number = digits(text);
    if (!number || *number > largestSeconds)
        return std::nullopt;
    return std::int32_t(*number);
}

QString monitorForms()
{
    return QStringLiteral("0 (the monitor the window is on) or a monitor number 1, 2, …");
}

} // namespace ArgumentRules
