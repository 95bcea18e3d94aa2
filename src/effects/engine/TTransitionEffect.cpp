// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTransitionEffect.h"

#include "TTETransitionData.h"

void TTransitionEffect::setDirection(TTEEffectDirection direction)
{
    if (directionAllowed(allowedDirections(), direction))
        m_direction = direction;
}

TTEEffectDirection TTransitionEffect::reversedDirection(TTEEffectDirection direction) const
{
    return ::reversedDirection(direction);
}

void TTransitionEffect::Finalize(TTETransitionData &data)
{
    data.effectData.reset();
}
