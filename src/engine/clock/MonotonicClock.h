// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>

// Time from an arbitrary fixed origin that never goes backwards. The countdown's tick and
// the transition engine both read one; tests pass a clock they advance themselves:
//   std::chrono::nanoseconds now{0};
//   TickDriver ticks([&now] { return now; });
using MonotonicClock = std::function<std::chrono::nanoseconds()>;

namespace Clocks {

// CLOCK_BOOTTIME on Linux: keeps counting while the computer sleeps and ignores
// wall-clock changes. A steady clock elsewhere.
MonotonicClock boot();
// The steady clock of the standard library.
MonotonicClock steady();

// A reading in milliseconds, as stopwatches count.
constexpr double toMs(std::chrono::nanoseconds time)
{
    return std::chrono::duration<double, std::milli>(time).count();
}

} // namespace Clocks
