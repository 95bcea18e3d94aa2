// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTEChrono.h"

void TTEChrono::Start()
{
    if (m_state == State::Running)
        return;
    m_startedAt = Clocks::toMs(m_clock());
    ++m_startCount;
    m_state = State::Running;
}

double TTEChrono::Elapsed() const
{
    if (m_state != State::Running)
        return m_accumulated;
    return m_accumulated + (Clocks::toMs(m_clock()) - m_startedAt);
}

void TTEChrono::Pause()
{
    if (m_state != State::Running)
        return;
    m_accumulated = Elapsed();
    m_state = State::Paused;
}

void TTEChrono::Reset()
{
    Pause();
    m_accumulated = 0;
    m_state = State::Stopped;
}
