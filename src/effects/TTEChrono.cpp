#include "TTEChrono.h"

#include <chrono>

namespace {

class SteadyTimeSource final : public TTETimeSource
{
public:
    double nowMs() const override
    {
        using namespace std::chrono;
        return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace

const TTETimeSource &TTETimeSource::steady()
{
    static const SteadyTimeSource clock;
    return clock;
}

void TTEChrono::Start()
{
    if (m_state == State::Running)
        return;
    m_startedAt = m_clock->nowMs();
    ++m_startCount;
    m_state = State::Running;
}

double TTEChrono::Elapsed() const
{
    if (m_state != State::Running)
        return m_accumulated;
    return m_accumulated + (m_clock->nowMs() - m_startedAt);
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
