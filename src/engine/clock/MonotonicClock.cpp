// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonotonicClock.h"

#include <ctime>

namespace Clocks {

MonotonicClock boot()
{
    return [] {
#ifdef CLOCK_BOOTTIME
        timespec ts{};
        clock_gettime(CLOCK_BOOTTIME, &ts);
        return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
#else
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
#endif
    };
}

MonotonicClock steady()
{
    return [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    };
}

} // namespace Clocks
