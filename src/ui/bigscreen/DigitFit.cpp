// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigitFit.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

// Measured once per call to estimate the answer; glyph metrics grow almost in
// proportion to the size, hinting aside.
constexpr int referencePixelSize = 100;

QSizeF textSize(QFont font, int pixelSize, const QString &text)
{
    font.setPixelSize(pixelSize);
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

} // namespace

bool DigitFit::fits(QFont font, int pixelSize, const QString &text, QSizeF area)
{
    const QSizeF size = textSize(std::move(font), pixelSize, text);
    return size.width() <= area.width() * widthShare && size.height() <= area.height() * heightShare;
}

int DigitFit::largestFittingPixelSize(const QFont &font, const QString &text, QSizeF area)
{
    if (area.width() <= 0 || area.height() <= 0)
        return smallestPixelSize;
    const QSizeF reference = textSize(font, referencePixelSize, text);
    double scale = area.height() * heightShare / std::max(reference.height(), 1.0);
    if (reference.width() > 0)
        scale = std::min(scale, area.width() * widthShare / reference.width());
    int size = std::clamp(int(std::floor(referencePixelSize * scale)), smallestPixelSize,
                          largestPixelSize);
    while (size > smallestPixelSize && !fits(font, size, text, area))
        --size;
    while (size < largestPixelSize && fits(font, size + 1, text, area))
        ++size;
    return size;
}
