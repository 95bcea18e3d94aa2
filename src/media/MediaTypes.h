// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the sound device reports about itself, in the order the device lists them.
enum class MediaMode
{
    NotReady,
    Stopped,
    Playing,
    Recording,
    Seeking,
    Paused,
    Open
};

// Outcome of a play or resume, reported when it ends or is interrupted.
enum class NotifyValue
{
    Successful,
    Superseded,
    Aborted,
    Failure
};
