// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MonotonicClock.h"

// Stopwatch in milliseconds that can be paused and resumed.
class TTEChrono
{
public:
    enum class State
    {
        Stopped,
        Running,
        Paused
    };

    explicit TTEChrono(MonotonicClock clock = Clocks::steady())
        : m_clock(std::move(clock))
    {}

    void Start();
    void Pause();
    void Reset();
    double Elapsed() const;

    State state() const { return m_state; }
    int startCount() const { return m_startCount; }

private:
    MonotonicClock m_clock;
    State m_state = State::Stopped;
    double m_accumulated = 0;
    double m_startedAt = 0;
    int m_startCount = 0;
};
