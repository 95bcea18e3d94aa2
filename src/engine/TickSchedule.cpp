// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickSchedule.h"

TickSchedule::TickSchedule(MonotonicClock clock, std::chrono::milliseconds period)
    : m_clock(std::move(clock))
    , m_period(period)
{}

void TickSchedule::start()
{
    m_runningBeforePause = std::chrono::nanoseconds(0);
    m_ticksTaken = 0;
    m_resumedAt = m_clock();
    m_running = true;
}

void TickSchedule::pause()
{
    if (!m_running)
        return;
    m_runningBeforePause += m_clock() - m_resumedAt;
    m_running = false;
}

void TickSchedule::resume()
{
    if (m_running)
        return;
    m_resumedAt = m_clock();
    m_running = true;
}

void TickSchedule::stop()
{
    pause();
}

std::chrono::nanoseconds TickSchedule::runningTime() const
{
    return m_running ? m_runningBeforePause + (m_clock() - m_resumedAt) : m_runningBeforePause;
}

std::int64_t TickSchedule::takeDueTicks()
{
    const std::int64_t due = runningTime() / m_period;
    const std::int64_t fresh = due > m_ticksTaken ? due - m_ticksTaken : 0;
    m_ticksTaken += fresh;
    return fresh;
}

std::chrono::nanoseconds TickSchedule::untilNextTick() const
{
    const auto next = m_period * (m_ticksTaken + 1);
    const auto now = runningTime();
    return next > now ? next - now : std::chrono::nanoseconds(0);
}
