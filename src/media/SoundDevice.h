// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MediaTypes.h"

#include <QString>

#include <chrono>
#include <functional>

// One sound file and the platform that plays it: what the alarm player asks of it. The
// GStreamer device (GstSoundDevice) lives in the sound module and is made through
// SoundModule; nothing here needs GStreamer. Commands return whether the device accepted them
// and never throw; times are milliseconds. Everything runs on the thread that made the device.
class SoundDevice
{
public:
    // Raised with every change to this interface: a module built for another one is refused.
    static constexpr int interfaceVersion = 1;
    // Longest time open waits for a file to become ready to play.
    static constexpr std::chrono::milliseconds openTimeout{5000};
    // The program run as PROGRAM probeOption FILE checks a sound file for the device (see
    // GstSoundDevice::setProbeProgram).
    static constexpr const char *probeOption = "--sound-probe";

    SoundDevice() = default;
    virtual ~SoundDevice() = default;
    SoundDevice(const SoundDevice &) = delete;
    SoundDevice &operator=(const SoundDevice &) = delete;

    // Opens the file, choosing the decoder from its contents, and waits until it is ready
    // to play, stopped at its beginning. On failure nothing stays open and errorText gets
    // the reason (empty when there was none).
    virtual bool open(const QString &path, QString *errorText) = 0;
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;
    // Open on path, whose file has not changed since it was opened: opening it again
    // would find what the device already knows.
    virtual bool holdsUnchanged(const QString &path) const = 0;

    // Starts playing from the current position and returns at once.
    virtual bool play() = 0;
    virtual bool pause() = 0;
    // Continues a paused sound; fails when the sound is not paused.
    virtual bool resume() = 0;
    // Stops where the sound is; a later play continues from there.
    virtual bool stop() = 0;
    virtual bool seekToStart() = 0;

    // 0 while the length is not known yet.
    virtual qint64 length() = 0;
    virtual qint64 position() = 0;
    virtual MediaMode mode() = 0;

    // Called on another thread when a play has ended; it must get processBus() run on the
    // device's thread.
    virtual void setBusWake(std::function<void()> wake) = 0;
    // Takes the messages that end a play.
    virtual void processBus() = 0;
    // Called on the device's thread whenever a play or resume ended: at the end of the
    // sound, by a newer command, or by an error.
    virtual void setNotify(std::function<void(NotifyValue)> notify) = 0;

    // A sound that does not play needs no threads, decoder or audio output: rest() lets them
    // go and the next play or resume prepares them again. canRest(): open, nothing playing,
    // not resting yet.
    virtual bool canRest() const = 0;
    virtual void rest() = 0;
    virtual bool isResting() const = 0;
};
