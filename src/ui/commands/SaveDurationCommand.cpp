#include "SaveDurationCommand.h"

#include "SettingsSchema.h"

namespace SaveDurationCommand {

bool run(const Duration &duration, const Confirm &confirm, const WriteKey &writeKey)
{
    if (!confirm())
        return false;
    using SettingsSchema::Key;
    writeKey(SettingsSchema::name(Key::shi), duration.hours);
    writeKey(SettingsSchema::name(Key::feng), duration.minutes);
    writeKey(SettingsSchema::name(Key::miao), duration.seconds);
    return true;
}

} // namespace SaveDurationCommand
