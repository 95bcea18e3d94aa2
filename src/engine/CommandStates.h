// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <cstddef>

// The countdown's three states show only in which commands are enabled and
// whether the countdown timer runs.
enum class CountdownState
{
    Idle,
    Running,
    Paused
};

// The eight commands whose enabled flag depends on the state, in table order.
enum class StateCommand
{
    Begin,
    Suspend,
    Continue,
    End,
    Param,
    Full,
    Win,
    Hide
};
inline constexpr std::size_t stateCommandCount = 8;

// What a move changes in the window: the window implements it.
class CommandStateSink
{
public:
    virtual ~CommandStateSink() = default;
    virtual void setCommandEnabled(StateCommand command, bool enabled) = 0;
    // The countdown timer: on for a new countdown, on again after a pause, off.
    virtual void startCountdownTimer() = 0;
    virtual void resumeCountdownTimer() = 0;
    virtual void stopCountdownTimer() = 0;
};

namespace CommandStates {

std::array<bool, stateCommandCount> enabledFlags(CountdownState state);

// "idle", "running" or "paused", as the session bus and the web remote name the state.
QString stateName(CountdownState state);

// Sets all eight flags to the state's column, in table order.
void applyFlags(CommandStateSink &sink, CountdownState state);

// The moves, each with its effects in order.
void create(CommandStateSink &sink); // flags idle
void start(CommandStateSink &sink);  // timer started, then flags running
void pause(CommandStateSink &sink);  // timer off, then flags paused
void resume(CommandStateSink &sink); // timer resumed, then flags running
void end(CommandStateSink &sink);    // timer off, then flags idle
void finish(CommandStateSink &sink); // flags idle, then timer off

} // namespace CommandStates
