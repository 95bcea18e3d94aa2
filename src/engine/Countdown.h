// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CountdownView.h"

#include <QString>

#include <cstdint>

namespace Countdown {

// Remaining seconds as HH:MM:SS; hours may take more digits, negatives keep their signs.
QString displayText(std::int32_t remainingSeconds);

// hours x 3600 + minutes x 60 + seconds, computed in 64 bits and clamped to 32 both ways.
std::int32_t totalSeconds(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
// The same from the three duration texts (the spin fields' number rule, rounded half to even).
std::int32_t totalSeconds(const QString &hours, const QString &minutes, const QString &seconds);

// Start: writes the total into the total counter and copies it into the remaining one.
void start(CountdownView &view, std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
void start(CountdownView &view, const QString &hours, const QString &minutes,
           const QString &seconds);

enum class TickResult
{
    Counting,
    Finished
};

// One tick: elapsed + 1, remaining recomputed, display, the alarm test, the finish test.
// Both counters stop at the 32-bit limits instead of wrapping round to the other sign.
TickResult tick(CountdownView &view, std::int32_t alarmLead);

} // namespace Countdown
