// SPDX-License-Identifier: GPL-3.0-or-later
#include "StageSettings.h"

#include "EConvertError.h"
#include "EndTime.h"
#include "SettingsSchema.h"

using SettingsSchema::Key;

StageSettings StageSettings::read(const QString &file)
{
    StageSettings s;
    s.warn1 = SettingsSchema::readInteger(file, Key::warn1);
    s.warn2 = SettingsSchema::readInteger(file, Key::warn2);
    s.warn1Colour = SettingsSchema::readColour(file, Key::warn1color);
    s.warn2Colour = SettingsSchema::readColour(file, Key::warn2color);
    s.overColour = SettingsSchema::readColour(file, Key::overcolor);
    s.overFlash = SettingsSchema::readBoolean(file, Key::overflash);
    s.endMode = SettingsSchema::readBoolean(file, Key::endmode);
    const QString endText = SettingsSchema::read(file, Key::endtime);
    s.endTime = EndTime::fromText(endText);
    // Only a start in the end mode needs it.
    if (s.endMode && !s.endTime.isValid())
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(endText));
    s.showEnd = SettingsSchema::readBoolean(file, Key::showend);
    s.keepAwake = SettingsSchema::readBoolean(file, Key::keepawake);
    s.alarmLoop = SettingsSchema::readBoolean(file, Key::alarmloop);
    return s;
}
