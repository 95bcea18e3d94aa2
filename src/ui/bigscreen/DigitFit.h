// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

// The largest display font for an area: the text, laid out as a label lays it out
// (its advance and the font's line height), must stay within a share of the area's
// width and height, so the digits keep a margin on every side. Sizes are pixel sizes,
// the finest step a screen can show; on a high-density screen they are logical pixels
// and the glyphs are rasterised at the device's own pixels.
class DigitFit
{
public:
    static constexpr double widthShare = 0.95;
    static constexpr double heightShare = 0.90;
    static constexpr int smallestPixelSize = 1;
    // Beyond this the glyph cache would need more memory than any screen can show.
    static constexpr int largestPixelSize = 2000;

    // Whether text in font at pixelSize stays within the shares of area.
    static bool fits(QFont font, int pixelSize, const QString &text, QSizeF area);

    // The largest pixel size that fits, with one pixel more not fitting (or the largest
    // size allowed); the smallest size when not even that fits. Takes a few measurements
    // from an estimate, not a search over every size.
    static int largestFittingPixelSize(const QFont &font, const QString &text, QSizeF area);
};
