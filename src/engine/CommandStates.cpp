// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandStates.h"

namespace CommandStates {

QString stateName(CountdownState state)
{
    switch (state) {
    case CountdownState::Running:
        return QStringLiteral("running");
    case CountdownState::Paused:
        return QStringLiteral("paused");
    case CountdownState::Idle:
        break;
    }
    return QStringLiteral("idle");
}

std::array<bool, stateCommandCount> enabledFlags(CountdownState state)
{
    const bool idle = state == CountdownState::Idle;
    const bool running = state == CountdownState::Running;
    const bool paused = state == CountdownState::Paused;
    // begin, suspend, continue, end, param, full, win, hide
    return {idle, running, paused, running || paused, idle, true, true, true};
}

void applyFlags(CommandStateSink &sink, CountdownState state)
{
    const auto flags = enabledFlags(state);
    for (std::size_t i = 0; i < stateCommandCount; ++i)
        sink.setCommandEnabled(static_cast<StateCommand>(i), flags[i]);
}

void create(CommandStateSink &sink)
{
    applyFlags(sink, CountdownState::Idle);
}

void start(CommandStateSink &sink)
{
    sink.startCountdownTimer();
    applyFlags(sink, CountdownState::Running);
}

void pause(CommandStateSink &sink)
{
    sink.stopCountdownTimer();
    applyFlags(sink, CountdownState::Paused);
}

void resume(CommandStateSink &sink)
{
    sink.resumeCountdownTimer();
    applyFlags(sink, CountdownState::Running);
}

void end(CommandStateSink &sink)
{
    sink.stopCountdownTimer();
    applyFlags(sink, CountdownState::Idle);
}

void finish(CommandStateSink &sink)
{
    applyFlags(sink, CountdownState::Idle);
    sink.stopCountdownTimer();
}

} // namespace CommandStates
