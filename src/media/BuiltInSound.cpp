// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the tests and benchmarks that play sounds: their devices come from the device
// linked in, not from a module file beside them.
#include "SoundDevice.h"
#include "SoundModule.h"

extern "C" const SoundModule::Entry *tarvik_sound_module(int interfaceVersion);

namespace {

[[maybe_unused]] const bool builtInSet = [] {
    SoundModule::setBuiltIn(tarvik_sound_module(SoundDevice::interfaceVersion));
    return true;
}();

} // namespace
