// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTime>

#include <cstdint>

// The settings of the warning colours, the end time and the screen, read together at every
// apply of the settings.
struct StageSettings
{
    // The colour value that stands for the digit colour below zero.
    static constexpr std::int32_t clDefault = 0x20000000;

    std::int32_t warn1 = 0;
    std::int32_t warn2 = 0;
    std::int32_t warn1Colour = 0;
    std::int32_t warn2Colour = 0;
    // clDefault: the digit colour.
    std::int32_t overColour = 0;
    bool overFlash = false;
    bool endMode = false;
    QTime endTime;
    bool showEnd = false;
    bool keepAwake = true;
    bool alarmLoop = false;

    // Throws EConvertError for a colour or boolean that does not convert, and for an end
    // time that is not HH:MM while the end mode is on.
    static StageSettings read(const QString &file);
};
