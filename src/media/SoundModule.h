// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class SoundDevice;

// Finds and loads the sound module, which holds the GStreamer device: a start maps none of
// GStreamer's libraries, and the sound's own thread loads them when it makes its first device.
namespace SoundModule {

// What the module exports, for SoundDevice::interfaceVersion.
struct Entry
{
    // audioSink: a GStreamer launch description of the sink to play into (tests pass
    // "fakesink sync=true"); empty for the desktop's default audio output. probeProgram: see
    // GstSoundDevice::setProbeProgram.
    std::unique_ptr<SoundDevice> (*createDevice)(const QByteArray &audioSink,
                                                 const QString &probeProgram);
    // The probe's side of a sound file's check, in a process of its own.
    int (*runProbe)(const QString &path);
};
// The module's one exported function: its entry, or null when it was built for another
// interfaceVersion.
using EntryFunction = const Entry *(*)(int interfaceVersion);
inline constexpr char entryName[] = "tarvik_sound_module";

struct Loaded
{
    const Entry *entry = nullptr;
    QString error; // why not, when entry is null
};

// The module at the first of paths that exists: its entry, or why it cannot give it.
Loaded load(const QStringList &paths);

// The program that checks sound files for the devices made later (see
// GstSoundDevice::setProbeProgram); set before the first device.
void setProbeProgram(const QString &program);
// A device from the installation's module, loaded at the first call and kept. Any thread.
// Without the module, a device whose every open fails with the reason.
std::unique_ptr<SoundDevice> createDevice(const QByteArray &audioSink);
// The probe, run by the program as PROGRAM SoundDevice::probeOption FILE.
int runProbe(const QString &path);

// For programs that link the device in (the tests): used instead of any module file.
void setBuiltIn(const Entry *entry);

} // namespace SoundModule
