// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// A text that does not convert to the integer, colour or boolean asked for.
class EConvertError : public TarvikError
{
public:
    using TarvikError::TarvikError;

    static EConvertError invalidInteger(const QString &text)
    {
        return EConvertError(TarvikError::tr("'%1' is not a valid integer value").arg(text));
    }
    static EConvertError invalidBoolean(const QString &text)
    {
        return EConvertError(TarvikError::tr("'%1' is not a valid boolean value").arg(text));
    }
};
