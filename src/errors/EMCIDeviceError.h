// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// The sound device refused a command: the back end's error text, "Unknown error code"
// when it gave none, or "No MCI device open" for a command with nothing open.
class EMCIDeviceError : public TarvikError
{
public:
    using TarvikError::TarvikError;

    static EMCIDeviceError noDeviceOpen()
    {
        return EMCIDeviceError(TarvikError::tr("No MCI device open"));
    }
    static EMCIDeviceError fromText(const QString &errorText)
    {
        return EMCIDeviceError(errorText.isEmpty() ? TarvikError::tr("Unknown error code")
                                                   : errorText);
    }
};
