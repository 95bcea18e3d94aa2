// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// A transition asked of a device in a state that cannot play it.
class ETransitionEffectError : public TarvikError
{
public:
    using TarvikError::TarvikError;

    static ETransitionEffectError busy()
    {
        return ETransitionEffectError(TarvikError::tr("Transition is busy"));
    }
    static ETransitionEffectError notAssigned()
    {
        return ETransitionEffectError(TarvikError::tr("Device's transition is not assigned"));
    }
    static ETransitionEffectError deviceNotThreadSafe()
    {
        return ETransitionEffectError(TarvikError::tr("Device is not thread safe"));
    }
    static ETransitionEffectError transitionNotThreadSafe()
    {
        return ETransitionEffectError(TarvikError::tr("Transition is not thread safe"));
    }
};
