// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Direction of a transition effect. The numbering is fixed: allowed-direction sets are bit
// masks over it and the random choice draws from 0..tedRandom.
enum TTEEffectDirection : std::uint8_t
{
    tedNone,
    tedRight,
    tedLeft,
    tedDown,
    tedUp,
    tedDownRight,
    tedDownLeft,
    tedUpRight,
    tedUpLeft,
    tedIn,
    tedOut,
    tedRandom
};

using TTEEffectDirections = std::uint16_t;

constexpr TTEEffectDirections directionBit(TTEEffectDirection direction)
{
    return TTEEffectDirections(1u << direction);
}

constexpr bool directionAllowed(TTEEffectDirections allowed, TTEEffectDirection direction)
{
    return direction <= tedRandom && (allowed & directionBit(direction)) != 0;
}

constexpr TTEEffectDirection reversedDirection(TTEEffectDirection direction)
{
    switch (direction) {
    case tedRight:
        return tedLeft;
    case tedLeft:
        return tedRight;
    case tedDown:
        return tedUp;
    case tedUp:
        return tedDown;
    case tedDownRight:
        return tedUpLeft;
    case tedUpLeft:
        return tedDownRight;
    case tedDownLeft:
        return tedUpRight;
    case tedUpRight:
        return tedDownLeft;
    case tedIn:
        return tedOut;
    case tedOut:
        return tedIn;
    default:
        return direction;
    }
}
