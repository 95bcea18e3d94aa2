// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFonts.h"

#include <QStringList>

namespace {

constexpr int panelPointSize = 8;
constexpr int displayPixelSize = 133;

// Tahoma where it is installed. A list rather than a lookup: asking the font database
// here would load it on the window's thread before the window can show.
QStringList preferredFamilies(const QString &otherwise)
{
    return {QStringLiteral("Tahoma"), otherwise};
}

} // namespace

namespace MainFonts {

QFont::HintingPreference hinting(int desktopHintStyle)
{
    // Slight hinting, the usual default of desktops and of fontconfig, runs FreeType's
    // auto-hinter. At its first glyph of a font file it sorts every character of the file by
    // script (tens of thousands in a Chinese font), once per thread that draws with the file:
    // on the window's thread, before the first paint. All slight hinting changes is to put
    // the glyphs' horizontal edges on whole pixels; unhinted, the panel looks nearly the same
    // and the large digits exactly the same. Medium and full hinting reshape the glyphs: a
    // desktop that asks for them gets them.
    constexpr int mediumHinting = 2;
    return desktopHintStyle >= mediumHinting ? QFont::PreferDefaultHinting : QFont::PreferNoHinting;
}

QFont panel(const QString &family, QFont::HintingPreference hinting)
{
    QFont font;
    font.setFamilies(preferredFamilies(family));
    font.setPointSize(panelPointSize);
    font.setHintingPreference(hinting);
    return font;
}

QFont display(QFont::HintingPreference hinting)
{
    QFont font;
    font.setFamilies(preferredFamilies(QStringLiteral("Sans Serif")));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(displayPixelSize);
    font.setHintingPreference(hinting);
    return font;
}

} // namespace MainFonts
