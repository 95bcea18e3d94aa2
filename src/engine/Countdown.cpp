// SPDX-License-Identifier: GPL-3.0-or-later
#include "Countdown.h"

#include "NumberTexts.h"

#include <algorithm>
#include <cstdint>

namespace Countdown {

namespace {

// The duration fields' number rule: a decimal number (0 when it is not one),
// rounded half to even.
std::int32_t fieldValue(const QString &text)
{
    const auto number =
        NumberTexts::decimalNumber(text, NumberTexts::localeDecimalSeparator()).value_or(0.0);
    return NumberTexts::roundHalfEvenClamped(number);
}

std::int32_t counter(const QString &text)
{
    return NumberTexts::integerFromText(text, 0);
}

std::int32_t clampTo32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

QString displayText(std::int32_t remainingSeconds)
{
    const std::int32_t r = remainingSeconds;
    const std::int32_t h = r / 3600;
    const std::int32_t m = (r - h * 3600) / 60;
    const std::int32_t s = r - h * 3600 - m * 60;
    return NumberTexts::twoDigitText(h) + u':' + NumberTexts::twoDigitText(m) + u':' +
           NumberTexts::twoDigitText(s);
}

std::int32_t totalSeconds(std::int32_t hours, std::int32_t minutes, std::int32_t seconds)
{
    // A hand-edited file can hold a duration beyond 32 bits, either way: compute wide,
    // then clamp.
    const std::int64_t total = std::int64_t(hours) * 3600 + std::int64_t(minutes) * 60 +
                               std::int64_t(seconds);
    return clampTo32(total);
}

std::int32_t totalSeconds(const QString &hours, const QString &minutes, const QString &seconds)
{
    return totalSeconds(fieldValue(hours), fieldValue(minutes), fieldValue(seconds));
}

void start(CountdownView &view, std::int32_t hours, std::int32_t minutes, std::int32_t seconds)
{
    view.setTotalText(NumberTexts::integerToText(totalSeconds(hours, minutes, seconds)));
    view.setRemainingText(view.totalText());
}

void start(CountdownView &view, const QString &hours, const QString &minutes,
           const QString &seconds)
{
    start(view, fieldValue(hours), fieldValue(minutes), fieldValue(seconds));
}

TickResult tick(CountdownView &view, std::int32_t alarmLead)
{
    view.processPendingEvents();

    // Wide arithmetic clamped like the start total: a countdown from the most negative
    // total stays there instead of turning into a huge positive one.
    const std::int32_t elapsed = clampTo32(std::int64_t(counter(view.elapsedText())) + 1);
    view.setElapsedText(NumberTexts::integerToText(elapsed));

    const std::int32_t remaining = clampTo32(std::int64_t(counter(view.totalText())) -
                                             std::int64_t(counter(view.elapsedText())));
    view.setRemainingText(NumberTexts::integerToText(remaining));

    const std::int32_t shown = counter(view.remainingText());
    view.setDisplayText(displayText(shown));

    if (counter(view.remainingText()) == alarmLead)
        view.startAlarm();

    TickResult result = TickResult::Counting;
    if (counter(view.remainingText()) == 0) {
        view.finishCountdown();
        result = TickResult::Finished;
    }

    view.processPendingEvents();
    return result;
}

} // namespace Countdown
