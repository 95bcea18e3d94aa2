// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// A corner picture file that cannot be read; the control keeps its previous picture.
class EPictureError : public TarvikError
{
public:
    using TarvikError::TarvikError;
};
