// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include <cstdint>

// Draws a stored colour value: plain colours keep their red, green and blue
// bytes; system colours (FF000000 + index) take the desktop's current palette colour.
namespace SystemColors {

constexpr std::uint32_t systemColourFlag = 0xFF000000u;

constexpr bool isSystemColour(std::int32_t colour)
{
    return (std::uint32_t(colour) & 0xFF000000u) == systemColourFlag;
}

QColor toQColor(std::int32_t colour);

} // namespace SystemColors
