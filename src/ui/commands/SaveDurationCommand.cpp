// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveDurationCommand.h"

namespace SaveDurationCommand {

bool run(const Duration &duration, const Confirm &confirm, const WriteKey &writeKey)
{
    if (!confirm())
        return false;
    using SettingsSchema::Key;
    writeKey(Key::shi, duration.hours);
    writeKey(Key::feng, duration.minutes);
    writeKey(Key::miao, duration.seconds);
    return true;
}

} // namespace SaveDurationCommand
