// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// A write to the settings file that could not be completed.
class EIniFileException : public TarvikError
{
public:
    using TarvikError::TarvikError;

    static EIniFileException unableToWrite(const QString &path)
    {
        return EIniFileException(TarvikError::tr("Unable to write to %1").arg(path));
    }
};
