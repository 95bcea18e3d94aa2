// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GdiObjects.h"

#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>

#include <optional>

// The device context as a metafile changes it: selected objects, colours and
// modes, the mapping from logical to device units, the current position and
// the clip region. Saving the context copies all of it.
struct GdiState
{
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    bool opaqueBackground = true;
    std::uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int rop2 = 13;
    bool clockwise = false;
    double miterLimit = 10;

    int mapMode = 1;
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    QTransform world;

    QPointF current;             // logical
    std::optional<QRegion> clip; // output pixels; none: the whole picture
    QPointF brushOrigin;         // output pixels
};
