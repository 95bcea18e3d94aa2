// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// One command from a remote client, parsed and checked, on its way to the timer core.
struct RemoteCommand
{
    enum class Kind
    {
        Start,
        Pause,
        Resume,
        End,
        Add,
        Message,
        Mode
    };
    Kind kind = Kind::Pause;
    // Start: whether seconds holds a duration for this run (else the saved one). Add: the
    // seconds to add, negative to take away.
    bool hasSeconds = false;
    std::int32_t seconds = 0;
    // Message: the line under the digits, empty to clear it. Mode: "full", "win" or "hide".
    QString text;
};
