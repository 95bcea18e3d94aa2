// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickDriver.h"

TickDriver::TickDriver(MonotonicClock clock, std::chrono::milliseconds period)
    : m_schedule(std::move(clock), period)
{}

void TickDriver::start()
{
    m_owed = 0;
    m_schedule.start();
}

void TickDriver::pause()
{
    m_schedule.pause();
}

void TickDriver::resume()
{
    m_schedule.resume();
}

void TickDriver::runDueTicks(const Tick &tick)
{
    m_owed += m_schedule.takeDueTicks();
    while (m_owed > 0 && m_schedule.isRunning()) {
        --m_owed;
        if (!tick())
            break;
    }
}

std::optional<std::chrono::nanoseconds> TickDriver::timeToNextTick() const
{
    if (!m_schedule.isRunning())
        return std::nullopt;
    if (m_owed > 0)
        return std::chrono::nanoseconds(0);
    return m_schedule.untilNextTick();
}
