// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColourStage.h"
#include "CommandStates.h"
#include "MonotonicClock.h"
#include "TickDriver.h"

#include <QObject>
#include <QString>

#include <chrono>

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <memory>

class QTimer;

// The countdown itself: its three counters, its display text, its tick and its state, and
// the commands that move it. Every front end (the window with its keys, menu, buttons and
// tray, and whatever steers the program from outside) calls these commands and follows these
// signals; a command the state does not allow is refused alike for every caller.
//
//   TimerCore core;
//   core.setHooks({.applySettings = ..., .savedDuration = ..., ...});
//   connect(&core, &TimerCore::displayChanged, label, &QLabel::setText);
//   core.start();     // the saved duration, the settings applied first
//   core.startFor(300); // five minutes for this run only
class TimerCore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimerCore)

public:
    // What the front end that shows the countdown does for it.
    struct Hooks
    {
        // Before every start: applies the settings, which ends with resetCounters(). Throws
        // to stop the start at that step.
        std::function<void()> applySettings;
        // The saved duration in seconds, as the duration fields hold it after the apply.
        std::function<std::int32_t()> savedDuration;
        // Remaining seconds reached the alarm lead: the sound. Throws to end the tick there.
        std::function<void()> startAlarm;
        // The countdown finished: the completion message, which may wait for the user.
        std::function<void()> showFinished;
        // An error that ended a tick; the next tick goes on.
        std::function<void(std::exception_ptr)> tickFailed;
    };

    enum class Command { Start, Pause, Resume, End };

    explicit TimerCore(MonotonicClock clock = Clocks::boot(), QObject *parent = nullptr);
    ~TimerCore() override;

    void setHooks(Hooks hooks);

    // Whether the state allows the command now.
    bool isAllowed(Command command) const;

    // The commands. Each returns false and changes nothing when the state refuses it; an
    // error of the settings' apply passes through to the caller, and no countdown starts.
    bool start();
    // A countdown of the given seconds for this run only: nothing is saved, the settings are
    // applied as at any start.
    bool startFor(std::int32_t seconds);
    bool pause();
    bool resume();
    bool end();
    // Adds seconds to the total (negative takes them away) while a countdown runs or is
    // paused; remaining and the display follow at once. A countdown with time left keeps
    // at least one second, so taking time never skips its finish.
    bool addSeconds(std::int32_t seconds);

    CountdownState state() const { return m_state; }
    // The counters as numbers: their texts read as integers, 0 for one that is not.
    std::int32_t total() const;
    std::int32_t elapsed() const;
    std::int32_t remaining() const;
    QString totalText() const { return m_totalText; }
    QString elapsedText() const { return m_elapsedText; }
    QString remainingText() const { return m_remainingText; }
    QString displayText() const { return m_displayText; }
    // How long until the next tick: empty unless running, zero while ticks are owed.
    std::optional<std::chrono::nanoseconds> timeToNextTick() const
    {
        return m_ticks.timeToNextTick();
    }

    // The remaining seconds at which the alarm starts.
    void setAlarmLead(std::int32_t seconds) { m_alarmLead = seconds; }
    std::int32_t alarmLead() const { return m_alarmLead; }

    // The warning thresholds in remaining seconds (0 for off), and the digits' stage they
    // give: Normal until a countdown starts, then by the remaining seconds, changing on the
    // tick that crosses a threshold.
    void setWarnings(std::int32_t first, std::int32_t second);
    ColourStage colourStage() const { return m_stage; }

    // The display at "00:00:00" and the counters at "00", as every apply of the settings
    // leaves them.
    void resetCounters();

    // The countdown timer (on only while running) and its handler.
    QTimer *countdownTimer() const { return Timer1; }
    void Timer1Timer();

signals:
    void stateChanged(CountdownState state);
    // Any of the three counter texts changed.
    void countersChanged();
    void displayChanged(const QString &text);
    // Remaining seconds reached the alarm lead.
    void alarmDue();
    // Remaining seconds reached zero; the state is idle again.
    void finished();
    // A countdown of total seconds started (by any caller, with the saved duration or not).
    void started(std::int32_t total);
    void colourStageChanged(ColourStage stage);

private:
    class Counters;
    class Moves;

    bool begin(std::int32_t seconds);
    void setState(CountdownState state);
    void setCounter(QString &counter, const QString &text);
    void armTimer1();
    void updateColourStage();

    TickDriver m_ticks;
    QTimer *const Timer1; // countdown tick, on while running
    Hooks m_hooks;
    CountdownState m_state = CountdownState::Idle;
    QString m_totalText;
    QString m_elapsedText;
    QString m_remainingText;
    QString m_displayText;
    std::int32_t m_alarmLead = 0;
    std::int32_t m_firstWarning = 0;
    std::int32_t m_secondWarning = 0;
    // Off after an apply of the settings, until the next start.
    bool m_stageFollowsRemaining = false;
    ColourStage m_stage = ColourStage::Normal;
    const std::unique_ptr<Counters> m_counters;
    const std::unique_ptr<Moves> m_moves;
};
