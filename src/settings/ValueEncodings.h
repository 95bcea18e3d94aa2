// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <span>

// The text forms of colours and booleans in the settings file.
namespace ValueEncodings {

struct ColourEntry
{
    QLatin1StringView identifier;
    std::int32_t value;
};

// The 52 named colours in their fixed order (also the order of the colour pickers): the
// standard colours, the extended colours, then the system range with clDefault and clNone.
std::span<const ColourEntry> colourTable();

// The identifier of the first row holding value, else "$" and eight upper-case hex digits.
QString colorToText(std::int32_t value);

// An identifier (letters compared without regard to case, nothing trimmed), else the strict
// integer from text. Throws EConvertError("'%s' is not a valid integer value").
std::int32_t textToColor(const QString &text);

// "-1" for true, "0" for false.
QString boolToText(bool value);

// A decimal number (with the locale's decimal separator) is true when not zero; otherwise
// the words True and False in any letter case, nothing trimmed.
// Throws EConvertError("'%s' is not a valid boolean value").
bool textToBool(const QString &text);

} // namespace ValueEncodings
