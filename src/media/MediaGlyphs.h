// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MediaButtons.h"

#include <QImage>
#include <QSize>
#include <QString>

// The bar's glyph artwork: per button kind an enabled set "EN" (black symbol with light
// and dark edges), a disabled set "DI" (edges only) and a coloured set "CL", drawn on an
// olive background that the bar paints transparent.
namespace MediaGlyphs {

enum class GlyphSet
{
    EN,
    DI,
    CL
};

inline constexpr QRgb transparentColour = 0xFF808000; // olive

// "CL_MPPLAY" and so on.
QString resourceName(GlyphSet set, ButtonKind kind);

// The glyph as stored, on its olive background.
QImage bitmap(GlyphSet set, ButtonKind kind);

// The glyph with its olive background made transparent.
QImage transparentGlyph(GlyphSet set, ButtonKind kind);

// The widest glyph plus 8 by the tallest plus 4.
QSize minimumButtonSize();

} // namespace MediaGlyphs
