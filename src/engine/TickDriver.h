// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"
#include "TickSchedule.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// Drives the countdown's tick: knows which ticks have fallen due on the schedule, runs
// each of them once, and says when the window's timer should wake next. No tick is lost
// when the thread was busy, and none is run twice.
//
// In the main window, whose single-shot Timer1 calls Timer1Timer:
//   start:     m_ticks.start();  arm Timer1 with timeToNextTick()
//   Timer1Timer: m_ticks.runDueTicks([this] { return tick() != Finished; });
//                then arm Timer1 again unless timeToNextTick() is empty.
class TickDriver
{
public:
    // The tick handler: true to go on, false when the countdown finished.
    using Tick = std::function<bool()>;

    explicit TickDriver(MonotonicClock clock = Clocks::boot(),
                        std::chrono::milliseconds period = std::chrono::milliseconds(1000));

    // A fresh countdown: no tick owed, the first one a full period from now.
    void start();
    // Stops counting time; ticks already owed stay owed.
    void pause();
    // Counts on from where pause stopped; owed ticks run at the next wake-up.
    void resume();
    bool isRunning() const { return m_schedule.isRunning(); }

    // Runs every tick that has fallen due, one after the other, until one finishes the
    // countdown or a tick pauses the driver; what is left stays owed. A tick that throws
    // counts as run, and the error passes through.
    void runDueTicks(const Tick &tick);
    // Ticks due but not run yet.
    std::int64_t owedTicks() const { return m_owed; }

    // How long the window's timer should wait: zero while ticks are owed, nothing while
    // the driver is not running.
    std::optional<std::chrono::nanoseconds> timeToNextTick() const;

private:
    TickSchedule m_schedule;
    std::int64_t m_owed = 0;
};
