// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"

#include <chrono>
#include <cstdint>

// Keeps the countdown's ticks on whole seconds of running time since the start,
// on a clock that is not moved by wall-clock changes and keeps counting during sleep.
// Time spent paused does not count. The clock is injectable for tests.
class TickSchedule
{
public:
    explicit TickSchedule(MonotonicClock clock = Clocks::boot(),
                          std::chrono::milliseconds period = std::chrono::milliseconds(1000));

    void start();  // running time 0, running
    void pause();  // stops counting running time
    void resume(); // counts on from where pause stopped
    void stop();   // not running
    bool isRunning() const { return m_running; }

    // Ticks that have fallen due and have not been taken yet; takes them.
    std::int64_t takeDueTicks();
    // Time from now until the next tick falls due (zero when one is due already).
    std::chrono::nanoseconds untilNextTick() const;

private:
    std::chrono::nanoseconds runningTime() const;

    MonotonicClock m_clock;
    std::chrono::nanoseconds m_period;
    std::chrono::nanoseconds m_runningBeforePause{0};
    std::chrono::nanoseconds m_resumedAt{0};
    std::int64_t m_ticksTaken = 0;
    bool m_running = false;
};
