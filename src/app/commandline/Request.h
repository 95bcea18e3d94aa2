// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

#include <cstdint>
#include <optional>

// The three display modes, named as the bus interface and the command line name them.
enum class DisplayMode
{
    FullScreen,
    Window,
    Hidden
};

namespace DisplayModeNames {
QString name(DisplayMode mode); // "full-screen", "window", "hidden"
std::optional<DisplayMode> fromName(const QString &name);
} // namespace DisplayModeNames

// What one launch asks of the timer: at most one countdown command, a display mode and a
// monitor. The running program gets it as calls of its bus interface; the first instance
// makes the same calls on itself.
struct Request
{
    enum class Command
    {
        None,
        Start,      // seconds, 0 for the saved duration
        StartUntil, // until
        Pause,
        Resume,
        End,
        Status,
        RemoteUrl, // prints the web remote's links
        Quit
    };

    // A method of the bus interface with its arguments.
    struct Call
    {
        QString method;
        QVariantList arguments;
        bool operator==(const Call &) const = default;
    };

    Command command = Command::None;
    std::int32_t seconds = 0;
    QTime until;
    std::optional<DisplayMode> display;
    std::optional<std::int32_t> monitor;
    // The web remote on for this run.
    bool remote = false;

    // A launch without options brings the running window forward.
    bool isEmpty() const { return command == Command::None && !display && !monitor && !remote; }
    // Commands that only steer a program that runs already.
    bool needsRunningProgram() const;
    // The calls in the order they are made: the countdown command first, so that a refused
    // one leaves the display as it was; a monitor alone means full screen on it. Status is
    // read from the properties and the links by RemoteLinks, after the calls; an empty
    // request presents the window.
    QList<Call> calls() const;
};
