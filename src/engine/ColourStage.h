// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Which colour the digits take, by the remaining seconds: the digit colour, the first and
// second warning colours, or the colour below zero.
enum class ColourStage
{
    Normal,
    First,
    Second,
    Over,
};

namespace ColourStages {

// Below zero is Over; otherwise the tighter of the two warnings whose threshold the
// remaining seconds have reached (a threshold of 0 or less is off), else Normal.
constexpr ColourStage forRemaining(std::int32_t remaining, std::int32_t first, std::int32_t second)
{
    if (remaining < 0)
        return ColourStage::Over;
    if (second > 0 && remaining <= second)
        return ColourStage::Second;
    if (first > 0 && remaining <= first)
        return ColourStage::First;
    return ColourStage::Normal;
}

} // namespace ColourStages
