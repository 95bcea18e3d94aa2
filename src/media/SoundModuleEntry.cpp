// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module's entry: the one symbol the program looks up in it.
#include "GstSoundDevice.h"
#include "SoundModule.h"

namespace {

std::unique_ptr<SoundDevice> createDevice(const QByteArray &audioSink, const QString &probeProgram)
{
    GstSoundDevice::setProbeProgram(probeProgram);
    return std::make_unique<GstSoundDevice>(audioSink);
}

constexpr SoundModule::Entry entry{&createDevice, &GstSoundDevice::runProbe};

} // namespace

extern "C" Q_DECL_EXPORT const SoundModule::Entry *tarvik_sound_module(int interfaceVersion)
{
    return interfaceVersion == SoundDevice::interfaceVersion ? &entry : nullptr;
}
