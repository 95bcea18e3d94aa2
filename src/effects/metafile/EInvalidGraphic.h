// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TarvikError.h"

// A picture file whose contents cannot be decoded; the picture keeps its previous graphic.
class EInvalidGraphic : public TarvikError
{
public:
    using TarvikError::TarvikError;

    static EInvalidGraphic invalidMetafile()
    {
        return EInvalidGraphic(TarvikError::tr("Metafile is not valid"));
    }
};
