// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerCore.h"

#include "Countdown.h"
#include "CountdownView.h"
#include "NumberTexts.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace {

const QString zeroDisplay = QStringLiteral("00:00:00");
const QString zeroCounter = QStringLiteral("00");

} // namespace

// What the moves between the states change: the countdown timer and the state the
// enabled flags follow.
class TimerCore::Moves final : public CommandStateSink
{
public:
    explicit Moves(TimerCore &core)
        : m_core(core)
    {}

    // The flags of one move are set together, after the state's column is known; the
    // state is taken from the begin flag and the suspend and continue flags.
    void setCommandEnabled(StateCommand command, bool enabled) override
    {
        m_flags[std::size_t(command)] = enabled;
        if (std::size_t(command) + 1 == stateCommandCount)
            m_core.setState(stateOf(m_flags));
    }
    void startCountdownTimer() override
    {
        m_core.m_ticks.start();
        m_core.armTimer1();
    }
    void resumeCountdownTimer() override
    {
        m_core.m_ticks.resume();
        m_core.armTimer1();
    }
    void stopCountdownTimer() override
    {
        m_core.m_ticks.pause();
        m_core.Timer1->stop();
    }

private:
    static CountdownState stateOf(const std::array<bool, stateCommandCount> &flags)
    {
        if (flags[std::size_t(StateCommand::Suspend)])
            return CountdownState::Running;
        if (flags[std::size_t(StateCommand::Continue)])
            return CountdownState::Paused;
        return CountdownState::Idle;
    }

    TimerCore &m_core;
    std::array<bool, stateCommandCount> m_flags{};
};

// The tick's view of the core: the counter texts, the display and the two events.
class TimerCore::Counters final : public CountdownView
{
public:
    explicit Counters(TimerCore &core)
        : m_core(core)
    {}

    QString totalText() const override { return m_core.m_totalText; }
    QString elapsedText() const override { return m_core.m_elapsedText; }
    QString remainingText() const override { return m_core.m_remainingText; }
    void setTotalText(const QString &text) override { m_core.setCounter(m_core.m_totalText, text); }
    void setElapsedText(const QString &text) override
    {
        m_core.setCounter(m_core.m_elapsedText, text);
    }
    void setRemainingText(const QString &text) override
    {
        m_core.setCounter(m_core.m_remainingText, text);
        m_core.updateColourStage();
    }
    void setDisplayText(const QString &text) override
    {
        if (text == m_core.m_displayText)
            return;
        m_core.m_displayText = text;
        emit m_core.displayChanged(text);
    }
    void processPendingEvents() override { QCoreApplication::processEvents(); }
    void startAlarm() override
    {
        emit m_core.alarmDue();
        if (m_core.m_hooks.startAlarm)
            m_core.m_hooks.startAlarm();
    }
    void finishCountdown() override
    {
        CommandStates::finish(*m_core.m_moves);
        emit m_core.finished();
        if (m_core.m_hooks.showFinished)
            m_core.m_hooks.showFinished();
    }

private:
    TimerCore &m_core;
};

TimerCore::TimerCore(MonotonicClock clock, QObject *parent)
    : QObject(parent)
    , m_ticks(std::move(clock))
    , Timer1(new QTimer(this))
    , m_displayText(zeroDisplay)
    , m_counters(std::make_unique<Counters>(*this))
    , m_moves(std::make_unique<Moves>(*this))
{
    // One shot at a time, armed for the next whole second of running time, so that a late
    // wake-up does not push every later tick back.
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TimerCore::Timer1Timer);
}

TimerCore::~TimerCore() = default;

void TimerCore::setHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

bool TimerCore::isAllowed(Command command) const
{
    const auto flags = CommandStates::enabledFlags(m_state);
    switch (command) {
    case Command::Start:
        return flags[std::size_t(StateCommand::Begin)];
    case Command::Pause:
        return flags[std::size_t(StateCommand::Suspend)];
    case Command::Resume:
        return flags[std::size_t(StateCommand::Continue)];
    case Command::End:
        return flags[std::size_t(StateCommand::End)];
    }
    return false;
}

bool TimerCore::start()
{
    if (!isAllowed(Command::Start))
        return false;
    if (m_hooks.applySettings)
        m_hooks.applySettings();
    return begin(m_hooks.savedDuration ? m_hooks.savedDuration() : 0);
}

bool TimerCore::startFor(std::int32_t seconds)
{
    if (!isAllowed(Command::Start))
        return false;
    if (m_hooks.applySettings)
        m_hooks.applySettings();
    return begin(seconds);
}

bool TimerCore::begin(std::int32_t seconds)
{
    m_counters->setTotalText(NumberTexts::integerToText(seconds));
    m_stageFollowsRemaining = true;
    m_counters->setRemainingText(m_counters->totalText());
    CommandStates::start(*m_moves);
    emit started(total());
    return true;
}

bool TimerCore::pause()
{
    if (!isAllowed(Command::Pause))
        return false;
    CommandStates::pause(*m_moves);
    return true;
}

bool TimerCore::resume()
{
    if (!isAllowed(Command::Resume))
        return false;
    CommandStates::resume(*m_moves);
    return true;
}

bool TimerCore::end()
{
    if (!isAllowed(Command::End))
        return false;
    CommandStates::end(*m_moves);
    return true;
}

bool TimerCore::addSeconds(std::int32_t seconds)
{
    if (!isAllowed(Command::End))
        return false;
    const std::int64_t elapsedNow = elapsed();
    std::int64_t newTotal = std::int64_t(total()) + seconds;
    if (remaining() > 0)
        newTotal = std::max(newTotal, elapsedNow + 1);
    newTotal = std::clamp<std::int64_t>(newTotal, INT32_MIN, INT32_MAX);
    const auto newRemaining =
        std::int32_t(std::clamp<std::int64_t>(newTotal - elapsedNow, INT32_MIN, INT32_MAX));
    m_counters->setTotalText(NumberTexts::integerToText(std::int32_t(newTotal)));
    m_counters->setRemainingText(NumberTexts::integerToText(newRemaining));
    m_counters->setDisplayText(Countdown::displayText(newRemaining));
    return true;
}

std::int32_t TimerCore::total() const
{
    return NumberTexts::integerFromText(m_totalText, 0);
}

std::int32_t TimerCore::elapsed() const
{
    return NumberTexts::integerFromText(m_elapsedText, 0);
}

std::int32_t TimerCore::remaining() const
{
    return NumberTexts::integerFromText(m_remainingText, 0);
}

void TimerCore::setWarnings(std::int32_t first, std::int32_t second)
{
    m_firstWarning = first;
    m_secondWarning = second;
    updateColourStage();
}

void TimerCore::updateColourStage()
{
    const ColourStage stage =
        m_stageFollowsRemaining
            ? ColourStages::forRemaining(remaining(), m_firstWarning, m_secondWarning)
            : ColourStage::Normal;
    if (stage == m_stage)
        return;
    m_stage = stage;
    emit colourStageChanged(stage);
}

void TimerCore::resetCounters()
{
    m_stageFollowsRemaining = false;
    m_counters->setDisplayText(zeroDisplay);
    m_counters->setTotalText(zeroCounter);
    m_counters->setElapsedText(zeroCounter);
    m_counters->setRemainingText(zeroCounter);
}

void TimerCore::setState(CountdownState state)
{
    // Every move announces its state, also one that does not change it, as every move sets
    // all the flags.
    m_state = state;
    emit stateChanged(state);
}

void TimerCore::setCounter(QString &counter, const QString &text)
{
    if (counter == text)
        return;
    counter = text;
    emit countersChanged();
}

void TimerCore::armTimer1()
{
    const auto wait = m_ticks.timeToNextTick();
    if (!wait)
        return;
    Timer1->start(int(std::chrono::ceil<std::chrono::milliseconds>(*wait).count()));
}

void TimerCore::Timer1Timer()
{
    try {
        // Every tick that fell due while the thread was busy runs, each with its alarm and
        // finish test; a pause inside a tick keeps the rest for later.
        m_ticks.runDueTicks([this] {
            return Countdown::tick(*m_counters, m_alarmLead) != Countdown::TickResult::Finished;
        });
    } catch (...) {
        if (m_hooks.tickFailed)
            m_hooks.tickFailed(std::current_exception());
    }
    armTimer1();
}
